// The description's text: structures' members one a line, neighbours under
// one link in one link object, and the document around the layer.
#include "description.h"
#include "json_text.h"

namespace host::import {
namespace {

std::string Indent(int level) {
    return std::string(6 + 2 * static_cast<size_t>(level), ' ');
}

}  // namespace

std::string JoinItems(const std::vector<Item>& items, int level) {
    const bool lines = level >= 0;
    std::string out;
    for (size_t i = 0; i < items.size();) {
        std::string member;
        if (items[i].link.empty()) {
            member = items[i].json;
            ++i;
        } else {
            const std::string& link = items[i].link;
            member = "{\"kind\": \"link\", \"url\": " + JsonString(Latin1ToUtf8(link)) + ", \"objects\": [";
            for (bool first = true; i < items.size() && items[i].link == link; ++i, first = false)
                member += (first ? "" : ", ") + items[i].json;
            member += "]}";
        }
        if (!out.empty()) out += lines ? ",\n" : ", ";
        if (lines) out += Indent(level);
        out += member;
    }
    return out;
}

std::string DocumentText(const svgf::HostRect& page, const std::vector<Item>& items) {
    const int64_t width = int64_t{page.right} - page.left;
    const int64_t height = int64_t{page.top} - page.bottom;
    std::string out =
        "{\n"
        "  \"format\": \"svgfilter-drawing\",\n"
        "  \"version\": 1,\n"
        "  \"unit\": \"host\",\n"
        "  \"page\": {\"x\": " +
        std::to_string(page.left) + ", \"y\": " + std::to_string(page.bottom) + ", \"width\": " +
        std::to_string(width) + ", \"height\": " + std::to_string(height) +
        "},\n"
        "  \"layers\": [\n"
        "    {\"name\": \"Imported\", \"objects\": [\n";
    out += JoinItems(items, 0);
    if (!items.empty()) out += "\n";
    out += "    ]}\n  ]\n}\n";
    return out;
}

}  // namespace host::import
