// Structure: groups, links, `use` instances and `switch` choices. Every
// group and link the canvas opens is closed again, whatever its content.
#include <algorithm>
#include <cctype>

#include "reader_detail.h"

namespace SVG {

using markup::WDOMHandle;

namespace {

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

template <typename Body>
int32_t WParser::InViewport(const WDOMHandle& owner, const ViewportRegion& region, Body body) {
    // A viewport without area, or a view box without it, shows nothing.
    if (!(region.width > 0 && region.height > 0)) return 1;
    const detail::Attributes attributes(owner);
    const std::optional<detail::ViewBox> box = detail::ViewBoxOf(attributes);
    if (box && !(box->width > 0 && box->height > 0)) return 1;
    if (canvas_ == nullptr) return 0;
    const double outerWidth = ViewportWidth();
    const double outerHeight = ViewportHeight();
    int32_t result = 0;
    {
        detail::MatrixFrame frame(*this);
        WGroup group;
        group.matrix = Current();
        if (!detail::OverflowShown(attributes)) {
            auto clip = std::make_unique<WClippath>();
            auto rectangle = std::make_unique<WRectangle>();
            rectangle->Place(Current(), region.x, region.y, region.width, region.height);
            clip->shapes.push_back(std::move(rectangle));
            group.presentation.clipPath = std::move(clip);
        }
        if (canvas_->BeginGroup(group) != 0) {
            if (box) {
                frame.Compose(detail::ViewBoxMatrix(*box, detail::AspectRatioOf(attributes), region));
                SetViewport(box->width, box->height);
            } else {
                frame.Compose(WMatrix(1, 0, 0, 1, region.x, region.y));
                SetViewport(region.width, region.height);
            }
            body();
            result = canvas_->EndGroup(group) != 0 ? 1 : 0;
        }
        group.ReleasePresentation();
    }
    SetViewport(outerWidth, outerHeight);
    return result;
}

int32_t WParser::DoNestedSvg(const WDOMHandle& element, const WLength* width, const WLength* height) {
    const detail::Attributes attributes(element);
    const WLength whole{100, unit::kPercent};
    const auto size = [&](const WLength* given, int32_t id, int32_t axis) {
        WLength length = given != nullptr && given->kind != unit::kNone ? *given : attributes.Length(id);
        if (length.kind == unit::kNone) length = whole;
        return detail::UserLength(*this, length, axis);
    };
    // Its x, y and sizes count in the space around it, before its own
    // transform (which SVG 2 allows) places the viewport.
    const ViewportRegion region{detail::UserLength(*this, attributes.Length(attribute::kX), kHorizontal),
                                detail::UserLength(*this, attributes.Length(attribute::kY), kVertical),
                                size(width, attribute::kWidth, kHorizontal),
                                size(height, attribute::kHeight, kVertical)};
    return InGroup(element, detail::TransformOf(attributes),
                   [&] { InViewport(element, region, [&] { WalkChildren(element); }); });
}

int32_t WParser::DrawRoot() {
    // The root's own transform (as SVG 2 allows), clip path and mask apply
    // to the whole drawing: its content goes in a group of them, when it
    // has any; the group, or the walk without one, takes its opacity.
    const detail::Attributes attributes(root_);
    const WComputedStyle style = StyleOf(root_);
    const bool grouped =
        attributes.Find(attribute::kTransform) != nullptr || !style.clipPath.Empty() || !style.mask.Empty();
    opacity_ = 1;
    int32_t result = 0;
    if (grouped) {
        result = InGroup(root_, detail::TransformOf(attributes), [&] { WalkChildren(root_); });
    } else {
        opacity_ = OpacityWithin(root_);
        result = WalkChildren(root_);
    }
    opacity_ = 1;
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
    // A link places its content by its own transform, as a group does.
    detail::MatrixFrame frame(*this);
    frame.Compose(detail::TransformOf(attributes));
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
    const WLength width = attributes.Length(attribute::kWidth);
    const WLength height = attributes.Length(attribute::kHeight);
    const int32_t opened = InGroup(element, local, [&] {
        // The instance's content inherits from the use.
        ForgetStyle();
        InstanceScope instance(styles_, element, target);
        if (detail::NameOf(target) == "symbol") {
            // A symbol's instance is a viewport of the use's size (the
            // whole of the viewport around it by default).
            const WLength whole{100, unit::kPercent};
            const ViewportRegion region{0, 0,
                                        detail::UserLength(*this, width.kind != unit::kNone ? width : whole, kHorizontal),
                                        detail::UserLength(*this, height.kind != unit::kNone ? height : whole, kVertical)};
            detail::Visit visit(drawing_, target);
            if (!visit.Entered()) return;
            // The symbol instance is a group of its own: its opacity counts.
            const double opacity = opacity_;
            opacity_ = OpacityWithin(target);
            if (opacity_ > 0) InViewport(target, region, [&] { drawn = WalkChildren(target); });
            opacity_ = opacity;
        } else if (detail::ElementIdOf(target) == element::kSvg) {
            // The use's sizes, where given, stand for the svg's own.
            detail::Visit visit(drawing_, target);
            if (visit.Entered()) drawn = DoNestedSvg(target, &width, &height);
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
    // A switch is a group: its transform and style hold for the child it
    // draws, the first whose conditions hold (and that is SVG's).
    const detail::Attributes attributes(element);
    int32_t result = 1;
    InGroup(element, detail::TransformOf(attributes), [&] {
        for (WDOMHandle child = element.GetFirstChild(); !child.IsNull(); child = child.GetNextSibling()) {
            if (child.GetNodeType() != markup::kDOMElementNode) continue;
            const detail::Attributes conditions(child);
            if (Foreign(child, conditions) || !detail::ConditionsHold(conditions)) continue;
            result = DrawNode(child);
            return;
        }
    });
    return result;
}

}  // namespace SVG
