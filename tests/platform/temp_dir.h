#pragma once
// A fresh temporary folder, by its resolved path, removed with the object.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

// A whole PNG of one pixel. kHugeHeader, put at 16 in its place, gives it a
// size of 30000 x 30000: more than Qt lets a picture allocate.
inline constexpr std::string_view kTinyPng(
    "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x01\0\0\0\x01\x08\x02\0\0\0\x90\x77\x53\xDE\0\0\0\x0C"
    "IDAT\x78\xDA\x63\xF8\xCF\xC0\0\0\x03\x01\x01\0\xF7\x03\x41\x43\0\0\0\0IEND\xAE\x42\x60\x82",
    69);
inline constexpr std::string_view
    kHugeHeader("\0\0\x75\x30\0\0\x75\x30\x08\x02\0\0\0\xE9\x45\x6F\xED", 17);

class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "karvolin-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            path_ = std::filesystem::canonical(pattern);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::filesystem::path &path() const { return path_; }
    std::string operator/(std::string_view name) const { return (path_ / name).string(); }

    // Writes a file (and its folders) below this folder.
    std::string Write(std::string_view name, std::string_view bytes) const {
        const auto file = path_ / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        return file.string();
    }
    std::string Read(std::string_view name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

  private:
    std::filesystem::path path_;
};
