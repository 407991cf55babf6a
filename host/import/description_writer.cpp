// The description's text as it is made: structures' members one a line,
// neighbours under one link in one link object, and the document around the
// layer. Each member is written once, where it stands.
#include "description.h"
#include "json_text.h"

namespace host::import {
namespace {

std::string Indent(int level) {
    return std::string(6 + 2 * static_cast<size_t>(level < 0 ? 0 : level), ' ');
}

}  // namespace

void BeginMember(MemberList& list, const std::string& link, TextSink& out) {
    if (!list.link.empty() && list.link == link) {
        out.Append(", ");
        return;
    }
    if (!list.link.empty()) {
        out.Append("]}");
        list.link.clear();
    }
    if (list.members > 0) {
        out.Append(list.lines ? ",\n" : ", ");
    } else if (list.keyed) {
        out.Append(", \"objects\": [\n");
    }
    if (list.lines) out.Append(Indent(list.level));
    if (!link.empty()) {
        out.Append("{\"kind\": \"link\", \"url\": " + JsonString(Latin1ToUtf8(link)) + ", \"objects\": [");
        list.link = link;
    }
    ++list.members;
}

std::string MembersEnd(const MemberList& list) {
    std::string out = list.link.empty() ? "" : "]}";
    if (list.keyed) {
        if (list.members > 0) out += "\n" + Indent(list.level - 1) + "]";
        out += '}';
    }
    return out;
}

std::string DocumentHead(const svgf::HostRect& page) {
    const int64_t width = int64_t{page.right} - page.left;
    const int64_t height = int64_t{page.top} - page.bottom;
    return "{\n"
           "  \"format\": \"svgfilter-drawing\",\n"
           "  \"version\": 1,\n"
           "  \"unit\": \"host\",\n"
           "  \"page\": {\"x\": " +
           std::to_string(page.left) + ", \"y\": " + std::to_string(page.bottom) + ", \"width\": " +
           std::to_string(width) + ", \"height\": " + std::to_string(height) +
           "},\n"
           "  \"layers\": [\n"
           "    {\"name\": \"Imported\", \"objects\": [\n";
}

std::string DocumentTail(const MemberList& layer) {
    return MembersEnd(layer) + (layer.members > 0 ? "\n" : "") + "    ]}\n  ]\n}\n";
}

}  // namespace host::import
