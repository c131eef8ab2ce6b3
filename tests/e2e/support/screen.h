#pragma once
// Reading a window's screenshot the way a user's eye would: where the rows
// of gadgets are, which list entry is highlighted, where the check boxes are
// and whether they are ticked, how much of a colour is on show.
#include <QImage>
#include <QRect>

#include <cstdint>
#include <optional>
#include <vector>

namespace e2e {

// A horizontal stripe of the window, lines [top, bottom).
struct Band {
    int top = 0, bottom = 0;
    int height() const { return bottom - top; }
};

// The rows of a window, separated by lines of the window's background
// colour (its top-left pixel) only.
std::vector<Band> RowBands(const QImage &image);

// The pieces of a band, left to right, separated by background columns;
// pieces closer than `join` columns count as one.
std::vector<QRect> Pieces(const QImage &image, const Band &band, int join = 1);

// The first stretch of lines that holds a saturated colour across at least
// a third of the width: a highlighted list entry.
struct Highlight {
    QRect area;
    uint32_t colour = 0; // 0xRRGGBB, of its first line
};
std::optional<Highlight> FindHighlight(const QImage &image);

// Check boxes inside a band: near-square patches of pure white.
std::vector<QRect> CheckBoxes(const QImage &image, const Band &band);
// A ticked box shows dark pixels inside the white.
bool IsTicked(const QImage &image, const QRect &box);

// The number of pixels of exactly this colour (0xRRGGBB).
long CountColour(const QImage &image, uint32_t colour);

} // namespace e2e
