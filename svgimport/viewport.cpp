// Viewports: a view box fitted into a viewport by preserveAspectRatio, and
// whether an element that establishes a viewport clips its content to it.
#include <algorithm>
#include <cmath>

#include "reader_detail.h"

namespace SVG::detail {
namespace {

std::string_view NextWord(std::string_view& text) {
    while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
    size_t end = 0;
    while (end < text.size() && !IsWhiteSpace(text[end])) ++end;
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(end);
    return word;
}

// 0, 0.5 or 1 for "Min", "Mid" or "Max"; a negative value for anything else.
double AlignmentOf(std::string_view word) {
    if (word == "Min") return 0;
    if (word == "Mid") return 0.5;
    if (word == "Max") return 1;
    return -1;
}

}  // namespace

AspectRatio ParseAspectRatio(std::string_view text) {
    AspectRatio out;
    std::string_view word = NextWord(text);
    if (word == "defer") word = NextWord(text);
    if (word == "none") {
        out.none = true;
    } else if (word.size() == 8 && word[0] == 'x' && word[4] == 'Y') {
        const double ax = AlignmentOf(word.substr(1, 3));
        const double ay = AlignmentOf(word.substr(5, 3));
        // A value that does not parse keeps the default, xMidYMid meet.
        if (ax < 0 || ay < 0) return {};
        out.alignX = ax;
        out.alignY = ay;
    } else if (!word.empty()) {
        return {};
    }
    const std::string_view mode = NextWord(text);
    if (mode == "slice") out.slice = true;
    return out;
}

std::optional<ViewBox> ViewBoxOf(const Attributes& attributes) {
    const std::string* text = attributes.Find(attribute::kViewBox);
    if (text == nullptr) return std::nullopt;
    const std::array<WLength, 4> box = ParseNumberList(*text);
    if (box[0].kind != unit::kUser) return std::nullopt;
    return ViewBox{box[0].value, box[1].value, box[2].value, box[3].value};
}

AspectRatio AspectRatioOf(const Attributes& attributes) {
    const std::string* text = attributes.FindName("preserveAspectRatio");
    return text != nullptr ? ParseAspectRatio(*text) : AspectRatio{};
}

WMatrix ViewBoxMatrix(const ViewBox& box, const AspectRatio& ratio, const ViewportRegion& viewport) {
    if (!(box.width > 0 && box.height > 0)) return WMatrix();
    double sx = viewport.width / box.width;
    double sy = viewport.height / box.height;
    if (!ratio.none) {
        sx = sy = ratio.slice ? std::max(sx, sy) : std::min(sx, sy);
    }
    double tx = viewport.x - box.x * sx;
    double ty = viewport.y - box.y * sy;
    if (!ratio.none) {
        tx += (viewport.width - box.width * sx) * ratio.alignX;
        ty += (viewport.height - box.height * sy) * ratio.alignY;
    }
    return WMatrix(sx, 0, 0, sy, tx, ty);
}

bool OverflowShown(const Attributes& attributes) {
    const auto shown = [](std::string_view value) {
        while (!value.empty() && IsWhiteSpace(value.front())) value.remove_prefix(1);
        while (!value.empty() && (IsWhiteSpace(value.back()) || value.back() == ';')) value.remove_suffix(1);
        return value.starts_with("visible") || value.starts_with("auto");
    };
    bool result = false;
    if (const std::string* value = attributes.FindName("overflow")) result = shown(*value);
    // A declaration of the style attribute wins over the attribute.
    if (const std::string* style = attributes.FindName("style")) {
        std::string_view rest(*style);
        for (size_t at = rest.find("overflow"); at != std::string_view::npos; at = rest.find("overflow", at + 1)) {
            std::string_view tail = rest.substr(at + 8);
            while (!tail.empty() && IsWhiteSpace(tail.front())) tail.remove_prefix(1);
            if (tail.empty() || tail.front() != ':') continue;
            tail.remove_prefix(1);
            const size_t end = tail.find(';');
            result = shown(tail.substr(0, end));
        }
    }
    return result;
}

}  // namespace SVG::detail
