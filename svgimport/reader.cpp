// The reader's frame: the root's coordinate system, the id index, the walk
// over the element tree with its dispatch, references and pattern tiles.
#include "svgimport/reader.h"

#include <algorithm>
#include <any>
#include <cmath>

#include "reader_detail.h"
#include "svgimport/path_data.h"

namespace SVG {

using markup::WDOMHandle;

namespace {

constexpr double kHostPerUser = static_cast<double>(kHostUnitsPerInch) / kUserUnitsPerInch;

// Names outside the element table whose content is drawn only through
// references.
bool IsReferencedOnly(std::string_view name) {
    return name == "symbol" || name == "marker";
}

}  // namespace

WStyleSource::~WStyleSource() = default;

bool WStyleReference::operator==(const WStyleReference& other) const {
    return NodeIdentity(element) == NodeIdentity(other.element) && text == other.text;
}

const char* DescribeReadStatus(WReadStatus status) {
    switch (status) {
        case WReadStatus::kRead:
            return "The drawing was read.";
        case WReadStatus::kNoRoot:
            return "The document holds no element.";
        case WReadStatus::kNotSvg:
            return "The document is not an SVG drawing: its first element is not svg.";
        case WReadStatus::kEmptyViewBox:
            return "The drawing's view box has no width or no height.";
    }
    return "";
}

const void* NodeIdentity(const WDOMHandle& node) {
    if (node.IsNull()) return nullptr;
    if (const void* tree = node->GetNode()) return tree;
    return node.Get();
}

WParser::WParser(const WDOMHandle& document, WStyleSource* styles, WReadLimits limits)
    : document_(document), styles_(styles), limits_(limits) {
    WDOMHandle element;
    for (WDOMHandle child = document_.GetFirstChild(); !child.IsNull(); child = child.GetNextSibling()) {
        if (child.GetNodeType() == markup::kDOMElementNode) {
            element = child;
            break;
        }
    }
    if (element.IsNull()) {
        status_ = WReadStatus::kNoRoot;
        return;
    }
    if (detail::ElementIdOf(element) != element::kSvg) {
        status_ = WReadStatus::kNotSvg;
        return;
    }
    root_ = element;
    if (ParseRoot(element) != 0) {
        rooted_ = true;
        status_ = WReadStatus::kRead;
    }
}

WParser::~WParser() = default;

int32_t WParser::ParseRoot(const WDOMHandle& root) {
    const detail::Attributes attributes(root);
    const std::optional<detail::ViewBox> viewBox = detail::ViewBoxOf(attributes);
    if (viewBox && !(viewBox->width > 0 && viewBox->height > 0)) {
        status_ = WReadStatus::kEmptyViewBox;
        return 0;
    }

    // Lengths of the root count at 96 user units (CSS pixels) to the inch.
    Current() = WMatrix(kHostPerUser, 0, 0, kHostPerUser, 0, 0);
    UpdateInverse();
    WLength width = attributes.Length(attribute::kWidth);
    WLength height = attributes.Length(attribute::kHeight);
    // A share of a viewport the document does not have (width="100%") is
    // no size: the view box, else the content, gives it.
    const bool hasWidth = width.kind != unit::kNone && width.kind != unit::kPercent;
    const bool hasHeight = height.kind != unit::kNone && height.kind != unit::kPercent;
    LengthToHost(width, kHorizontal);
    LengthToHost(height, kVertical);
    if (viewBox) {
        // A missing side keeps the view box's proportions; with neither
        // side the view box's own size counts, in user units.
        if (!hasWidth && !hasHeight) {
            width.value = viewBox->width * kHostPerUser;
            height.value = viewBox->height * kHostPerUser;
        } else if (!hasWidth) {
            width.value = height.value * viewBox->width / viewBox->height;
        } else if (!hasHeight) {
            height.value = width.value * viewBox->height / viewBox->width;
        }
    } else {
        // Without a view box a missing side reaches as far as the content.
        if (!hasWidth) width.value = 0;
        if (!hasHeight) height.value = 0;
        measureWidth_ = !hasWidth;
        measureHeight_ = !hasHeight;
    }
    rootViewBox_ = viewBox.has_value();
    SetRootSize(width.value, height.value);
    return 1;
}

void WParser::SetRootSize(double width, double height) {
    const detail::Attributes attributes(root_);
    WMatrix matrix(kHostPerUser, 0, 0, -kHostPerUser, 0, height);
    if (const std::optional<detail::ViewBox> viewBox = detail::ViewBoxOf(attributes); viewBox && rootViewBox_) {
        // The view box fitted into the page as preserveAspectRatio says.
        const ViewportRegion page{0, 0, width / kHostPerUser, height / kHostPerUser};
        matrix.Multiply(detail::ViewBoxMatrix(*viewBox, detail::AspectRatioOf(attributes), page));
    }
    SetRoot(matrix, width, height);
    if (rootViewBox_) {
        // Percentages count from the view box.
        if (const std::optional<detail::ViewBox> viewBox = detail::ViewBoxOf(attributes))
            SetViewport(viewBox->width, viewBox->height);
    }
}

std::vector<std::string> WParser::DescribeLimitsMet() const {
    std::vector<std::string> lines;
    if (limitsMet_.instanced) {
        lines.push_back("drawing stopped after " + std::to_string(limits_.instanced) +
                        " elements inside `use` instances; the rest was left out");
    }
    if (limitsMet_.nestedBuilds) {
        lines.push_back("an element's style stopped after " + std::to_string(limits_.nestedBuilds) +
                        " nested definitions; the rest was left out");
    }
    if (limitsMet_.depth) {
        lines.push_back("elements or references nested deeper than " + std::to_string(kMaxDepth) +
                        " levels were left out");
    }
    return lines;
}

int32_t WParser::Parse(WCanvas* canvas) {
    if (canvas == nullptr || !rooted_) return 0;
    IndexIds(root_, 0);
    if (measureWidth_ || measureHeight_) MeasureRoot();
    canvas_ = canvas;
    instanced_ = 0;
    if (Displayed(root_)) {
        detail::Visit visit(drawing_, root_);
        DrawRoot();
    }
    ids_.clear();
    canvas_ = nullptr;
    return 1;
}

void WParser::MeasureRoot() {
    // The content drawn once where a page of no height would put it: its
    // far corner gives the missing sides.
    detail::BoundsCanvas bounds;
    canvas_ = &bounds;
    instanced_ = 0;
    {
        detail::Visit visit(drawing_, root_);
        DrawRoot();
    }
    canvas_ = nullptr;
    const double width = measureWidth_ ? std::max(bounds.Right(), 0.0) : Width();
    const double height = measureHeight_ ? std::max(Height() - bounds.Bottom(), 0.0) : Height();
    SetRootSize(width, height);
}

void WParser::IndexIds(const WDOMHandle& node, int depth) {
    const uint16_t type = node.GetNodeType();
    if (type == markup::kDOMDocumentNode) throw WParserException();
    if (type != markup::kDOMElementNode || depth > kMaxDepth) return;
    const detail::Attributes attributes(node);
    NotePrefixes(attributes);
    // A later element with the same id replaces the earlier one.
    if (const std::string* id = attributes.Find(attribute::kId)) ids_[*id] = node;
    for (WDOMHandle child = node.GetFirstChild(); !child.IsNull(); child = child.GetNextSibling()) {
        IndexIds(child, depth + 1);
    }
}

int32_t WParser::DrawNode(const WDOMHandle& node) {
    switch (node.GetNodeType()) {
        case markup::kDOMElementNode:
            return DrawElement(node);
        case markup::kDOMDocumentNode:
            throw WParserException();
        default:
            return 1;
    }
}

int32_t WParser::WalkChildren(const WDOMHandle& node) {
    int32_t result = 0;
    for (WDOMHandle child = node.GetFirstChild(); !child.IsNull(); child = child.GetNextSibling()) {
        result = DrawNode(child);
    }
    return result;
}

int32_t WParser::DrawElement(const WDOMHandle& element) {
    // An element met again inside itself (through `use`) or nested too
    // deep is not drawn.
    detail::Visit visit(drawing_, element);
    if (!visit.Entered()) {
        if (visit.TooDeep()) limitsMet_.depth = true;
        return 0;
    }
    if (uses_ > 0 && ++instanced_ > limits_.instanced) {
        limitsMet_.instanced = true;
        return 0;
    }
    // Elements of other namespaces, and those whose conditions fail, draw
    // nothing.
    {
        const detail::Attributes conditions(element);
        if (Foreign(element, conditions) || !detail::ConditionsHold(conditions)) return 1;
    }
    // em and ex of the element's lengths count from its own font size;
    // display: none draws nothing of the element or its subtree (a
    // definition is drawn only through references and stays usable).
    const double parentFont = FontSize();
    SetFontSize(FontSizeOf(element));
    const int32_t result = Displayed(element) ? DrawByKind(element) : 1;
    SetFontSize(parentFont);
    // Once drawn, the element's style is not asked for again but through a
    // reference (which has it computed anew): it goes now, so that only the
    // styles of the elements being drawn are held.
    ForgetStyle();
    if (styles_ != nullptr) styles_->Release(element);
    return result;
}

int32_t WParser::DrawByKind(const WDOMHandle& element) {
    switch (KindOf(element)) {
        case element::kG:
            return DoGroup(element);
        case element::kDefs:
        case element::kLinearGradient:
        case element::kRadialGradient:
        case element::kPattern:
        case element::kClipPath:
        case element::kMask:
            return 1;  // drawn only through references
        case element::kPath:
            return DoPath(element);
        case element::kText:
            return DoText(element);
        case element::kRect:
            return DoRect(element);
        case element::kCircle:
            return DoEllipse(element, true);
        case element::kEllipse:
            return DoEllipse(element, false);
        case element::kLine:
            return DoLine(element);
        case element::kPolyline:
            return DoPoly(element, false);
        case element::kPolygon:
            return DoPoly(element, true);
        case element::kUse:
            return DoUse(element);
        case element::kImage:
            return DoImage(element);
        case element::kSwitch:
            return DoSwitch(element);
        case element::kA:
            return DoAnchor(element);
        case element::kSvg:
            return DoNestedSvg(element);
        case kUnknownName:
            if (IsReferencedOnly(detail::NameOf(element))) return 1;
            return WalkChildren(element);
        default:  // svg, desc, title, stop
            return WalkChildren(element);
    }
}

double WParser::FontSizeOf(const WDOMHandle& element) {
    WComputedStyle style;
    if (styles_ == nullptr || !styles_->GetStyle(element, &style) || !style.font || !style.font->size)
        return FontSize();
    const WStyleNumber size = *style.font->size;
    if (!(size.value > 0) || !std::isfinite(size.value)) return FontSize();
    switch (size.unit) {
        case style_unit::kPx:
        case style_unit::kNumber:
            return size.value;
        case style_unit::kPercent:
            return FontSize() * size.value / 100;
        default:
            return FontSize();
    }
}

WDOMHandle WParser::ResolveHref(std::string_view text) const {
    std::string_view id;
    if (text.size() >= 3 && (text.substr(0, 3) == "url" || text.substr(0, 3) == "URL")) {
        const size_t open = text.find('(');
        if (open == std::string_view::npos) return {};
        size_t i = open + 1;
        while (i < text.size() && IsWhiteSpace(text[i])) ++i;
        if (i >= text.size() || text[i] != '#') return {};
        const size_t close = text.find(')', i);
        id = text.substr(i + 1, close == std::string_view::npos ? std::string_view::npos : close - i - 1);
        while (!id.empty() && IsWhiteSpace(id.back())) id.remove_suffix(1);
    } else if (!text.empty() && text.front() == '#') {
        id = text.substr(1);
    } else {
        return {};
    }
    const auto hit = ids_.find(id);
    return hit == ids_.end() ? WDOMHandle() : hit->second;
}

WDOMHandle WParser::Resolve(const WStyleReference& reference) const {
    if (!reference.element.IsNull()) return reference.element;
    return ResolveHref(reference.text);
}

const WDefsObject* WParser::ResolveReference(const WDOMHandle& element, const WBox* box) {
    if (element.IsNull()) return nullptr;
    switch (detail::ElementIdOf(element)) {
        case element::kLinearGradient:
        case element::kRadialGradient:
            return definitions_.Keep(BuildGradient(element, box));
        case element::kPattern:
            return definitions_.Keep(BuildPattern(element, box));
        case element::kMask:
            return definitions_.Keep(BuildMask(element, box));
        default:
            return nullptr;
    }
}

int32_t WParser::DrawPatternTile(const WPatternTile& tile) {
    if (tile.pattern == nullptr) return 0;
    const auto* node = std::any_cast<WDOMHandle>(&tile.pattern->node);
    if (node == nullptr || node->IsNull()) return 0;
    WCanvas* const saved = canvas_;
    if (tile.canvas != nullptr) canvas_ = tile.canvas;
    if (canvas_ == nullptr) return 0;
    const double opacity = opacity_;
    {
        detail::MatrixFrame frame(*this);
        Current() = tile.matrix;
        UpdateInverse();
        // The tile's content is opaque but for its own opacities: the
        // filled object's transparency applies to the whole fill.
        opacity_ = 1;
        detail::Visit visit(drawing_, *node);
        if (visit.Entered()) WalkChildren(*node);
    }
    opacity_ = opacity;
    canvas_ = saved;
    return 1;
}

}  // namespace SVG
