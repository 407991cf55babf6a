// Conditional processing: requiredFeatures, requiredExtensions and
// systemLanguage, as `switch` and every drawn element evaluate them, and
// elements of other namespaces, which are not drawn.
#include <algorithm>
#include <array>
#include <cctype>

#include "markup/doc_element.h"
#include "reader_detail.h"

namespace SVG {

using markup::WDOMHandle;

namespace {

constexpr std::string_view kSvgNamespace = "http://www.w3.org/2000/svg";

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


// The SVG 1.1 feature strings of static rendering, which renderers of
// still pictures report as supported.
constexpr std::string_view kFeaturePrefix = "http://www.w3.org/TR/SVG11/feature#";
constexpr std::array<std::string_view, 31> kFeatures = {
    "SVG",          "SVGDOM",          "SVG-static",          "SVGDOM-static",       "CoreAttribute",
    "Structure",    "BasicStructure",  "ContainerAttribute",  "ConditionalProcessing", "Image",
    "Style",        "ViewportAttribute", "Shape",             "Text",                "BasicText",
    "PaintAttribute", "BasicPaintAttribute", "OpacityAttribute", "GraphicsAttribute",
    "BasicGraphicsAttribute", "Marker", "ColorProfile", "Gradient", "Pattern", "Clip", "BasicClip",
    "Mask", "Filter", "BasicFilter", "XlinkAttribute", "Hyperlinking"};

// Every white-space separated item of the list passes `test`; an empty
// list passes nothing.
template <typename Test>
bool EveryItem(std::string_view list, Test test) {
    bool any = false;
    while (!list.empty()) {
        while (!list.empty() && IsWhiteSpace(list.front())) list.remove_prefix(1);
        size_t end = 0;
        while (end < list.size() && !IsWhiteSpace(list[end])) ++end;
        if (end == 0) break;
        if (!test(list.substr(0, end))) return false;
        any = true;
        list.remove_prefix(end);
    }
    return any;
}

bool FeatureSupported(std::string_view feature) {
    if (!feature.starts_with(kFeaturePrefix)) return false;
    feature.remove_prefix(kFeaturePrefix.size());
    return std::find(kFeatures.begin(), kFeatures.end(), feature) != kFeatures.end();
}

// The element's name as the document writes it: the parser names a
// prefixed element ("svg:rect") by its prefix alone, its tag's text keeps
// the whole name.
std::string WrittenName(const WDOMHandle& element) {
    if (element.IsNull()) return {};
    if (const markup::Node* node = element.Get()->GetNode()) {
        if (const markup::DocElement* tag = markup::DocElement::Of(node)) {
            const markup::String& text = tag->TextRef();
            const std::string_view all(text.Text() != nullptr ? text.Text() : "", text.Length());
            size_t end = 0;
            while (end < all.size() && !IsWhiteSpace(all[end]) && all[end] != '/' && all[end] != '>') ++end;
            if (end > 0) return std::string(all.substr(0, end));
        }
    }
    return std::string(element.GetNodeName().View());
}

}  // namespace

bool detail::ConditionsHold(const Attributes& attributes) {
    // No extension is supported; an empty list fails as SVG says.
    if (attributes.FindName("requiredExtensions") != nullptr) return false;
    if (const std::string* features = attributes.FindName("requiredFeatures")) {
        if (!EveryItem(*features, FeatureSupported)) return false;
    }
    if (const std::string* languages = attributes.FindName("systemLanguage")) return LanguageMatches(*languages);
    return true;
}

void WParser::NotePrefixes(const detail::Attributes& attributes) {
    for (const detail::Attribute& a : attributes.All()) {
        if (a.name.starts_with("xmlns:") && a.value == kSvgNamespace) svgPrefixes_.insert(a.name.substr(6));
    }
}

std::string_view WParser::SvgLocalName(std::string_view name) const {
    const size_t colon = name.find(':');
    if (colon == std::string_view::npos) return name;
    const auto found = svgPrefixes_.find(std::string(name.substr(0, colon)));
    return found != svgPrefixes_.end() ? name.substr(colon + 1) : std::string_view();
}

int32_t WParser::KindOf(const WDOMHandle& element) const {
    const std::string name = WrittenName(element);
    // A prefixed name of SVG's namespace ("svg:rect") is its local name.
    if (name.find(':') != std::string::npos) return ElementId(SvgLocalName(name));
    return detail::ElementIdOf(element);
}

bool WParser::Foreign(const WDOMHandle& element, const detail::Attributes& attributes) const {
    if (SvgLocalName(WrittenName(element)).empty()) return true;
    // An element that declares another default namespace is not SVG's.
    const std::string* space = attributes.FindName("xmlns");
    return space != nullptr && *space != kSvgNamespace;
}

}  // namespace SVG
