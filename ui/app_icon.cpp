#include "ui/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace slabrating::ui {

namespace {

// Paints the icon in a 64 x 64 design square, scaled to `size` pixels.
QPixmap paintIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2f, 0x5d, 0x8c));
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);

    painter.setPen(QPen(QColor(0x44, 0x44, 0x44), 1));
    painter.setBrush(QColor(0xb8, 0xb8, 0xb0));
    painter.drawRect(QRectF(14, 38, 6, 18));
    painter.drawRect(QRectF(44, 38, 6, 18));
    painter.setBrush(QColor(0xdd, 0xdd, 0xd6));
    painter.drawRect(QRectF(6, 30, 52, 8));

    painter.setPen(QPen(QColor(0x8a, 0x3b, 0x12), 1.5, Qt::DashLine));
    painter.drawLine(QPointF(8, 35.5), QPointF(56, 35.5));

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xf2, 0x9b, 0x1d));
    painter.drawRect(QRectF(29, 7, 6, 13));
    QPainterPath head;
    head.moveTo(23, 19);
    head.lineTo(41, 19);
    head.lineTo(32, 28);
    head.closeSubpath();
    painter.drawPath(head);
    return pixmap;
}

}  // namespace

QIcon appIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(paintIcon(size));
    }
    return icon;
}

}  // namespace slabrating::ui
