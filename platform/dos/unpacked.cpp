// The content of a gzip file or of a zip file's first regular member, read
// with libarchive. Only the kinds that hold one packed file are offered, so a
// file that is neither is refused rather than read as it is.
#include "dos/host_dos.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <unistd.h>

namespace platform::dos {
namespace {

// What libarchive reads from the file at a time. Each read unpacks what one
// such block holds, so a small one keeps the cost of the first bytes small
// (the code tables of a deflated stream come first), however large the file.
constexpr size_t kBlock = 256;

} // namespace

// A reader over a file: the block of the file read last, and what is left
// of the block it unpacked last.
struct Unpacker {
    struct archive *archive = nullptr;
    int fd = -1;
    unsigned char input[kBlock];
    ssize_t head = 0; // the first block, read before the reader was made
    const unsigned char *block = nullptr;
    size_t left = 0;
};

namespace {

// A gzip file's content (the raw format behind the gzip filter), or a zip
// member that is a regular file and not encrypted.
bool IsPackedFile(struct archive *archive, struct archive_entry *entry) {
    const int format = archive_format(archive) & ARCHIVE_FORMAT_BASE_MASK;
    if (format == ARCHIVE_FORMAT_RAW)
        return archive_filter_code(archive, 0) == ARCHIVE_FILTER_GZIP;
    return format == ARCHIVE_FORMAT_ZIP && archive_entry_filetype(entry) == AE_IFREG &&
           !archive_entry_is_encrypted(entry);
}

la_ssize_t ReadInput(struct archive *, void *data, const void **buffer) {
    auto *unpacker = static_cast<Unpacker *>(data);
    *buffer = unpacker->input;
    ssize_t n = unpacker->head;
    unpacker->head = 0;
    while (n == 0 && (n = ::read(unpacker->fd, unpacker->input, kBlock)) < 0 && errno == EINTR)
        n = 0;
    return n;
}

// Positions a new reader at the packed file, choosing the kind by the first
// bytes; false when there is none.
bool FindPackedFile(Unpacker *unpacker) {
    struct archive *archive = unpacker->archive;
    unpacker->head = ::read(unpacker->fd, unpacker->input, kBlock);
    if (unpacker->head >= 2 && unpacker->input[0] == 0x1F && unpacker->input[1] == 0x8B) {
        archive_read_support_filter_gzip(archive);
        archive_read_support_format_raw(archive);
    } else if (unpacker->head >= 4 && std::memcmp(unpacker->input, "PK\3\4", 4) == 0) {
        // The streaming reader goes by the local headers from the start of
        // the file: the first member is reached without the central directory.
        archive_read_support_format_zip_streamable(archive);
    } else {
        return false;
    }
    if (archive_read_open(archive, unpacker, nullptr, ReadInput, nullptr) != ARCHIVE_OK)
        return false;
    struct archive_entry *entry = nullptr;
    int status;
    while ((status = archive_read_next_header(archive, &entry)) == ARCHIVE_OK ||
           status == ARCHIVE_WARN) {
        if (IsPackedFile(archive, entry))
            return true;
        if ((archive_format(archive) & ARCHIVE_FORMAT_BASE_MASK) != ARCHIVE_FORMAT_ZIP)
            return false;
    }
    return false;
}

} // namespace

Unpacker *OpenUnpacker(int fd) {
    auto *unpacker = new (std::nothrow) Unpacker;
    if (unpacker) {
        unpacker->fd = fd;
        unpacker->archive = archive_read_new();
    }
    if (unpacker && unpacker->archive && FindPackedFile(unpacker))
        return unpacker;
    CloseUnpacker(unpacker);
    return nullptr;
}

long ReadUnpacker(Unpacker *unpacker, void *buffer, size_t size) {
    while (!unpacker->left) { // a block may be empty
        const void *block = nullptr;
        la_int64_t offset = 0;
        const int status =
            archive_read_data_block(unpacker->archive, &block, &unpacker->left, &offset);
        if (status == ARCHIVE_EOF || status < ARCHIVE_WARN) {
            unpacker->left = 0;
            return status == ARCHIVE_EOF ? 0 : -1;
        }
        unpacker->block = static_cast<const unsigned char *>(block);
    }
    const size_t count = std::min(size, unpacker->left);
    std::memcpy(buffer, unpacker->block, count);
    unpacker->block += count;
    unpacker->left -= count;
    return static_cast<long>(count);
}

void CloseUnpacker(Unpacker *unpacker) {
    if (!unpacker)
        return;
    if (unpacker->archive)
        archive_read_free(unpacker->archive);
    delete unpacker;
}

} // namespace platform::dos
