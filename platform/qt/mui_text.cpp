#include "mui_text.h"

#include <cctype>
#include <string_view>

namespace platform::qt {
namespace {

constexpr char kEsc = '\x1b';

// Applies the code after an ESC and returns how many bytes the sequence
// takes after the ESC itself.
size_t ApplyEscape(std::string_view rest, StyledText &out) {
    if (rest.empty())
        return 0;
    switch (rest.front()) {
    case 'c':
        out.alignment = Qt::AlignHCenter;
        return 1;
    case 'r':
        out.alignment = Qt::AlignRight;
        return 1;
    case 'l':
        out.alignment = Qt::AlignLeft;
        return 1;
    case 'b':
        out.bold = true;
        return 1;
    case 'i':
        out.italic = true;
        return 1;
    case 'u':
        out.underline = true;
        return 1;
    case 'n':
        out.bold = out.italic = out.underline = false;
        return 1;
    case 'I':
    case 'O':
    case 'P': { // ESC I[...], ESC O[...], ESC P[...]: images and pens with an argument
        if (rest.size() > 1 && rest[1] == '[') {
            const size_t close = rest.find(']', 2);
            return close == std::string_view::npos ? rest.size() : close + 1;
        }
        return 1;
    }
    default: // pens and other one-letter codes
        return 1;
    }
}

void Parse(std::string_view input, StyledText &out, std::string &plain) {
    for (size_t i = 0; i < input.size(); ++i) {
        if (input[i] == kEsc)
            i += ApplyEscape(input.substr(i + 1), out);
        else
            plain.push_back(input[i]);
    }
}

// The length of the well-formed UTF-8 sequence at text[0] and its code
// point; 0 when the bytes there are no such sequence.
int DecodeUtf8(std::string_view text, char32_t &code) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    const int length = lead < 0x80   ? 1
                       : lead < 0xC2 ? 0
                       : lead < 0xE0 ? 2
                       : lead < 0xF0 ? 3
                       : lead < 0xF5 ? 4
                                     : 0;
    if (length == 0 || text.size() < static_cast<size_t>(length))
        return 0;
    code = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        return 0;
    return length;
}

// The mark shown for a character that would change how the rest of the text
// is drawn (bidirectional controls) or cannot be seen (control codes).
QString Mark(char32_t code) {
    switch (code) {
    case 0x061C:
        return QStringLiteral("\u2039ALM\u203A");
    case 0x200E:
        return QStringLiteral("\u2039LRM\u203A");
    case 0x200F:
        return QStringLiteral("\u2039RLM\u203A");
    case 0x202A:
        return QStringLiteral("\u2039LRE\u203A");
    case 0x202B:
        return QStringLiteral("\u2039RLE\u203A");
    case 0x202C:
        return QStringLiteral("\u2039PDF\u203A");
    case 0x202D:
        return QStringLiteral("\u2039LRO\u203A");
    case 0x202E:
        return QStringLiteral("\u2039RLO\u203A");
    case 0x2066:
        return QStringLiteral("\u2039LRI\u203A");
    case 0x2067:
        return QStringLiteral("\u2039RLI\u203A");
    case 0x2068:
        return QStringLiteral("\u2039FSI\u203A");
    case 0x2069:
        return QStringLiteral("\u2039PDI\u203A");
    default:
        break;
    }
    if (code < 0x20)
        return QChar(static_cast<char16_t>(0x2400 + code)); // the control pictures
    if (code == 0x7F)
        return QChar(u'\u2421');
    return {};
}

} // namespace

QString ShownText(std::string_view bytes, bool lineBreaks) {
    QString shown;
    shown.reserve(static_cast<qsizetype>(bytes.size()));
    while (!bytes.empty()) {
        char32_t code = 0;
        int length = DecodeUtf8(bytes, code);
        if (length == 0) { // a byte of another encoding: its Latin-1 letter
            code = static_cast<unsigned char>(bytes[0]);
            length = 1;
        }
        bytes.remove_prefix(static_cast<size_t>(length));
        if (const QString mark = Mark(code); !mark.isEmpty() && !(lineBreaks && code == '\n'))
            shown += mark;
        else
            shown += QString::fromUcs4(&code, 1);
    }
    return shown;
}

StyledText ParseMuiText(const char *preParse, const char *contents) {
    StyledText out;
    std::string plain;
    if (preParse)
        Parse(preParse, out, plain);
    if (contents)
        Parse(contents, out, plain);
    out.text = ShownText(plain, true);
    return out;
}

QString ButtonLabel(const QString &text, char key) {
    QString label;
    bool marked = key == 0;
    const QChar wanted = QChar::fromLatin1(key).toLower();
    for (const QChar c : text) {
        if (!marked && c.toLower() == wanted) {
            label += u'&';
            marked = true;
        }
        label += c;
        if (c == u'&')
            label += u'&';
    }
    return label;
}

} // namespace platform::qt
