#include "ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>

QImage ProgramIconImage(int Size) {
    QImage Image(Size, Size, QImage::Format_ARGB32_Premultiplied);
    Image.fill(Qt::transparent);
    QPainter Painter(&Image);
    // The design is laid out on a 32 x 32 grid; at 32 pixels it stays crisp and within the
    // palette, larger renderings may smooth their edges.
    Painter.setRenderHint(QPainter::Antialiasing, Size > 32);
    Painter.scale(Size / 32.0, Size / 32.0);

    const QColor Navy(0, 0, 128);
    const QColor Blue(0, 0, 255);
    const QColor White(255, 255, 255);
    const QColor Yellow(255, 255, 0);
    const QColor Olive(128, 128, 0);
    const QColor Red(255, 0, 0);
    const QColor Maroon(128, 0, 0);
    const QColor Silver(192, 192, 192);

    Painter.setPen(QPen(Navy, 1));
    Painter.setBrush(Blue);
    Painter.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 5, 5);

    // Every supply ships to every demand: the routes of the problem.
    const QPointF Supplies[] = {{7, 7}, {7, 16}, {7, 25}};
    const QPointF Demands[] = {{25, 11}, {25, 21}};
    Painter.setPen(QPen(Silver, 1.5));
    for (const QPointF& From : Supplies)
        for (const QPointF& To : Demands)
            Painter.drawLine(From, To);
    // The shipments of one plan stand out in white.
    Painter.setPen(QPen(White, 2));
    Painter.drawLine(Supplies[0], Demands[0]);
    Painter.drawLine(Supplies[1], Demands[0]);
    Painter.drawLine(Supplies[1], Demands[1]);
    Painter.drawLine(Supplies[2], Demands[1]);

    Painter.setPen(QPen(Olive, 1));
    Painter.setBrush(Yellow);
    for (const QPointF& At : Supplies)
        Painter.drawEllipse(At, 3.5, 3.5);
    Painter.setPen(QPen(Maroon, 1));
    Painter.setBrush(Red);
    for (const QPointF& At : Demands)
        Painter.drawRect(QRectF(At.x() - 4, At.y() - 4, 8, 8));
    return Image;
}
