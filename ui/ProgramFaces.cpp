#include "ProgramFaces.h"

#include "Toolkit.h"

void InstallProgramFaces() {
    static const bool Installed = [] {
        TFaces Faces;
        // Not registered with fontconfig (Debian keeps bitmap fonts out of it), so loaded here.
        Faces.Files = {"/usr/share/wine/fonts/ms_sans_serif.ttf",
                       "/usr/share/wine/fonts/system.ttf"};
        Faces.FormFace = "MS Sans Serif";
        Faces.FormPixelHeight = 11;
        Faces.Substitutes = {{"Arial", "Liberation Sans", false},
                             {"MS Sans Serif", "Liberation Sans", true},
                             {"System", "Liberation Sans", true}};
        InstallFaces(Faces);
        return true;
    }();
    (void)Installed;
}
