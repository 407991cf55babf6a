// The drawing table of the import side: plain entries that find the import
// side of the current host, log the call with its records and add what it
// draws to the description.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "description.h"
#include "host/export_geometry.h"
#include "host/import/import_host.h"
#include "json_text.h"
#include "record_text.h"

namespace host::import {
namespace {

using svgf::HostAttributes;
using svgf::HostHandle;
using svgf::HostMatrix;
using svgf::HostPoint;
using svgf::HostRect;
using svgf::HostWord;

// Times the host's own part of a drawing call, when the import side counts
// it (the outermost call only: a pattern tile's calls run inside one).
class HostClock {
  public:
    explicit HostClock(ImportHost* import) : import_(import != nullptr && import->Timing() ? import : nullptr) {
        if (import_ != nullptr && depth_++ == 0) start_ = std::chrono::steady_clock::now();
    }
    ~HostClock() {
        if (import_ != nullptr && --depth_ == 0) import_->AddHostTime(std::chrono::steady_clock::now() - start_);
    }
    HostClock(const HostClock&) = delete;
    HostClock& operator=(const HostClock&) = delete;

  private:
    ImportHost* import_;
    std::chrono::steady_clock::time_point start_;
    static inline thread_local int depth_ = 0;
};

// The longest text a text entry may carry.
constexpr int32_t kMaxTextLength = 1 << 20;

int32_t SVGF_CALL BeginGroup(HostHandle handle) {
    if (ImportHost* import = CurrentImport()) {
        const HostClock clock(import);
        import->OnBeginGroup(handle);
    }
    return 1;
}

int32_t SVGF_CALL EndGroup(HostHandle handle) {
    if (ImportHost* import = CurrentImport()) {
        const HostClock clock(import);
        import->OnEndGroup(handle);
    }
    return 1;
}

int32_t SVGF_CALL PushClip(HostHandle handle, const svgf::HostClipRecord* clip, int32_t one) {
    if (ImportHost* import = CurrentImport()) {
        const HostClock clock(import);
        import->OnPushClip(handle, clip, one);
    }
    return 1;
}

int32_t SVGF_CALL PopClip(HostHandle handle) {
    if (ImportHost* import = CurrentImport()) {
        const HostClock clock(import);
        import->OnPopClip(handle);
    }
    return 1;
}

int32_t SVGF_CALL Image(HostHandle handle, const HostAttributes* attributes, HostWord picture, HostWord word,
                        const HostRect* box, const HostMatrix* transform, const HostRect* box2,
                        const HostRect* box3, HostWord zero) {
    if (ImportHost* import = CurrentImport()) {
        const HostClock clock(import);
        import->OnImage(handle, attributes, picture, word, box, transform, box2, box3, zero);
    }
    return 1;
}

int32_t SVGF_CALL Rectangle(HostHandle handle, const HostAttributes* attributes, int32_t cx, int32_t cy,
                            int32_t width, int32_t height, int32_t corner, HostWord further, const HostRect* box,
                            HostWord zero) {
    if (ImportHost* import = CurrentImport()) {
        const HostClock clock(import);
        import->OnRectangle(handle, attributes, cx, cy, width, height, corner, further, box, zero);
    }
    return 1;
}

int32_t SVGF_CALL Ellipse(HostHandle handle, const HostAttributes* attributes, int32_t cx, int32_t cy,
                          int32_t width, int32_t height, HostWord f5, HostWord f6, HostWord f7, HostWord f8,
                          const HostRect* box, HostWord zero) {
    const HostWord words[4] = {f5, f6, f7, f8};
    if (ImportHost* import = CurrentImport()) {
        const HostClock clock(import);
        import->OnEllipse(handle, attributes, cx, cy, width, height, words, box, zero);
    }
    return 1;
}

int32_t SVGF_CALL Path(HostHandle handle, const HostAttributes* attributes, uint32_t count,
                       const HostPoint* points, const uint8_t* kinds, const HostRect* box, HostWord zero) {
    if (ImportHost* import = CurrentImport()) {
        const HostClock clock(import);
        import->OnPath(handle, attributes, count, points, kinds, box, zero);
    }
    return 1;
}

int32_t SVGF_CALL Text(HostHandle handle, const HostAttributes* attributes, int32_t font, uint32_t styleWord,
                       int32_t size, HostWord zero, const HostMatrix* transform, const HostPoint* origins,
                       const uint16_t* text, int32_t count, const HostRect* box) {
    if (ImportHost* import = CurrentImport()) {
        const HostClock clock(import);
        import->OnText(handle, attributes, font, styleWord, size, zero, transform, origins, text, count, box);
    }
    return 1;
}

int32_t SVGF_CALL ExchangeCallback(HostHandle handle, const svgf::HostCallbackRecord* install,
                                   svgf::HostCallbackRecord* previous) {
    if (ImportHost* import = CurrentImport()) {
        const HostClock clock(import);
        import->OnExchangeCallback(handle, install, previous);
    }
    return 1;
}

// Checked at compile time against the interface's types.
constexpr svgf::draw::BeginGroupFn kBeginGroup = BeginGroup;
constexpr svgf::draw::EndGroupFn kEndGroup = EndGroup;
constexpr svgf::draw::PushClipFn kPushClip = PushClip;
constexpr svgf::draw::PopClipFn kPopClip = PopClip;
constexpr svgf::draw::ImageFn kImage = Image;
constexpr svgf::draw::RectangleFn kRectangle = Rectangle;
constexpr svgf::draw::EllipseFn kEllipse = Ellipse;
constexpr svgf::draw::PathFn kPath = Path;
constexpr svgf::draw::TextFn kText = Text;
constexpr svgf::draw::ExchangeCallbackFn kExchangeCallback = ExchangeCallback;

template <typename Fn>
svgf::HostServiceFn Entry(Fn fn) {
    return reinterpret_cast<svgf::HostServiceFn>(fn);
}

}  // namespace

void FillDrawingTable(svgf::HostDrawingTable& table) {
    namespace draw = svgf::draw;
    table.slot[draw::kBeginGroup] = Entry(kBeginGroup);
    table.slot[draw::kEndGroup] = Entry(kEndGroup);
    table.slot[draw::kPushClip] = Entry(kPushClip);
    table.slot[draw::kPopClip] = Entry(kPopClip);
    table.slot[draw::kImage] = Entry(kImage);
    table.slot[draw::kRectangle] = Entry(kRectangle);
    table.slot[draw::kEllipse] = Entry(kEllipse);
    table.slot[draw::kPath] = Entry(kPath);
    table.slot[draw::kText] = Entry(kText);
    table.slot[draw::kExchangeCallback] = Entry(kExchangeCallback);
}

// The call log's lines cost more than the description's text: they are made
// only when the log is kept.
void ImportHost::OnBeginGroup(HostHandle handle) {
    if (log_.Recording()) {
        log_.Line("BeginGroup handle=" + LogHex(handle));
    }
    log_.Indent();
    Open(handle, false, "\"kind\": \"group\"");
}

void ImportHost::OnEndGroup(HostHandle handle) {
    log_.Outdent();
    if (log_.Recording()) {
        log_.Line("EndGroup handle=" + LogHex(handle));
    }
    Close(handle, false);
}

void ImportHost::OnPushClip(HostHandle handle, const svgf::HostClipRecord* clip, int32_t one) {
    if (log_.Recording()) {
        log_.Line("PushClip handle=" + LogHex(handle) + " clip=" + LogClip(clip) + " " + Int(one));
    }
    log_.Indent();
    const auto found = targets_.find(handle);
    const svgf::HostPoint offset = found != targets_.end() ? OffsetOf(*found->second) : svgf::HostPoint{0, 0};
    std::string shape;
    if (clip != nullptr && clip->clip.kind == svgf::kClipRectangle) {
        const int32_t* r = clip->clip.shape.rect;
        shape = "{\"kind\": \"rectangle\", " + AreaMembers(HostRect{r[1], r[0], r[3], r[2]}, offset) + "}";
    } else if (clip != nullptr && clip->clip.kind == svgf::kClipPath) {
        const auto& p = clip->clip.shape.path;
        const std::vector<std::string> nodes = PathNodes(p.points, p.nodeTypes, p.nodeCount, offset, warnings_);
        if (nodes.size() > 1) warnings_.push_back("a clip path was cut to its first 65535 points");
        // A path without points clips everything away.
        shape = nodes.empty() ? "{\"kind\": \"rectangle\", " + AreaMembers(HostRect{0, 0, 0, 0}, offset) + "}"
                              : "{\"kind\": \"path\", \"nodes\": " + nodes.front() + "}";
    } else {
        warnings_.push_back("a clip of kind " + Int(clip != nullptr ? clip->clip.kind : 0) +
                            " clips nothing here");
    }
    Open(handle, true, shape.empty() ? std::string() : "\"kind\": \"clip\", \"shape\": " + shape);
}

void ImportHost::OnPopClip(HostHandle handle) {
    log_.Outdent();
    if (log_.Recording()) {
        log_.Line("PopClip handle=" + LogHex(handle));
    }
    Close(handle, true);
}

void ImportHost::OnRectangle(HostHandle handle, const HostAttributes* attributes, int32_t cx, int32_t cy,
                             int32_t width, int32_t height, int32_t corner, HostWord further, const HostRect* box,
                             HostWord zero) {
    if (log_.Recording()) {
        log_.Line("Rectangle handle=" + LogHex(handle) + " attributes=" + LogAttributes(attributes) + " centre=(" +
                  Int(cx) + "," + Int(cy) + ") size=(" + Int(width) + "," + Int(height) + ") corner=" + Int(corner) +
                  " further=" + Int(further) + " box=" + LogBox(box) + " last=" + Int(zero));
    }
    Target* target = FindTarget(handle, "a rectangle drawn");
    if (target == nullptr) return;
    const svgf::HostPoint o = OffsetOf(*target);
    // The reader puts the centre at left + width / 2 (whole units): the left
    // edge is chosen so that it lands on this centre.
    const int64_t w = ClampHost(std::llabs(width)), h = ClampHost(std::llabs(height));
    const int64_t left = int64_t{cx} - w / 2, bottom = int64_t{cy} - h / 2;
    const int64_t x = ClampHost(left + o.x), y = ClampHost(bottom + o.y);
    std::string json = "{\"kind\": \"rectangle\", \"x\": " + Int(x) + ", \"y\": " + Int(y) +
                       ", \"width\": " + Int(ClampHost(x + w) - x) + ", \"height\": " + Int(ClampHost(y + h) - y);
    if (corner > 0) json += ", \"corner\": " + Int(corner);
    json += Style(*target, handle, attributes) + "}";
    AddItem(*target, std::move(json), attributes);
    Extend(*target, HostRect{static_cast<int32_t>(left), static_cast<int32_t>(bottom + h),
                             static_cast<int32_t>(left + w), static_cast<int32_t>(bottom)});
}

void ImportHost::OnEllipse(HostHandle handle, const HostAttributes* attributes, int32_t cx, int32_t cy,
                           int32_t width, int32_t height, const HostWord words[4], const HostRect* box,
                           HostWord zero) {
    if (log_.Recording()) {
        log_.Line("Ellipse handle=" + LogHex(handle) + " attributes=" + LogAttributes(attributes) + " centre=(" +
                  Int(cx) + "," + Int(cy) + ") size=(" + Int(width) + "," + Int(height) + ") words=[" +
                  Int(words[0]) + " " + Int(words[1]) + " " + Int(words[2]) + " " + Int(words[3]) +
                  "] box=" + LogBox(box) + " last=" + Int(zero));
    }
    Target* target = FindTarget(handle, "an ellipse drawn");
    if (target == nullptr) return;
    const svgf::HostPoint o = OffsetOf(*target);
    const int64_t w = std::llabs(width), h = std::llabs(height);
    const int64_t x = ClampHost(int64_t{cx} + o.x), y = ClampHost(int64_t{cy} + o.y);
    // The radii keep the ellipse's box within the coordinates the reader takes.
    const auto radius = [](int64_t size, int64_t centre) {
        const double most = std::min<double>(INT32_MAX / 2, ClampHost(INT64_MAX) - std::llabs(centre) - 1);
        return std::min(size / 2.0, most);
    };
    std::string json = "{\"kind\": \"ellipse\", \"cx\": " + Int(x) + ", \"cy\": " + Int(y) +
                       ", \"rx\": " + JsonNumber(radius(w, x)) + ", \"ry\": " + JsonNumber(radius(h, y)) +
                       Style(*target, handle, attributes) + "}";
    AddItem(*target, std::move(json), attributes);
    Extend(*target, HostRect{static_cast<int32_t>(cx - w / 2), static_cast<int32_t>(cy + (h + 1) / 2),
                             static_cast<int32_t>(cx + (w + 1) / 2), static_cast<int32_t>(cy - h / 2)});
}

void ImportHost::OnPath(HostHandle handle, const HostAttributes* attributes, uint32_t count,
                        const HostPoint* points, const uint8_t* kinds, const HostRect* box, HostWord zero) {
    if (log_.Recording()) {
        log_.Line("Path handle=" + LogHex(handle) + " attributes=" + LogAttributes(attributes) + " count=" +
                  Int(count) + " points=" + LogPoints(points, count) + " kinds=" + LogKinds(kinds, count) +
                  " box=" + LogBox(box) + " last=" + Int(zero));
    }
    Target* target = FindTarget(handle, "a path drawn");
    if (target == nullptr) return;
    const std::vector<std::string> nodes = PathNodes(points, kinds, count, OffsetOf(*target), warnings_);
    if (nodes.empty()) {
        warnings_.push_back("a path without points was left out");
        return;
    }
    std::string style = Style(*target, handle, attributes);
    const svgf::HostRect bounds = BoundingBox(points, static_cast<int32_t>(std::min<uint32_t>(count, INT32_MAX)));
    // A fountain's box beyond the nodes (a user-space ramp the module
    // widened the box to) is kept, so that the ramp is not squeezed into
    // the shape.
    const bool fountain = attributes != nullptr && attributes->fill != nullptr &&
                          attributes->fill->kind == svgf::kFillFountain;
    if (fountain && box != nullptr &&
        (box->left != bounds.left || box->top != bounds.top || box->right != bounds.right ||
         box->bottom != bounds.bottom)) {
        style += ", \"fillBox\": {" + AreaMembers(*box, OffsetOf(*target)) + "}";
    }
    for (const std::string& chunk : nodes) {
        // Made in one piece: a path's nodes are long, and each sum of
        // strings copied them again.
        static constexpr std::string_view kHead = "{\"kind\": \"path\", \"nodes\": ";
        std::string item;
        item.reserve(kHead.size() + chunk.size() + style.size() + 1);
        item += kHead;
        item += chunk;
        item += style;
        item += '}';
        AddItem(*target, std::move(item), attributes);
    }
    Extend(*target, bounds);
}

void ImportHost::OnText(HostHandle handle, const HostAttributes* attributes, int32_t font, uint32_t styleWord,
                        int32_t size, HostWord zero, const HostMatrix* transform, const HostPoint* origins,
                        const uint16_t* text, int32_t count, const HostRect* box) {
    const size_t n = count > 0 && count <= kMaxTextLength ? static_cast<size_t>(count) : 0;
    if (log_.Recording()) {
        log_.Line("Text handle=" + LogHex(handle) + " attributes=" + LogAttributes(attributes) + " font=" +
                  Int(font) + " style=" + LogHex(styleWord) + " size=" + Int(size) + " word=" + Int(zero) +
                  " transform=" + LogMatrix(transform) + " origins=" + LogPoints(origins, n) +
                  " text=" + LogText(text, n) + " count=" + Int(count) + " box=" + LogBox(box));
    }
    Target* target = FindTarget(handle, "a text drawn");
    if (target == nullptr) return;
    if (n == 0 || text == nullptr) {
        warnings_.push_back(count > kMaxTextLength ? "a text too long was left out" : "an empty text was left out");
        return;
    }
    const std::string* family = FamilyOf(font);
    if (family == nullptr) warnings_.push_back("a text in font " + Int(font) + ", which the host never gave, went in " +
                                               kDefaultFamily);
    size_t replaced = 0;
    const std::string characters = Utf16ToUtf8(text, n, &replaced);
    if (replaced > 0) warnings_.push_back("a text's " + Int(replaced) + " surrogate codes went as U+FFFD");
    HostPoint first = origins != nullptr ? origins[0] : HostPoint{0, 0};
    int32_t fontSize = size;
    // A transform that only moves and scales evenly goes into the text's
    // origin and size (the description's text has both); any other one
    // stays a transform around the text.
    const HostPoint o = OffsetOf(*target);
    bool turned = false;
    if (transform != nullptr && !IsIdentity(*transform)) {
        const double* m = transform->m;
        const bool even = m[1] == 0 && m[3] == 0 && m[0] == m[4] && m[0] > 0;
        if (even) {
            first = {RoundHalfAway(m[0] * first.x + m[2]), RoundHalfAway(m[4] * first.y + m[5])};
            fontSize = RoundHalfAway(size * m[0]);
        }
        turned = !even;
    }
    const int64_t atX = turned ? first.x : ClampHost(int64_t{first.x} + o.x);
    const int64_t atY = turned ? first.y : ClampHost(int64_t{first.y} + o.y);
    std::string json = "{\"kind\": \"text\", \"x\": " + Int(atX) + ", \"y\": " + Int(atY) +
                       ", \"text\": " + JsonString(characters) +
                       ", \"font\": " + FontJson(family != nullptr ? *family : kDefaultFamily, fontSize, styleWord) +
                       Style(*target, handle, attributes) + "}";
    if (turned) {
        json = "{\"kind\": \"transform\", \"matrix\": " + MatrixJson(*transform, o, warnings_) +
               ", \"objects\": [" + json + "]}";
    }
    AddItem(*target, std::move(json), attributes);
    if (box != nullptr) Extend(*target, *box);
}

void ImportHost::OnImage(HostHandle handle, const HostAttributes* attributes, HostWord picture, HostWord word,
                         const HostRect* box, const HostMatrix* transform, const HostRect* box2,
                         const HostRect* box3, HostWord zero) {
    if (log_.Recording()) {
        log_.Line("Image handle=" + LogHex(handle) + " attributes=" + LogAttributes(attributes) + " picture=" +
                  LogHex(static_cast<uint32_t>(picture)) + " word=" + Int(word) + " box=" + LogBox(box) +
                  " transform=" + LogMatrix(transform) + " box2=" + LogBox(box2) + " box3=" + LogBox(box3) +
                  " last=" + Int(zero));
    }
    Target* target = FindTarget(handle, "an image drawn");
    if (target == nullptr) return;
    if (!HasPicture(picture) || box == nullptr) {
        warnings_.push_back("an image of a picture the host never made was left out");
        return;
    }
    const HostPoint o = OffsetOf(*target);
    std::string json = "{\"kind\": \"bitmap\", \"image\": " + ImageReference(picture) + ", " + AreaMembers(*box, o);
    const auto same = [](const HostRect& a, const HostRect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    if (box2 != nullptr && !same(*box, *box2)) json += ", \"visible\": {" + AreaMembers(*box2, o) + "}";
    if (transform != nullptr && !IsIdentity(*transform))
        json += ", \"matrix\": " + MatrixJson(*transform, HostPoint{0, 0}, warnings_);
    AddItem(*target, json + "}", attributes);
    Extend(*target, *box);
}

}  // namespace host::import
