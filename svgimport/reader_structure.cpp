// Structure: groups, links, `use` instances and `switch` choices. Every
// group and link the canvas opens is closed again, whatever its content.
#include <algorithm>
#include <cctype>

#include "reader_detail.h"

namespace SVG {

using markup::WDOMHandle;

namespace {

// The language a `switch` is read for.
constexpr std::string_view kLanguage = "en";

bool LanguageMatches(std::string_view list) {
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string_view::npos) end = list.size();
        std::string_view tag = list.substr(start, end - start);
        while (!tag.empty() && IsWhiteSpace(tag.front())) tag.remove_prefix(1);
        while (!tag.empty() && IsWhiteSpace(tag.back())) tag.remove_suffix(1);
        if (tag.size() >= kLanguage.size()) {
            bool same = true;
            for (size_t i = 0; i < kLanguage.size(); ++i) {
                same = same && std::tolower(static_cast<unsigned char>(tag[i])) == kLanguage[i];
            }
            if (same && (tag.size() == kLanguage.size() || tag[kLanguage.size()] == '-')) return true;
        }
        start = end + 1;
    }
    return false;
}

// The conditions of a `switch` child: no extension is supported, every
// feature string holds, the language must be ours.
bool ConditionsHold(const detail::Attributes& attributes) {
    if (attributes.FindName("requiredExtensions") != nullptr) return false;
    if (const std::string* languages = attributes.FindName("systemLanguage"))
        return LanguageMatches(*languages);
    return true;
}

// The span in which a style source draws a `use` instance.
class InstanceScope {
  public:
    InstanceScope(WStyleSource* styles, const WDOMHandle& use, const WDOMHandle& target) : styles_(styles) {
        if (styles_ != nullptr) styles_->BeginInstance(use, target);
    }
    ~InstanceScope() {
        if (styles_ != nullptr) styles_->EndInstance();
    }
    InstanceScope(const InstanceScope&) = delete;
    InstanceScope& operator=(const InstanceScope&) = delete;

  private:
    WStyleSource* styles_;
};

}  // namespace

template <typename Body>
int32_t WParser::InGroup(const WDOMHandle& element, const WMatrix& local, Body body) {
    if (canvas_ == nullptr) return 0;
    const size_t mark = definitions_.Mark();
    int32_t result = 0;
    {
        detail::MatrixFrame frame(*this);
        frame.Compose(local);
        WGroup group;
        group.matrix = Current();
        ResolveStyle(element, group.presentation, nullptr);
        if (canvas_->BeginGroup(group) != 0) {
            // The group's opacity multiplies into everything inside it.
            const double opacity = opacity_;
            opacity_ = group.presentation.opacity;
            body();
            opacity_ = opacity;
            result = canvas_->EndGroup(group) != 0 ? 1 : 0;
        }
        group.ReleasePresentation();
    }
    definitions_.ReleaseFrom(mark);
    return result;
}

int32_t WParser::DoGroup(const WDOMHandle& element) {
    const detail::Attributes attributes(element);
    return InGroup(element, detail::TransformOf(attributes), [&] { WalkChildren(element); });
}

int32_t WParser::DoAnchor(const WDOMHandle& element) {
    if (canvas_ == nullptr) return 0;
    const detail::Attributes attributes(element);
    WAnchor anchor;
    if (const std::string* href = attributes.Find(attribute::kXlinkHref)) anchor.href.Assign(*href);
    if (canvas_->BeginAnchor(anchor) == 0) return 0;
    const double opacity = opacity_;
    opacity_ = OpacityWithin(element);
    WalkChildren(element);
    opacity_ = opacity;
    return canvas_->EndAnchor() != 0 ? 1 : 0;
}

int32_t WParser::DoUse(const WDOMHandle& element) {
    const detail::Attributes attributes(element);
    const std::string* href = attributes.Href();
    const WDOMHandle target = href != nullptr ? ResolveHref(*href) : WDOMHandle();
    if (target.IsNull()) return 0;
    // The instance is placed by the use's transform, then its x and y.
    WMatrix local = detail::TransformOf(attributes);
    local.Multiply(1, 0, 0, 1, detail::UserLength(*this, attributes.Length(attribute::kX), kHorizontal),
                   detail::UserLength(*this, attributes.Length(attribute::kY), kVertical));
    int32_t drawn = 0;
    ++uses_;
    const int32_t opened = InGroup(element, local, [&] {
        // The instance's content inherits from the use.
        ForgetStyle();
        InstanceScope instance(styles_, element, target);
        if (detail::NameOf(target) == "symbol") {
            detail::Visit visit(drawing_, target);
            if (!visit.Entered()) return;
            // The symbol instance is a group of its own: its opacity counts.
            const double opacity = opacity_;
            opacity_ = OpacityWithin(target);
            if (opacity_ > 0) drawn = WalkChildren(target);
            opacity_ = opacity;
        } else {
            // DrawElement refuses an element already being drawn: a use
            // inside what it refers to ends there.
            drawn = DrawElement(target);
        }
    });
    ForgetStyle();
    --uses_;
    return opened != 0 && drawn != 0 ? 1 : 0;
}

int32_t WParser::DoSwitch(const WDOMHandle& element) {
    for (WDOMHandle child = element.GetFirstChild(); !child.IsNull(); child = child.GetNextSibling()) {
        if (child.GetNodeType() != markup::kDOMElementNode) continue;
        if (ConditionsHold(detail::Attributes(child))) return DrawNode(child);
    }
    return 1;
}

}  // namespace SVG
