// The glyphs of the program's flat buttons, 16 x 16, drawn in code.
#pragma once

#include <QPixmap>

// A yellow sun with rays: the random fill.
QPixmap SunGlyph();
// An open folder: a problem file opened.
QPixmap OpenGlyph();
// A disk: saved to a file.
QPixmap SaveGlyph();
// An arrow turning back: the problem of the last calculation.
QPixmap LastGlyph();
