#include "xml_escape.h"

#include "c_format.h"

namespace svgf {

void AppendXmlCharacter(std::string& out, uint32_t code) {
    switch (code) {
        case '&':
            out += "&amp;";
            return;
        case '<':
            out += "&lt;";
            return;
        case '>':
            out += "&gt;";
            return;
        case '"':
            out += "&quot;";
            return;
        case '\'':
            out += "&apos;";
            return;
        default:
            break;
    }
    if (code > 0xFF || code < 0x20) {
        AppendC(out, "&#%u;", static_cast<unsigned>(code));
        return;
    }
    out += static_cast<char>(static_cast<unsigned char>(code));
}

std::string EscapeXmlAttribute(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        switch (byte) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                if (byte < 0x20) {
                    AppendC(out, "&#%u;", static_cast<unsigned>(byte));
                } else {
                    out += c;
                }
        }
    }
    return out;
}

std::string EscapeCdata(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t start = 0;
    for (size_t at = text.find("]]>"); at != std::string_view::npos; at = text.find("]]>", start)) {
        out.append(text.substr(start, at - start));
        out += "]]]]><![CDATA[>";
        start = at + 3;
    }
    out.append(text.substr(start));
    return out;
}

}  // namespace svgf
