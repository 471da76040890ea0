// The faces the program's windows are laid out in.
#pragma once

// Installs them, once, before any window is built: "MS Sans Serif" (every form's face, 11 px)
// and "System" from the bitmap fonts of Debian's fonts-wine; "Arial" as its metric twin
// Liberation Sans. The bitmap faces hold strikes for 96 dpi alone, and Qt draws a bitmap strike
// at its own size in device pixels: on a denser screen the text would come out too small, its
// letters spread to the scaled advances. There they give way to Liberation Sans too, which keeps
// their widths within a few percent and scales cleanly.
void InstallProgramFaces();
