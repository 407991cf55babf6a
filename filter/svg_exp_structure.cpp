// The drawing's nesting: groups, object groups, links with their hot spots,
// clip groups with their clip paths, and transformed groups. Each begin
// remembers what it opened, so that its end closes exactly that.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "svg_elements.h"
#include "svg_exp.h"
#include "svg_writer.h"

namespace svgf {
namespace {

// What a group begin opened, as its end finds it on the group stack.
constexpr uint32_t kGroupOnly = 0;
constexpr uint32_t kGroupAndAnchor = 1;
constexpr uint32_t kOpenedNothing = 2;

const HostLink* LinkOf(const void* link) {
    const auto* l = static_cast<const HostLink*>(link);
    if (l == nullptr || l->data == nullptr || l->data->url == nullptr) return nullptr;
    return l;
}

}  // namespace

int32_t SVGExp::BeginGroup() {
    if (nesting_ <= 0) return kDone;
    SVGGroup group;
    if (writer_ == nullptr || writer_->BeginGroup(group) == 0) {
        groupStack_.push_back(kOpenedNothing);
        return kFailed;
    }
    groupStack_.push_back(kGroupOnly);
    return kDone;
}

int32_t SVGExp::BeginObjectGroup(const void* link) {
    if (nesting_ <= 0) return kDone;
    SVGGroup group;
    if (writer_ == nullptr || writer_->BeginGroup(group) == 0) {
        groupStack_.push_back(kOpenedNothing);
        return kFailed;
    }
    const HostLink* l = LinkOf(link);
    if (l != nullptr && OpenAnchor(*l) != 0) {
        urlStack_.emplace_back(l->data->url);
        groupStack_.push_back(kGroupAndAnchor);
    } else {
        groupStack_.push_back(kGroupOnly);
    }
    return kDone;
}

int32_t SVGExp::EndGroup() {
    if (nesting_ <= 0) return kDone;
    // An end without its begin closes nothing.
    if (groupStack_.empty()) return kDone;
    const uint32_t opened = groupStack_.back();
    groupStack_.pop_back();
    if (opened == kOpenedNothing) return kDone;
    bool ok = true;
    // The anchor sits inside the group, so it closes first.
    if (opened == kGroupAndAnchor) {
        ok = writer_->EndAnchor() != 0;
        if (!urlStack_.empty()) urlStack_.pop_back();
    }
    ok = writer_->EndGroup() != 0 && ok;
    return ok ? kDone : kFailed;
}

int32_t SVGExp::BeginLink(const void* link) {
    const HostLink* l = LinkOf(link);
    if (l != nullptr && writer_ != nullptr && OpenAnchor(*l) != 0) {
        urlStack_.emplace_back(l->data->url);
        linkStack_.push_back(1);
    } else {
        linkStack_.push_back(0);
    }
    return kDone;
}

int32_t SVGExp::EndLink() {
    if (linkStack_.empty()) return kDone;
    if (linkStack_.back() == 1) {
        writer_->EndAnchor();
        if (!urlStack_.empty()) urlStack_.pop_back();
    }
    linkStack_.pop_back();
    return kDone;
}

int32_t SVGExp::OpenAnchor(const HostLink& link) {
    const char* url = link.data->url;
    // Nested reports of one link give one anchor.
    if (!urlStack_.empty() && urlStack_.back() == url) return 0;
    SVGAnchor anchor;
    anchor.href = url;
    if (writer_->BeginAnchor(anchor) == 0) return 0;
    if (link.data->noHotSpot == 0 && link.box != nullptr) {
        // An invisible rectangle over the link's area, so that the area is
        // the link's even where nothing is drawn.
        const HostPoint a = ConvertPoint({link.box->left, link.box->top});
        const HostPoint b = ConvertPoint({link.box->right, link.box->bottom});
        SVGRectangle hotSpot;
        hotSpot.x = std::min(a.x, b.x);
        hotSpot.y = std::min(a.y, b.y);
        hotSpot.width = std::abs(b.x - a.x);
        hotSpot.height = std::abs(b.y - a.y);
        const HostAttributes none{};
        ResolveFill(hotSpot, &none, nullptr);
        writer_->WriteElement(hotSpot);
    }
    return 1;
}

int32_t SVGExp::BuildClipPath(const ClipRecord* clip, std::string& name) {
    name.clear();
    if (clip == nullptr) return kFailed;
    std::unique_ptr<SVGObject> shape;
    switch (clip->kind) {
        case 3: {
            // r1..r4: top, left, bottom, right, converted like any point.
            const HostPoint a = ConvertPoint({clip->shape.rect[1], clip->shape.rect[0]});
            const HostPoint b = ConvertPoint({clip->shape.rect[3], clip->shape.rect[2]});
            auto rectangle = std::make_unique<SVGRectangle>();
            rectangle->x = std::min(a.x, b.x);
            rectangle->y = std::min(a.y, b.y);
            rectangle->width = std::abs(b.x - a.x);
            rectangle->height = std::abs(b.y - a.y);
            shape = std::move(rectangle);
            break;
        }
        case 4: {
            auto path = std::make_unique<SVGPath>();
            const PathRecord record{nullptr, clip->shape.path.nodeCount & 0xFFFF, clip->shape.path.points,
                                    clip->shape.path.nodeTypes, nullptr};
            if (FormatPathData(path->pathData, record) != kDone) return kFailed;
            shape = std::move(path);
            break;
        }
        case 1:
        case 2:
            return kFailed;
        default:
            // Not a clip SVG knows: the group is opened unclipped.
            return kDone;
    }
    if (writer_ == nullptr) return kFailed;
    SVGClipPath clipPath;
    clipPath.id.SetNumber(writer_->NextDefinitionNumber());
    clipPath.shape = std::move(shape);
    // Clip paths go to the document's definitions, indented as its children.
    SVGWriteState state = writer_->WriteState();
    state.depth = 2;
    if (writer_->WriteDefinitionText(clipPath.Write(state)) == 0) return kFailed;
    name = clipPath.id.Name();
    return kDone;
}

int32_t SVGExp::BeginClipGroup(HostWord clip, HostWord) {
    std::string name;
    const int32_t built = BuildClipPath(reinterpret_cast<const ClipRecord*>(clip), name);
    if (built != kDone) {
        clipStack_.push_back(0);
        return built;
    }
    SVGGroup group;
    group.style.clip = name;
    if (writer_ == nullptr || writer_->BeginGroup(group) == 0) {
        clipStack_.push_back(0);
        return kFailed;
    }
    clipStack_.push_back(1);
    return kDone;
}

int32_t SVGExp::EndClipGroup() {
    if (clipStack_.empty()) return kDone;
    const uint32_t opened = clipStack_.back();
    clipStack_.pop_back();
    if (opened == 0) return kDone;
    return writer_->EndGroup() != 0 ? kDone : kFailed;
}

int32_t SVGExp::BuildSvgMatrix(double out[6], const HostMatrix& host) {
    const auto identity = Service<svc::MatrixIdentityFn>(svc::kMatrixIdentity);
    const auto combine = Service<svc::MatrixCombineFn>(svc::kMatrixCombine);
    const auto translate = Service<svc::MatrixTranslateFn>(svc::kMatrixTranslate);
    const auto scale = Service<svc::MatrixScaleFn>(svc::kMatrixScale);
    if (identity == nullptr || combine == nullptr || translate == nullptr || scale == nullptr ||
        scale_ == 0) {
        return kFailed;
    }
    // User space to host space, the host's matrix, and back: user units
    // become host units, y flips about the page top, and the reverse.
    const HostMatrix toHost{{1 / scale_, 0, 0, 0, 1 / scale_, 0}};
    const HostMatrix toUser{{scale_, 0, 0, 0, scale_, 0}};
    HostMatrix m;
    identity(&m);
    combine(&m, &toHost);
    translate(&m, 0, -hostTop_);
    scale(&m, 1.0, -1.0, 0.0);
    combine(&m, &host);
    scale(&m, 1.0, -1.0, 0.0);
    translate(&m, 0, hostTop_);
    combine(&m, &toUser);
    // SVG lists a b c d e f column by column.
    const double svg[6] = {m.m[0], m.m[3], m.m[1], m.m[4], m.m[2], m.m[5]};
    std::memcpy(out, svg, sizeof svg);
    return kDone;
}

int32_t SVGExp::BeginTransform(const TransformRecord* transform) {
    if (transform == nullptr) return kFailed;
    text_.record = *transform;
    text_.matrix = transform->matrix != nullptr ? *transform->matrix : HostMatrix{{1, 0, 0, 0, 1, 0}};
    // A font handle still held would be lost once dropped.
    ReleaseHostFont();
    const double* m = text_.matrix.m;
    if (m[3] == 0 && m[1] == 0 && m[0] == m[4]) {
        // Offsets and a factor only: the text applies them itself.
        text_.offsetX = RoundHalfAway(m[2]);
        text_.offsetY = RoundHalfAway(m[5]);
        text_.factor = m[0];
        transformStack_.push_back(0);
        return kDone;
    }
    text_.offsetX = 0;
    text_.offsetY = 0;
    text_.factor = 1.0;
    double svg[6];
    SVGGroup group;
    if (BuildSvgMatrix(svg, text_.matrix) != kDone) {
        transformStack_.push_back(0);
        return kFailed;
    }
    group.AddMatrix(svg[0], svg[1], svg[2], svg[3], svg[4], svg[5]);
    if (writer_ == nullptr || writer_->BeginGroup(group) == 0) {
        transformStack_.push_back(0);
        return kFailed;
    }
    transformStack_.push_back(1);
    return kDone;
}

int32_t SVGExp::EndTransform() {
    ReleaseHostFont();
    if (transformStack_.empty()) return kDone;
    const uint32_t opened = transformStack_.back();
    transformStack_.pop_back();
    if (opened != 0) writer_->EndGroup();
    return kDone;
}

int32_t SVGExp::ResetFlag() {
    // The transformed group stays open for the host to end as a group: it
    // moves from the transform's bookkeeping to the group stack.
    if (nesting_ != 0 && !transformStack_.empty() && transformStack_.back() != 0) {
        transformStack_.back() = 0;
        groupStack_.push_back(kGroupOnly);
    }
    return kDone;
}

void SVGExp::ReleaseHostFont() {
    if (font_.hostFont == 0) return;
    if (const auto release = Service<svc::ReleaseFontFn>(svc::kReleaseFont)) release(font_.hostFont);
    font_.hostFont = 0;
}

}  // namespace svgf
