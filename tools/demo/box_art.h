#pragma once
// Box-art pictures of our own: a title on a plain design.
#include <QImage>
#include <QString>

#include <cstdint>

namespace demo {

constexpr int kBoxArtWidth = 220;
constexpr int kBoxArtHeight = 140;

// A picture mostly filled with `colour` (0xRRGGBB), a darker frame inset
// from the edge, the title in the middle and a small caption at the foot.
QImage DrawBoxArt(const QString &title, uint32_t colour, const QString &caption);

} // namespace demo
