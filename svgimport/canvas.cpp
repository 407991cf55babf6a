// The canvas's frame: its callback record with the host, groups, links,
// clip shapes and the pattern tiles the host asks for.
#include "svgimport/canvas.h"

#include <cmath>
#include <utility>

#include "canvas_detail.h"
#include "platform/files.h"
#include "svgimport/even_odd.h"

namespace SVG {

using detail::TruncateHost;

WTileDrawer::~WTileDrawer() = default;
WCanvas::~WCanvas() = default;

std::optional<WPictureSize> WCanvas::PictureSize(std::string_view) {
    return std::nullopt;
}

double WCanvas::MeasureText(const WText& text) {
    const WFont* font = text.presentation.font.get();
    if (font == nullptr || !std::isfinite(font->size.value)) return 0;
    return std::fabs(font->size.value) * 0.5 * static_cast<double>(text.text.WideLength());
}

int32_t WCanvas::OnHostCallback(svgf::HostHandle, const WPatternTile*, svgf::HostWord) {
    return 0;
}

int32_t SVGF_CALL WCanvasHostCallback(svgf::HostHandle target, uintptr_t tile, uintptr_t value) {
    const auto* record = reinterpret_cast<const WPatternTile*>(tile);
    if (record == nullptr || record->canvas == nullptr) return 0;
    return record->canvas->OnHostCallback(target, record, value);
}

WCanvas_UDI::WCanvas_UDI(svgf::HostHandle handle, WContinuationFn continuation, void* continuationValue,
                         WZoomMgr* zoom, uint32_t hostValue, WTileDrawer* reader, svgf::FilterContext* context)
    : current_(handle),
      continuation_(continuation),
      continuationValue_(continuationValue),
      zoom_(zoom),
      hostValue_(hostValue),
      reader_(reader),
      handle_(handle),
      context_(context) {
    installed_.callback = &WCanvasHostCallback;
    if (const auto exchange = Drawing<svgf::draw::ExchangeCallbackFn>(svgf::draw::kExchangeCallback)) {
        exchange(handle_, &installed_, &saved_);
    }
}

WCanvas_UDI::~WCanvas_UDI() {
    if (const auto exchange = Drawing<svgf::draw::ExchangeCallbackFn>(svgf::draw::kExchangeCallback)) {
        const svgf::HostCallbackRecord restore = saved_;
        svgf::HostCallbackRecord ours{};
        exchange(handle_, &restore, &ours);
    }
    // The host has taken the embedded pictures it was handed.
    for (const std::string& path : pictureFiles_) platform::SystemFiles().Remove(path);
}

const svgf::HostServiceTable* WCanvas_UDI::Services() const {
    return context_ != nullptr ? context_->services : nullptr;
}

bool WCanvas_UDI::Continue() const {
    return continuation_ == nullptr || continuation_(continuationValue_) != 0;
}

int32_t WCanvas_UDI::BeginGroup(const WGroup& group) {
    // A group clipped away shows nothing: it is refused, its content unread.
    const WClippath* clip = group.presentation.clipPath.get();
    if (clip != nullptr && clip->clipsAll) return 0;
    PushClipPaths(group.presentation.clipPath.get());
    if (const auto begin = Drawing<svgf::draw::BeginGroupFn>(svgf::draw::kBeginGroup)) begin(current_);
    return 1;
}

int32_t WCanvas_UDI::EndGroup(const WGroup& group) {
    if (const auto end = Drawing<svgf::draw::EndGroupFn>(svgf::draw::kEndGroup)) end(current_);
    PopClipPaths(group.presentation.clipPath.get());
    return 1;
}

int32_t WCanvas_UDI::BeginAnchor(const WAnchor& anchor) {
    anchors_.push_back(anchor.href);
    return 1;
}

int32_t WCanvas_UDI::EndAnchor() {
    if (!anchors_.empty()) anchors_.pop_back();
    return 1;
}

int32_t WCanvas_UDI::OnHostCallback(svgf::HostHandle target, const WPatternTile* tile, svgf::HostWord) {
    if (tile == nullptr) return 0;
    const svgf::HostHandle saved = current_;
    current_ = target;
    // A tile's content lies outside the links around the filled object.
    std::vector<WString> links;
    links.swap(anchors_);
    const void* drawing = tile->pattern != nullptr && tile->pattern->element != nullptr
                              ? tile->pattern->element
                              : static_cast<const void*>(tile->pattern);
    drawingTiles_.push_back(drawing);
    if (tile->reader != nullptr && tile->pattern != nullptr) tile->reader->DrawPatternTile(*tile);
    drawingTiles_.pop_back();
    anchors_.swap(links);
    current_ = saved;
    return 1;
}

void WCanvas_UDI::PushClipPaths(const WClippath* clip) {
    if (clip == nullptr) return;
    // A clip path's own clip-path clips it: its region is the common part.
    PushClipPaths(clip->presentation.clipPath.get());
    if (clip->shapes.empty()) return;
    auto frame = std::make_unique<ClipFrame>();
    frame->clip = clip;
    frame->records.reserve(clip->shapes.size());
    for (const std::unique_ptr<WGraphicsPrimitive>& shape : clip->shapes) {
        svgf::HostClipRecord record{};
        if (shape != nullptr && shape->kind() == kind::kRectangle) {
            const auto& r = static_cast<const WRectangle&>(*shape);
            const detail::ShapeFrame f = detail::FrameOf(r.matrix);
            const WPoint m{r.x + r.width / 2, r.y + r.height / 2};
            if (f.straight) {
                const double w = r.width * std::fabs(f.u.x) + r.height * std::fabs(f.w.x);
                const double h = r.width * std::fabs(f.u.y) + r.height * std::fabs(f.w.y);
                record.clip.kind = svgf::kClipRectangle;
                record.clip.shape.rect[0] = TruncateHost(m.y + h / 2);
                record.clip.shape.rect[1] = TruncateHost(m.x - w / 2);
                record.clip.shape.rect[2] = TruncateHost(m.y - h / 2);
                record.clip.shape.rect[3] = TruncateHost(m.x + w / 2);
            } else {
                // A turned rectangle clips as the path of its corners.
                const WPoint u{f.u.x * r.width / 2, f.u.y * r.width / 2};
                const WPoint w{f.w.x * r.height / 2, f.w.y * r.height / 2};
                const WPoint corners[4] = {{m.x - u.x - w.x, m.y - u.y - w.y},
                                           {m.x + u.x - w.x, m.y + u.y - w.y},
                                           {m.x + u.x + w.x, m.y + u.y + w.y},
                                           {m.x - u.x + w.x, m.y - u.y + w.y}};
                std::vector<svgf::HostPoint> points;
                for (const WPoint& c : corners) points.push_back({TruncateHost(c.x), TruncateHost(c.y)});
                points.push_back(points.front());
                frame->points.push_back(std::move(points));
                frame->kinds.emplace_back(detail::kClosedQuad.begin(), detail::kClosedQuad.end());
                record.clip.kind = svgf::kClipPath;
                record.clip.shape.path = {5, frame->points.back().data(), frame->kinds.back().data(), 0};
            }
        } else if (shape != nullptr && shape->kind() == kind::kPath) {
            const auto& p = static_cast<const WPath&>(*shape);
            record.clip.kind = svgf::kClipPath;
            record.clip.shape.path = {p.Count(), p.points.data(), p.kinds.data(), 0};
            if (p.presentation.clipEvenOdd && p.points.size() == p.kinds.size()) {
                // The even-odd clip rule, as the host's non-zero one.
                frame->points.push_back(p.points);
                frame->kinds.push_back(p.kinds);
                OrientForEvenOdd(frame->points.back(), frame->kinds.back());
                record.clip.shape.path = {p.Count(), frame->points.back().data(), frame->kinds.back().data(), 0};
            }
        }
        frame->records.push_back(record);
    }
    const auto push = Drawing<svgf::draw::PushClipFn>(svgf::draw::kPushClip);
    for (const svgf::HostClipRecord& record : frame->records) {
        if (push != nullptr) push(current_, &record, 1);
    }
    clips_.push_back(std::move(frame));
}

void WCanvas_UDI::PopClipPaths(const WClippath* clip) {
    if (clip == nullptr) return;
    if (!clip->shapes.empty()) {
        const auto pop = Drawing<svgf::draw::PopClipFn>(svgf::draw::kPopClip);
        for (size_t i = 0; i < clip->shapes.size(); ++i) {
            if (pop != nullptr) pop(current_);
        }
        if (!clips_.empty() && clips_.back()->clip == clip) clips_.pop_back();
    }
    PopClipPaths(clip->presentation.clipPath.get());
}

}  // namespace SVG
