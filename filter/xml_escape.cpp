#include "xml_escape.h"

#include "c_format.h"

namespace svgf {

bool XmlCarries(uint32_t code) {
    if (code < 0x20) return code == '\t' || code == '\n' || code == '\r';
    if (code >= 0xD800 && code <= 0xDFFF) return false;
    return code != 0xFFFE && code != 0xFFFF && code <= 0x10FFFF;
}

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
    if (!XmlCarries(code)) code = kReplacementCharacter;
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
                    AppendC(out, "&#%u;", static_cast<unsigned>(XmlCarries(byte) ? byte : kReplacementCharacter));
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
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (text.compare(i, 3, "]]>") == 0) {
            out += "]]]]><![CDATA[>";
            i += 2;
        } else if (!XmlCarries(byte)) {
            out += "\\FFFD ";
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace svgf
