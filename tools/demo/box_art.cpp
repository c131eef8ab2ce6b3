#include "box_art.h"

#include <QFont>
#include <QPainter>

namespace demo {

QImage DrawBoxArt(const QString &title, uint32_t colour, const QString &caption) {
    const QColor fill = QColor::fromRgb(colour);
    QImage image(kBoxArtWidth, kBoxArtHeight, QImage::Format_RGB32);
    image.fill(fill);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(fill.darker(150), 4));
    painter.drawRect(QRectF(8, 8, kBoxArtWidth - 16, kBoxArtHeight - 16));

    // Light text on dark colours, dark text on light ones.
    const QColor ink = fill.lightness() < 140 ? QColor(Qt::white) : QColor(20, 20, 20);
    painter.setPen(ink);
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(17);
    painter.setFont(font);
    const QRect titleBox(18, 18, kBoxArtWidth - 36, kBoxArtHeight - 52);
    painter.drawText(titleBox, Qt::AlignCenter | Qt::TextWordWrap, title);

    font.setBold(false);
    font.setPixelSize(10);
    painter.setFont(font);
    painter.drawText(QRect(18, kBoxArtHeight - 32, kBoxArtWidth - 36, 14), Qt::AlignCenter,
                     caption);
    painter.end();
    return image;
}

} // namespace demo
