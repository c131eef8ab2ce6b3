#include "picture.h"

#include "host_paths.h"

#include <QImageReader>

namespace platform::qt {

QPixmap LoadPicture(const char *name) {
    if (!name || !*name)
        return {};
    QImageReader reader(QString::fromStdString(HostPath(name)));
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

} // namespace platform::qt
