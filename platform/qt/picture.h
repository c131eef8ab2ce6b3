#pragma once
// Pictures decoded with Qt's image readers, for the data types' picture
// objects and for the picture class's view: any format Qt reads (PNG, JPEG,
// ...), only from a regular file, and only when it decodes whole.
#include <QPixmap>

namespace platform::qt {

// `name` is an Amiga path ("PROGDIR:images/x.png") or a host path. A null
// pixmap when the file is missing or cannot be decoded.
QPixmap LoadPicture(const char *name);

} // namespace platform::qt
