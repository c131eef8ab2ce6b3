#include "screen.h"

#include <QColor>

#include <algorithm>
#include <cstdlib>

namespace e2e {
namespace {

uint32_t Rgb(QRgb pixel) {
    return pixel & 0xFFFFFFu;
}

bool LineIs(const QImage &image, int y, uint32_t colour) {
    for (int x = 0; x < image.width(); ++x)
        if (Rgb(image.pixel(x, y)) != colour)
            return false;
    return true;
}

bool ColumnIs(const QImage &image, int x, const Band &band, uint32_t colour) {
    for (int y = band.top; y < band.bottom; ++y)
        if (Rgb(image.pixel(x, y)) != colour)
            return false;
    return true;
}

bool Saturated(QRgb pixel) {
    const int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
    return std::max({r, g, b}) - std::min({r, g, b}) >= 60;
}

// The longest run of one saturated colour on line y: [begin, end) and colour.
QRect LongestRun(const QImage &image, int y, uint32_t *colour) {
    QRect best;
    for (int x = 0; x < image.width();) {
        const QRgb pixel = image.pixel(x, y);
        int end = x + 1;
        while (end < image.width() && image.pixel(end, y) == pixel)
            ++end;
        if (Saturated(pixel) && end - x > best.width()) {
            best = QRect(x, y, end - x, 1);
            *colour = Rgb(pixel);
        }
        x = end;
    }
    return best;
}

int WhiteInColumn(const QImage &image, int x, const Band &band) {
    int white = 0;
    for (int y = band.top; y < band.bottom; ++y)
        white += Rgb(image.pixel(x, y)) == 0xFFFFFFu;
    return white;
}

// The lines of `columns` that hold white: the inside of a box.
QRect WhiteBounds(const QImage &image, const QRect &columns) {
    int top = columns.bottom() + 1, bottom = columns.top() - 1;
    for (int y = columns.top(); y <= columns.bottom(); ++y)
        for (int x = columns.left(); x <= columns.right(); ++x)
            if (Rgb(image.pixel(x, y)) == 0xFFFFFFu) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return QRect(QPoint(columns.left(), top), QPoint(columns.right(), bottom));
}

} // namespace

std::vector<Band> RowBands(const QImage &image) {
    std::vector<Band> bands;
    if (image.isNull())
        return bands;
    const uint32_t background = Rgb(image.pixel(0, 0));
    for (int y = 0; y < image.height();) {
        if (LineIs(image, y, background)) {
            ++y;
            continue;
        }
        Band band{y, y};
        while (band.bottom < image.height() && !LineIs(image, band.bottom, background))
            ++band.bottom;
        bands.push_back(band);
        y = band.bottom;
    }
    return bands;
}

std::vector<QRect> Pieces(const QImage &image, const Band &band, int join) {
    std::vector<QRect> pieces;
    const uint32_t background = Rgb(image.pixel(0, 0));
    for (int x = 0; x < image.width(); ++x) {
        if (ColumnIs(image, x, band, background))
            continue;
        if (!pieces.empty() && x - pieces.back().right() <= join)
            pieces.back().setRight(x);
        else
            pieces.push_back(QRect(x, band.top, 1, band.height()));
    }
    return pieces;
}

std::optional<Highlight> FindHighlight(const QImage &image) {
    for (int y = 0; y < image.height(); ++y) {
        uint32_t colour = 0;
        const QRect run = LongestRun(image, y, &colour);
        if (run.width() < image.width() / 3)
            continue;
        Highlight highlight{run, colour};
        // A focused entry may be drawn with a gradient: any saturated line goes on.
        while (highlight.area.bottom() + 1 < image.height() &&
               Saturated(image.pixel(run.center().x(), highlight.area.bottom() + 1)))
            highlight.area.setBottom(highlight.area.bottom() + 1);
        return highlight;
    }
    return std::nullopt;
}

std::vector<QRect> CheckBoxes(const QImage &image, const Band &band) {
    std::vector<QRect> boxes;
    for (int x = 0; x < image.width(); ++x) {
        if (WhiteInColumn(image, x, band) < 3)
            continue;
        // A tick may cut a column short; a gap of two columns joins.
        if (!boxes.empty() && x - boxes.back().right() <= 3)
            boxes.back().setRight(x);
        else
            boxes.push_back(QRect(x, band.top, 1, band.height()));
    }
    for (QRect &box : boxes)
        box = WhiteBounds(image, box);
    std::erase_if(boxes, [](const QRect &box) {
        return box.width() < 7 || box.width() > 24 || std::abs(box.width() - box.height()) > 3;
    });
    return boxes;
}

bool IsTicked(const QImage &image, const QRect &box) {
    int dark = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 96;
    return dark >= 4;
}

long CountColour(const QImage &image, uint32_t colour) {
    long count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += Rgb(image.pixel(x, y)) == colour;
    return count;
}

} // namespace e2e
