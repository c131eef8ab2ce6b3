#include "picture.h"

#include "dos/host_dos.h"

#include <QFile>
#include <QImageReader>

#include <unistd.h>

namespace platform::qt {

QPixmap LoadPicture(const char *name) {
    if (!name || !*name)
        return {};
    // Opened by the platform, so that only a regular file is read (a FIFO
    // would freeze the window) and the path's bytes never pass through a
    // text conversion that a name in another encoding would not survive.
    const int fd = platform::dos::OpenRegularFile(
        platform::dos::HostPath(name, platform::dos::Use::Read).c_str());
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        return {};
    }
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

} // namespace platform::qt
