#include "KeyRoad.h"

#include <QApplication>
#include <QKeySequence>
#include <QRegularExpression>
#include <QTest>

namespace {

const QStringList Names = {"Left",      "Right",  "Up",     "Down",  "Tab", "Backtab", "Enter",
                           "Return",    "Escape", "Esc",    "Home",  "End", "PageUp",  "PageDown",
                           "Backspace", "Delete", "Insert", "Space", "F1",  "F2"};

// The key a word names, with its modifiers; none for a word that is text.
bool NamedKey(const QString& Word, QKeyCombination& Key) {
    const bool Modified = QRegularExpression("^(Ctrl|Alt|Shift|Meta)\\+.").match(Word).hasMatch();
    if (!Modified && !Names.contains(Word))
        return false;
    const QKeySequence Sequence = QKeySequence::fromString(Word, QKeySequence::PortableText);
    if (Sequence.count() != 1)
        return false;
    Key = Sequence[0];
    return true;
}

} // namespace

bool Press(const QString& Keys) {
    static const QRegularExpression Word("'([^']*)'|(\\S+)");
    for (auto Match = Word.globalMatch(Keys); Match.hasNext();) {
        const QRegularExpressionMatch Next = Match.next();
        // The guard of a minute only ends a wait that never would.
        if (!QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }, 60000))
            return false;
        QWidget* Focus = QApplication::focusWidget();
        QKeyCombination Key;
        if (Next.hasCaptured(1))
            QTest::keyClicks(Focus, Next.captured(1));
        else if (NamedKey(Next.captured(2), Key))
            QTest::keyClick(Focus, Key.key(), Key.keyboardModifiers());
        else
            QTest::keyClicks(Focus, Next.captured(2));
    }
    return true;
}
