// Keys as a user presses them, written as one string that follows the focus: each word is either
// a named key, clicked ("Right", "Tab", "Enter", "Escape", "Ctrl+Home", "Alt+S", "Ctrl+Z"), or
// text, typed ("30", "2.5", "x"); a word in single quotes is typed as it stands, blanks and all
// ("'Right'", "'1 000'"). Every key goes to the widget that has the focus when it is pressed, as
// a real keyboard's do.
//
//     Press("30 Right 20 Tab 10 Right 25");
#pragma once

#include <QString>

// Presses the keys; false, with the rest left unpressed, when no widget has the focus for one or
// a key's name is unknown.
bool Press(const QString& Keys);
