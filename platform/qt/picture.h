#pragma once
// Pictures for the picture class: any format Qt's image readers know (PNG,
// JPEG, ...). A missing or unreadable file gives a null pixmap.
#include <QPixmap>

namespace platform::qt {

// `name` is an Amiga path ("PROGDIR:images/x.png") or a host path.
QPixmap LoadPicture(const char *name);

} // namespace platform::qt
