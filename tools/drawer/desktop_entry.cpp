// The desktop entry of a launcher installed in a folder: Exec and Icon name
// the program and its icon by absolute path, quoted and escaped by the rules
// of freedesktop.org's desktop entries, so that a reader turns them back into
// exactly those paths whatever the folder is called.
#include "drawer_tool.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace drawer_tool {
namespace {

// Valid UTF-8 without control characters besides tab, newline and carriage
// return (which have escapes): what a value of type string can hold.
bool Nameable(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = text[i++];
        const int extra = lead < 0x80   ? 0
                          : lead < 0xC2 ? -1
                          : lead < 0xE0 ? 1
                          : lead < 0xF0 ? 2
                          : lead < 0xF5 ? 3
                                        : -1;
        if (extra < 0 || text.size() - i < size_t(extra))
            return false;
        uint32_t code = lead & (0x7F >> (extra ? extra + 1 : 0));
        for (int n = 0; n < extra; ++n, ++i) {
            if ((text[i] & 0xC0) != 0x80)
                return false;
            code = code << 6 | (text[i] & 0x3F);
        }
        const uint32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (code < least[extra] || (code >= 0xD800 && code < 0xE000) || code > 0x10FFFF ||
            ((code < 0x20 || code == 0x7F) && !std::strchr("\t\n\r", int(code))))
            return false;
    }
    return true;
}

// A value of type string: backslash, newline, tab and carriage return escaped.
std::string StringValue(std::string_view text) {
    std::string value;
    for (const char c : text) {
        const char *escape = c == '\\'   ? "\\\\"
                             : c == '\n' ? "\\n"
                             : c == '\t' ? "\\t"
                             : c == '\r' ? "\\r"
                                         : nullptr;
        escape ? value += escape : value += c;
    }
    return value;
}

// One argument of Exec: '%' doubled (it starts a field code); quoted when it
// holds a character the line reserves, with '"', '`', '$' and '\' escaped
// inside the quotes.
std::string ExecArgument(std::string_view text) {
    const bool quoted = text.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string_view::npos;
    std::string argument = quoted ? "\"" : "";
    for (const char c : text) {
        if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\'))
            argument += '\\';
        if (c == '%')
            argument += '%';
        argument += c;
    }
    return StringValue(quoted ? argument + '"' : argument);
}

} // namespace

int PrintDesktopEntry(const std::filesystem::path &folder) {
    if (!Nameable(folder.string())) {
        std::fputs("karvolin-drawer: no desktop entry: the folder's path is not text that an "
                   "entry can hold (UTF-8 without control characters)\n",
                   stderr);
        return 1;
    }
    // GLib checks that the program exists before it turns "%%" into "%", so
    // a program whose path holds a '%' is started through env.
    const std::string program = (folder / "karvolin").string();
    const char *env = program.find('%') != std::string::npos ? "env " : "";
    Print("[Desktop Entry]\nType=Application\nVersion=1.0\nName=Karvolin\n"
          "GenericName=Emulator Launcher\n"
          "Comment=Pick a cartridge from your ROM folder and play it in the colem emulator\n"
          "Exec=%s%s\nIcon=%s\nTerminal=false\nCategories=Game;Emulator;\n"
          "Keywords=cartridge;ROM;colem;box art;\n",
          env, ExecArgument(program).c_str(),
          StringValue((folder / "karvolin.png").string()).c_str());
    return 0;
}

} // namespace drawer_tool
