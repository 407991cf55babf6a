// Cut points of a CSS text: the scanner's strings, comments and url() forms
// are followed as it reads them, so a cut never falls inside a token; where
// that quick reading cannot follow, the scanner's own tokens give the cuts.
#include "markup/style/css_text_cuts.h"

#include "markup/style/css_token.h"
#include "markup/style/css_tokenizer.h"

namespace markup::style {

namespace {

// What the quick reading does not follow: at-rules put the scanner into a
// state of its own; escapes, comment markers and end characters reach into
// tokens this reading does not follow.
constexpr std::string_view kUnfollowed("@\\<\x04", 4);

bool IsLetter(char c, char lower) {
    return c == lower || c == lower - 'a' + 'A';
}

}  // namespace

std::vector<std::uint32_t> CSSTextCuts(std::string_view text, std::uint32_t minPiece) {
    std::vector<std::uint32_t> cuts;
    if (text.find_first_of(kUnfollowed) != std::string_view::npos) return cuts;
    const std::size_t n = text.size();
    std::size_t last = 0;
    int depth = 0;
    for (std::size_t i = 0; i < n;) {
        const char c = text[i];
        if (c == '"' || c == '\'') {
            // A string runs to the next quote of its kind, across lines;
            // without one the quote is a character of its own.
            const std::size_t close = text.find(c, i + 1);
            i = close == std::string_view::npos ? i + 1 : close + 1;
            continue;
        }
        if (c == '/' && i + 1 < n && text[i + 1] == '*') {
            // A comment ends at "*/" or "-->"; without either it runs to
            // the end of the text.
            const std::size_t star = text.find("*/", i + 2), arrow = text.find("-->", i + 2);
            if (star == std::string_view::npos && arrow == std::string_view::npos) return cuts;
            i = star < arrow ? star + 2 : arrow + 3;
            continue;
        }
        if (IsLetter(c, 'u') && i + 2 < n && IsLetter(text[i + 1], 'r') && IsLetter(text[i + 2], 'l')) {
            std::size_t at = i + 3;
            while (at < n && (text[at] == ' ' || text[at] == '\t')) ++at;
            if (at < n && text[at] == '(') {
                // The form ends at ")", or unterminated at a line or block
                // end. After a character no name or number continues over,
                // a token starts at "url", so this is the form; elsewhere
                // "url" may end a longer name, and a quote or comment
                // opener inside would be read otherwise: stop cutting.
                const bool certain = i == 0 || std::string_view(" \t\r\n:,;{}()").find(text[i - 1]) !=
                                                   std::string_view::npos;
                std::size_t end = at + 1;
                while (end < n && std::string_view(")\r\n{}").find(text[end]) == std::string_view::npos) {
                    if (!certain && (text[end] == '"' || text[end] == '\'' ||
                                     (text[end] == '/' && end + 1 < n && text[end + 1] == '*'))) {
                        return cuts;
                    }
                    ++end;
                }
                i = end < n && text[end] == ')' ? end + 1 : end;
                continue;
            }
        }
        if (c == '{') ++depth;
        if (c == '}' && depth > 0 && --depth == 0 && i + 1 - last >= minPiece && i + 1 < n) {
            last = i + 1;
            cuts.push_back(static_cast<std::uint32_t>(last));
        }
        ++i;
    }
    return cuts;
}

std::vector<std::uint32_t> CSSScannedCuts(const String& text, std::uint32_t minPiece, CSSTokenizer& scanner) {
    std::vector<std::uint32_t> cuts;
    const std::uint32_t n = text.Length();
    std::uint32_t at = 0;
    std::uint32_t last = 0;
    std::uint32_t pending = 0;  // a cut kept unless "@import" follows it
    int depth = 0;
    bool stopped = false;
    // The scan runs to the text's end, which leaves the scanner in its
    // first state for the next text.
    scanner.Scan(text, [&](int type, const char*, std::uint32_t length) {
        if (pending != 0 && type != kCSSImportRule) cuts.push_back(pending);
        pending = 0;
        at += length;
        if (stopped) return;
        if (type == kCSSEnd) {
            stopped = true;
        } else if (type == kCSSBlockOpen || type == kCSSMediaOpen) {
            ++depth;
        } else if (type == kCSSBlockClose && depth > 0 && --depth == 0 && at - last >= minPiece && at < n) {
            pending = at;
            last = at;
        }
    });
    return cuts;
}

std::vector<std::uint32_t> CSSPieceCuts(const String& text, std::uint32_t minPiece, CSSTokenizer& scanner) {
    const std::string_view whole(text.Text(), text.Length());
    if (whole.find_first_of(kUnfollowed) == std::string_view::npos) return CSSTextCuts(whole, minPiece);
    return CSSScannedCuts(text, minPiece, scanner);
}

}  // namespace markup::style
