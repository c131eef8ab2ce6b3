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

} // namespace

StyledText ParseMuiText(const char *preParse, const char *contents) {
    StyledText out;
    std::string plain;
    if (preParse)
        Parse(preParse, out, plain);
    if (contents)
        Parse(contents, out, plain);
    out.text = QString::fromUtf8(plain);
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
