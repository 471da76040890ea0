#include "Glyphs.h"

#include "Toolkit.h"

#include <QPainter>

#include <cmath>

namespace {

QPixmap Blank() {
    QPixmap Glyph(16, 16);
    Glyph.fill(Qt::transparent);
    return Glyph;
}

} // namespace

QPixmap SunGlyph() {
    QPixmap Glyph = Blank();
    QPainter Painter(&Glyph);
    Painter.setPen(QPen(QColor(224, 128, 0), 1));
    for (int Ray = 0; Ray < 8; ++Ray) {
        const double Angle = Ray * M_PI / 4;
        const double Dx = std::cos(Angle), Dy = std::sin(Angle);
        Painter.drawLine(QPointF(7.5 + 5 * Dx, 7.5 + 5 * Dy), QPointF(7.5 + 7 * Dx, 7.5 + 7 * Dy));
    }
    Painter.setBrush(QColor(255, 224, 0));
    Painter.drawEllipse(QRectF(4, 4, 7, 7));
    return Glyph;
}

QPixmap OpenGlyph() {
    QPixmap Glyph = Blank();
    QPainter Painter(&Glyph);
    Painter.setPen(QColor(128, 96, 0));
    Painter.setBrush(QColor(232, 196, 96));
    Painter.drawPolygon(QPolygon({{1, 3}, {6, 3}, {7, 5}, {14, 5}, {14, 13}, {1, 13}}));
    Painter.setBrush(QColor(255, 224, 128));
    Painter.drawPolygon(QPolygon({{3, 7}, {15, 7}, {13, 13}, {1, 13}}));
    return Glyph;
}

QPixmap SaveGlyph() {
    QPixmap Glyph = Blank();
    QPainter Painter(&Glyph);
    Painter.setPen(QColor(0, 0, 96));
    Painter.setBrush(QColor(48, 80, 176));
    Painter.drawRect(1, 1, 13, 13);
    Painter.setBrush(Qt::white);
    Painter.drawRect(4, 1, 7, 5);
    Painter.setBrush(QColor(200, 200, 200));
    Painter.drawRect(3, 9, 9, 5);
    return Glyph;
}

QPixmap LastGlyph() {
    QPixmap Glyph = Blank();
    QPainter Painter(&Glyph);
    Painter.setRenderHint(QPainter::Antialiasing);
    Painter.setPen(QPen(QColor(0, 112, 48), 2));
    Painter.drawArc(QRectF(3, 3, 10, 10), 90 * 16, 270 * 16);
    Painter.setBrush(QColor(0, 112, 48));
    Painter.setPen(Qt::NoPen);
    Painter.drawPolygon(QPolygonF({{8, 0.5}, {12.5, 3}, {8, 5.5}}));
    return Glyph;
}

TSpeedButton* MakeFlatButton(QWidget* Parent, int Left, const QPixmap& Glyph, const QString& Hint,
                             const QKeySequence& Key) {
    auto* Button = new TSpeedButton(Parent);
    SetBounds(Button, Left, 4, 25, 25);
    Button->SetGlyph(Glyph, GreyedGlyph(Glyph));
    Button->SetHint(Hint);
    Button->SetShortcutKey(Key);
    return Button;
}
