#include "text_markup.h"

#include <string_view>

#include "c_format.h"
#include "xml_escape.h"

namespace svgf {
namespace {

void ReplaceAll(std::string& text, char special, std::string_view entity) {
    for (size_t at = text.find(special); at != std::string::npos;
         at = text.find(special, at + entity.size())) {
        text.replace(at, 1, entity);
    }
}

}  // namespace

void EscapeXmlText(std::string& text) {
    ReplaceAll(text, '&', "&amp;");
    ReplaceAll(text, '<', "&lt;");
    ReplaceAll(text, '>', "&gt;");
    ReplaceAll(text, '\'', "&apos;");
    ReplaceAll(text, '"', "&quot;");
}

uint16_t PlainQuote(uint16_t code) {
    if (code == 0x91 || code == 0x92) return '\'';
    if (code == 0x93 || code == 0x94) return '"';
    return code;
}

uint16_t CapitalOf(uint16_t code) {
    if (code >= 'a' && code <= 'z') return code - ('a' - 'A');
    // Latin-1 small letters sit 0x20 above their capitals; the division
    // sign between them is no letter.
    if (code >= 0xE0 && code <= 0xFE && code != 0xF7) return code - 0x20;
    if (code == 0xFF) return 0x178;
    return code;
}

std::string TextMarkup(const std::vector<uint16_t>& codes) {
    std::string markup;
    std::string plain;
    auto flush = [&] {
        EscapeXmlText(plain);
        markup += plain;
        plain.clear();
    };
    for (size_t i = 0; i < codes.size(); ++i) {
        uint32_t code = codes[i];
        // A pair of surrogates is one character beyond U+FFFF; a half
        // alone is none, and XML cannot carry it.
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < codes.size() && codes[i + 1] >= 0xDC00 &&
            codes[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (codes[i + 1] - 0xDC00);
            ++i;
        }
        if (!XmlCarries(code)) code = kReplacementCharacter;
        if (code > 0xFF || code < 0x20) {
            flush();
            AppendC(markup, "&#%u;", static_cast<unsigned>(code));
        } else {
            plain += static_cast<char>(static_cast<unsigned char>(code));
        }
    }
    flush();
    return markup;
}

}  // namespace svgf
