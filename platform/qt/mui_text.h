#pragma once
// Text as the toolkit writes it: ESC sequences in the pre-parse string and in
// the contents choose alignment and style; the rest is shown as plain text.
#include <QString>
#include <Qt>

#include <string_view>

namespace platform::qt {

struct StyledText {
    QString text;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// A program's text as it is shown: UTF-8 where the bytes are UTF-8, each
// other byte as its Latin-1 letter (so names that differ look different);
// bidirectional controls and control codes as visible marks, not applied
// (line breaks are kept as such when asked for).
QString ShownText(std::string_view bytes, bool lineBreaks = false);

// ESC c/r/l align; ESC b, i, u style; ESC n plain again. Other ESC codes
// (pens, images) are dropped with their argument so no control byte shows.
StyledText ParseMuiText(const char *preParse, const char *contents);

// The label of a push button with its key letter marked for Qt ('&' before
// the first letter that matches `key` in either case; a literal '&' doubled).
QString ButtonLabel(const QString &text, char key);

} // namespace platform::qt
