// The program's flat buttons: their glyphs, 16 x 16, drawn in code, and the button made.
#pragma once

#include <QPixmap>

class QKeySequence;
class QString;
class QWidget;
class TSpeedButton;

// A flat 25 x 25 button at (Left, 4) of Parent: the glyph (greyed when disabled), the hint, and
// the shortcut that presses it.
TSpeedButton* MakeFlatButton(QWidget* Parent, int Left, const QPixmap& Glyph, const QString& Hint,
                             const QKeySequence& Key);

// A yellow sun with rays: the random fill.
QPixmap SunGlyph();
// An open folder: a problem file opened.
QPixmap OpenGlyph();
// A disk: saved to a file.
QPixmap SaveGlyph();
// An arrow turning back: the problem of the last calculation.
QPixmap LastGlyph();
