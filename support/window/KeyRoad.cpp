#include "KeyRoad.h"

#include <QApplication>
#include <QKeySequence>
#include <QRegularExpression>
#include <QTest>

#include <utility>

namespace {

const QStringList Names = {"Left",      "Right",  "Up",     "Down",  "Tab", "Backtab", "Enter",
                           "Return",    "Escape", "Esc",    "Home",  "End", "PageUp",  "PageDown",
                           "Backspace", "Delete", "Insert", "Space", "F1",  "F2"};

// Whether a word names a key rather than text to type.
bool Named(const QString& Word) {
    static const QRegularExpression Modified("^(Ctrl|Alt|Shift|Meta)\\+.");
    return Names.contains(Word) || Modified.match(Word).hasMatch();
}

// The key a word names, with its modifiers; false when Qt knows no such key.
bool ParseKey(QString Word, QKeyCombination& Key) {
    // Qt's own names of these keys.
    for (auto [Ours, Qts] : {std::pair{"PageDown", "PgDown"}, std::pair{"PageUp", "PgUp"},
                             std::pair{"Delete", "Del"}, std::pair{"Insert", "Ins"}})
        if (Word == Ours || Word.endsWith(QString("+") + Ours))
            Word = Word.chopped(QString(Ours).size()) + Qts;
    const QKeySequence Sequence = QKeySequence::fromString(Word, QKeySequence::PortableText);
    if (Sequence.count() != 1 || Sequence[0].key() == Qt::Key_unknown)
        return false;
    Key = Sequence[0];
    return true;
}

// The text a keyboard sends with the key, as the widgets that read it (Enter in an edit) expect.
QString KeyText(QKeyCombination Key) {
    if (Key.keyboardModifiers() & ~Qt::ShiftModifier)
        return {};
    switch (Key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return "\r";
    case Qt::Key_Tab:
        return "\t";
    case Qt::Key_Backspace:
        return "\b";
    case Qt::Key_Escape:
        return "\x1b";
    case Qt::Key_Delete:
        return "\x7f";
    case Qt::Key_Space:
        return " ";
    default:
        return {};
    }
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
        if (Next.hasCaptured(1) || !Named(Next.captured(2)))
            QTest::keyClicks(Focus, Next.captured(Next.hasCaptured(1) ? 1 : 2));
        else if (ParseKey(Next.captured(2), Key))
            QTest::sendKeyEvent(QTest::Click, Focus, Key.key(), KeyText(Key),
                                Key.keyboardModifiers());
        else
            return false;
    }
    return true;
}
