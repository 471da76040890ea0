// Kelvor's program icon, drawn in code so that the window icon, the about dialog and the
// installed icon files all come from one drawing.
#pragma once

#include <QImage>

// The icon at Size x Size pixels: three supplies on the left shipping to two demands on the
// right over a blue tile. The drawing keeps to a 16-colour palette at 32 pixels; larger sizes
// are smoothed.
QImage ProgramIconImage(int Size);
