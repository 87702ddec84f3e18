#include "AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace {

QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // The panel's bezel and screen.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x26, 0x2b, 0x33));
    painter.drawRoundedRect(QRectF(0.03 * s, 0.12 * s, 0.94 * s, 0.76 * s), 0.1 * s, 0.1 * s);
    painter.setBrush(QColor(0x10, 0x1a, 0x2a));
    const QRectF screen(0.1 * s, 0.19 * s, 0.8 * s, 0.62 * s);
    painter.drawRect(screen);
    // A 3 × 2 mosaic of buttons on the screen.
    const QColor tiles[] = {QColor(0x2f, 0x7d, 0xe1), QColor(0x3c, 0xb0, 0x4a), QColor(0xe8, 0xa3, 0x1c),
                            QColor(0xd8, 0x43, 0x3b), QColor(0x8a, 0x5c, 0xd6), QColor(0x2a, 0xb5, 0xb0)};
    const qreal gap = 0.04 * s;
    const qreal w = (screen.width() - 4 * gap) / 3;
    const qreal h = (screen.height() - 3 * gap) / 2;
    for (int i = 0; i < 6; ++i) {
        const QRectF tile(screen.left() + gap + (i % 3) * (w + gap), screen.top() + gap + (i / 3) * (h + gap), w, h);
        painter.setBrush(tiles[i]);
        painter.drawRoundedRect(tile, 0.04 * s, 0.04 * s);
    }
    return pixmap;
}

} // namespace

QIcon MakeAppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(drawIcon(size));
    return icon;
}
