// Decoding pictures: NewDTObject's check and the picture class's view share
// one decoder, and the picture of a disposed picture object waits for the
// view, so that a picture checked and then shown is decoded once.
#include "picture.h"

#include "dos/host_dos.h"

#include <datatypes/datatypes.h>
#include <proto/datatypes.h>
#include <proto/dos.h>
#include <proto/utility.h>

#include <QFile>
#include <QImageReader>
#include <QLoggingCategory>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::qt {
namespace {

// One state of one file: a picture decoded from it stands for it while these
// stay the same.
struct FileState {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    struct timespec modified {};

    bool operator==(const FileState &other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

struct DecodedPicture {
    FileState state;
    QImage image;
};

// The picture of the picture object disposed last, until the view takes it.
std::mutex g_leftLock;
DecodedPicture g_left;

// Opens a picture file as DOS opens files (a regular file, never blocking);
// -1 with the DOS error in *error.
int OpenPictureFile(const char *name, FileState *state, long *error) {
    const std::string host = platform::dos::HostPath(name, platform::dos::Use::Read, error);
    const int fd = host.empty() ? -1 : platform::dos::OpenRegularFile(host.c_str());
    struct stat status {};
    if (fd >= 0 && ::fstat(fd, &status) == 0) {
        *state = {status.st_dev, status.st_ino, status.st_size, status.st_mtim};
        return fd;
    }
    if (!host.empty())
        *error = platform::dos::ErrorFromErrno(errno, false);
    if (fd >= 0)
        ::close(fd);
    return -1;
}

bool ReadAt(int fd, off_t at, unsigned char *bytes, size_t count) {
    return ::pread(fd, bytes, count, at) == static_cast<ssize_t>(count);
}

// Whether a PNG's chunks or a JPEG's end marker say that the file is whole.
// Qt's readers fill a JPEG cut short with grey, and libpng reports a PNG cut
// short on standard error; other formats are left to their readers.
bool LooksWhole(int fd, off_t size) {
    unsigned char head[8] = {};
    if (!ReadAt(fd, 0, head, sizeof head))
        return true;
    if (std::memcmp(head, "\x89PNG\r\n\x1a\n", 8) == 0) {
        for (off_t at = 8; at + 12 <= size;) { // length, type, data, CRC
            unsigned char chunk[8];
            if (!ReadAt(fd, at, chunk, sizeof chunk))
                return false;
            if (std::memcmp(chunk + 4, "IEND", 4) == 0)
                return true;
            at += 12 + ((off_t{chunk[0]} << 24) | (chunk[1] << 16) | (chunk[2] << 8) | chunk[3]);
        }
        return false;
    }
    if (head[0] == 0xFF && head[1] == 0xD8) { // JPEG: the end marker near the end
        unsigned char tail[1024];
        const size_t count = static_cast<size_t>(std::min<off_t>(size, sizeof tail));
        if (!ReadAt(fd, size - static_cast<off_t>(count), tail, count))
            return false;
        for (size_t i = 0; i + 1 < count; ++i)
            if (tail[i] == 0xFF && tail[i + 1] == 0xD9)
                return true;
        return false;
    }
    return true;
}

// The whole picture of an open file (taken and closed), within Qt's
// allocation limit; a null image when it cannot be decoded whole. The
// readers' complaints are not printed: such a picture is simply not shown.
QImage Decode(int fd, const FileState &state) {
    static std::once_flag quiet;
    std::call_once(quiet, [] { QLoggingCategory::setFilterRules("qt.gui.imageio*=false"); });
    QFile file;
    if (!LooksWhole(fd, state.size) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {};
    }
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    return reader.read();
}

} // namespace

QPixmap LoadPicture(const char *name) {
    if (!name || !*name)
        return {};
    FileState state;
    long error = 0;
    const int fd = OpenPictureFile(name, &state, &error);
    if (fd < 0)
        return {};
    QImage image;
    {
        std::lock_guard guard(g_leftLock);
        if (!g_left.image.isNull() && g_left.state == state) {
            image.swap(g_left.image);
            g_left.image = QImage();
        }
    }
    if (image.isNull())
        image = Decode(fd, state);
    else
        ::close(fd);
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

} // namespace platform::qt

Object *NewDTObjectA(CONST_STRPTR name, const struct TagItem *attrs) {
    if (GetTagData(DTA_GroupID, GID_PICTURE, attrs) != GID_PICTURE) {
        SetIoErr(DTERROR_UNKNOWN_DATATYPE);
        return nullptr;
    }
    using namespace platform::qt;
    FileState state;
    long error = ERROR_REQUIRED_ARG_MISSING;
    const int fd = name ? OpenPictureFile(name, &state, &error) : -1;
    if (fd < 0) {
        SetIoErr(error);
        return nullptr;
    }
    auto *picture = new DecodedPicture{state, Decode(fd, state)};
    if (picture->image.isNull()) {
        delete picture;
        SetIoErr(DTERROR_INVALID_DATA);
        return nullptr;
    }
    return reinterpret_cast<Object *>(picture);
}

void DisposeDTObject(Object *object) {
    auto *picture = reinterpret_cast<platform::qt::DecodedPicture *>(object);
    if (!picture)
        return;
    {
        std::lock_guard guard(platform::qt::g_leftLock);
        platform::qt::g_left = std::move(*picture);
    }
    delete picture;
}
