#pragma once
// A packed ROM: gzip, or zip (stored or deflated) with a folder entry first.
#include <archive.h>
#include <archive_entry.h>

#include <string>
#include <string_view>

enum class Packing { Gzip, ZipStored, ZipDeflated };

inline bool WritePacked(const std::string &path, Packing packing, std::string_view bytes) {
    struct archive *out = archive_write_new();
    const bool zip = packing != Packing::Gzip;
    zip ? archive_write_set_format_zip(out)
        : (archive_write_add_filter_gzip(out), archive_write_set_format_raw(out));
    archive_write_set_options(out, packing == Packing::ZipStored ? "zip:compression=store" : "");
    bool ok = archive_write_open_filename(out, path.c_str()) == ARCHIVE_OK;
    for (int folder = zip; ok && folder >= 0; --folder) { // the folder first, in a zip
        struct archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname(entry, folder ? "games/" : "games/game.rom");
        archive_entry_set_filetype(entry, folder ? AE_IFDIR : AE_IFREG);
        archive_entry_set_size(entry, folder ? 0 : la_int64_t(bytes.size()));
        ok = archive_write_header(out, entry) == ARCHIVE_OK &&
             (folder ||
              archive_write_data(out, bytes.data(), bytes.size()) == la_ssize_t(bytes.size()));
        archive_entry_free(entry);
    }
    ok = archive_write_close(out) == ARCHIVE_OK && ok;
    archive_write_free(out);
    return ok;
}
