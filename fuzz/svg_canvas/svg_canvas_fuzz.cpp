// The canvas on objects made of arbitrary text, over a small host of its
// own: the first line is a link and text (decoded, collapsed, turned into
// an image path and a format letter), the second a transform list, the rest
// numbers for the geometry of shapes, gradients, patterns, clips and masks
// and for the advances the host gives. Every record the canvas hands the
// host is read whole; no crash, no read past anything, no overflow.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "svgimport/canvas.h"
#include "svgimport/values.h"

namespace {

using namespace SVG;

// The numbers of the input, handed out in turn (0 when used up).
class Numbers {
  public:
    explicit Numbers(std::string_view text) {
        for (size_t at = 0; at < text.size() && values_.size() < 256;) {
            double v = 0;
            const size_t n = ScanNumber(text.substr(at), &v);
            if (n == 0) {
                ++at;
                continue;
            }
            values_.push_back(v);
            at += n;
        }
    }
    double Next() { return values_.empty() ? 0 : values_[next_++ % values_.size()]; }
    int32_t Int() {
        const double v = Next();
        if (!(v > -2147483648.0 && v < 2147483647.0)) return v > 0 ? INT32_MAX : INT32_MIN;
        return static_cast<int32_t>(v);
    }

  private:
    std::vector<double> values_;
    size_t next_ = 0;
};

Numbers* g_numbers = nullptr;
volatile uint32_t g_sink = 0;

// Reads a value so that the compiler keeps the read.
void Sink(uint32_t v) {
    g_sink = g_sink + v;
}

void Touch(const void* p, size_t bytes) {
    if (p == nullptr) return;
    const auto* b = static_cast<const uint8_t*>(p);
    for (size_t i = 0; i < bytes; ++i) Sink(b[i]);
}

void TouchAttributes(const svgf::HostAttributes* a) {
    if (a == nullptr) __builtin_trap();
    Touch(a->fill, sizeof(svgf::HostFillRecord));
    Touch(a->outline, sizeof(svgf::HostOutlineRecord));
    const auto* t = reinterpret_cast<const svgf::HostTransparencyRecord*>(a->transparency);
    if (t != nullptr) {
        Touch(t, sizeof *t);
        Touch(t->fill, sizeof(svgf::HostFillRecord));
    }
    const auto* link = reinterpret_cast<const svgf::HostHyperlinkRecord*>(a->further[svgf::kAttributesHyperlinkField]);
    if (link != nullptr) {
        for (const uint16_t* c = link->text; c != nullptr && *c != 0; ++c) Sink(*c);
    }
}

// The drawing table: each entry reads what it is given, and a pattern fill
// is drawn through the module's callback, as a host does.
svgf::HostCallbackRecord g_callback{};
int g_tileDepth = 0;

void DrawFill(const svgf::HostAttributes* a) {
    for (const svgf::HostFillRecord* fill :
         {a->fill, a->transparency != nullptr
                       ? reinterpret_cast<const svgf::HostTransparencyRecord*>(a->transparency)->fill
                       : nullptr}) {
        if (fill == nullptr || fill->kind != svgf::kFillPatternTile || g_callback.callback == nullptr) continue;
        if (g_tileDepth >= 8) continue;
        svgf::HostPatternTileBlock block;
        __builtin_memcpy(&block, fill->body, sizeof block);
        ++g_tileDepth;
        g_callback.callback(0x10000 + g_tileDepth, block.tile, g_callback.word[0]);
        --g_tileDepth;
    }
}

int32_t SVGF_CALL Group(svgf::HostHandle) {
    return 1;
}
int32_t SVGF_CALL PushClip(svgf::HostHandle, const svgf::HostClipRecord* clip, int32_t) {
    Touch(clip, sizeof *clip);
    if (clip->clip.kind == svgf::kClipPath) {
        Touch(clip->clip.shape.path.points, clip->clip.shape.path.nodeCount * sizeof(svgf::HostPoint));
        Touch(clip->clip.shape.path.nodeTypes, clip->clip.shape.path.nodeCount);
    }
    return 1;
}
int32_t SVGF_CALL Image(svgf::HostHandle, const svgf::HostAttributes* a, svgf::HostWord, svgf::HostWord,
                        const svgf::HostBox* b, const svgf::HostTransform* t, const svgf::HostBox* b2,
                        const svgf::HostBox* b3, svgf::HostWord) {
    TouchAttributes(a);
    Touch(b, sizeof *b);
    Touch(t, sizeof *t);
    Touch(b2, sizeof *b2);
    Touch(b3, sizeof *b3);
    return 1;
}
int32_t SVGF_CALL Rectangle(svgf::HostHandle, const svgf::HostAttributes* a, int32_t, int32_t, int32_t, int32_t,
                            int32_t, svgf::HostWord, const svgf::HostBox* box, svgf::HostWord) {
    TouchAttributes(a);
    Touch(box, sizeof *box);
    DrawFill(a);
    return 1;
}
int32_t SVGF_CALL Ellipse(svgf::HostHandle, const svgf::HostAttributes* a, int32_t, int32_t, int32_t, int32_t,
                          svgf::HostWord, svgf::HostWord, svgf::HostWord, svgf::HostWord, const svgf::HostBox* box,
                          svgf::HostWord) {
    TouchAttributes(a);
    Touch(box, sizeof *box);
    DrawFill(a);
    return 1;
}
int32_t SVGF_CALL Path(svgf::HostHandle, const svgf::HostAttributes* a, uint32_t count, const svgf::HostPoint* points,
                       const uint8_t* kinds, const svgf::HostBox* box, svgf::HostWord) {
    TouchAttributes(a);
    if (count == 0) __builtin_trap();  // a path without points is not sent
    Touch(points, count * sizeof *points);
    Touch(kinds, count);
    Touch(box, sizeof *box);
    DrawFill(a);
    return 1;
}
int32_t SVGF_CALL Text(svgf::HostHandle, const svgf::HostAttributes* a, int32_t, uint32_t, int32_t, svgf::HostWord,
                       const svgf::HostTransform* t, const svgf::HostPoint* origins, const uint16_t* text,
                       int32_t count, const svgf::HostBox* box) {
    TouchAttributes(a);
    Touch(t, sizeof *t);
    if (count <= 0 || text[count] != 0) __builtin_trap();
    Touch(origins, static_cast<size_t>(count) * sizeof *origins);
    Touch(text, static_cast<size_t>(count) * 2);
    Touch(box, sizeof *box);
    return 1;
}
int32_t SVGF_CALL Exchange(svgf::HostHandle, const svgf::HostCallbackRecord* install,
                           svgf::HostCallbackRecord* previous) {
    const svgf::HostCallbackRecord before = g_callback;
    g_callback = *install;
    *previous = before;
    return 1;
}

// The services, as plain arithmetic.
void SVGF_CALL Identity(svgf::HostMatrix* m) {
    *m = {{1, 0, 0, 0, 1, 0}};
}
void SVGF_CALL Combine(svgf::HostMatrix* m, const svgf::HostMatrix* n) {
    const svgf::HostMatrix o = *m;
    const double* a = n->m;
    m->m[0] = a[0] * o.m[0] + a[1] * o.m[3];
    m->m[1] = a[0] * o.m[1] + a[1] * o.m[4];
    m->m[2] = a[0] * o.m[2] + a[1] * o.m[5] + a[2];
    m->m[3] = a[3] * o.m[0] + a[4] * o.m[3];
    m->m[4] = a[3] * o.m[1] + a[4] * o.m[4];
    m->m[5] = a[3] * o.m[2] + a[4] * o.m[5] + a[5];
}
void SVGF_CALL Rotate(svgf::HostMatrix* m, int32_t angle, int32_t cx, int32_t cy) {
    const double r = angle / 1000.0 * 3.14159265358979 / 180, c = std::cos(r), s = std::sin(r);
    const svgf::HostMatrix turn{{c, -s, cx - c * cx + s * cy, s, c, cy - s * cx - c * cy}};
    Combine(m, &turn);
}
int32_t Held(double v) {
    if (!(v > -2147483648.0 && v < 2147483647.0)) return v > 0 ? INT32_MAX : INT32_MIN;
    return static_cast<int32_t>(std::lround(v));
}
void SVGF_CALL TransformPoints(svgf::HostPoint* p, const svgf::HostMatrix* m, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const double x = p[i].x, y = p[i].y;
        p[i] = {Held(m->m[0] * x + m->m[1] * y + m->m[2]), Held(m->m[3] * x + m->m[4] * y + m->m[5])};
    }
}
void SVGF_CALL Bounds(const svgf::HostPoint* p, int32_t count, svgf::HostBox* out) {
    *out = {0, 0, 0, 0};
    for (int32_t i = 0; i < count; ++i) {
        if (i == 0) *out = {p[0].x, p[0].y, p[0].x, p[0].y};
        out->left = std::min(out->left, p[i].x);
        out->right = std::max(out->right, p[i].x);
        out->top = std::max(out->top, p[i].y);
        out->bottom = std::min(out->bottom, p[i].y);
    }
}
int32_t SVGF_CALL Angle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3) {
    const double ux = double(x2) - x1, uy = double(y2) - y1, vx = double(x3) - x1, vy = double(y3) - y1;
    return Held(std::atan2(ux * vy - uy * vx, ux * vx + uy * vy) * 180 / 3.14159265358979 * 1000);
}
int32_t SVGF_CALL FontByName(const char* family, svgf::FontRecord*, svgf::HostWord, svgf::HostWord) {
    for (const char* c = family; *c != 0; ++c) Sink(static_cast<uint8_t>(*c));
    return 1;
}
int32_t SVGF_CALL FontByDescription(svgf::FontRecord* record, uint32_t) {
    Touch(record, sizeof *record);
    return 1;
}
svgf::HostHandle SVGF_CALL CreateText(int32_t, int32_t, uint32_t, int32_t, const svgf::HostMatrix* t, int32_t, int32_t) {
    Touch(t, sizeof *t);
    return 7;
}
int32_t SVGF_CALL SetText(svgf::HostHandle, const uint16_t* text, int32_t count, int32_t* advances) {
    for (int32_t i = 0; i < count; ++i) {
        Sink(text[i]);
        advances[i] = g_numbers->Int();  // what a host says is outside data too
    }
    return 1;
}
int32_t SVGF_CALL Finish(svgf::HostHandle) {
    return 1;
}

template <typename Fn>
svgf::HostServiceFn Entry(Fn fn) {
    return reinterpret_cast<svgf::HostServiceFn>(fn);
}

// The reader of pattern tiles: a tile's content fills itself with its own
// pattern again (the canvas must not recurse) and a plain rectangle.
class Tiles : public WTileDrawer {
  public:
    int32_t DrawPatternTile(const WPatternTile& tile) override {
        WRectangle r;
        r.width = tile.pattern->width;
        r.height = tile.pattern->height;
        auto again = std::make_unique<WFill_URI>();
        again->definition = tile.pattern;
        r.presentation.fill = std::move(again);
        tile.canvas->DrawRectangle(r);
        return 1;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t first = input.find('\n');
    const std::string line = input.substr(0, first);
    const size_t second = first == std::string::npos ? std::string::npos : input.find('\n', first + 1);
    const std::string transform =
        first == std::string::npos ? std::string() : input.substr(first + 1, second - first - 1);
    Numbers numbers(second == std::string::npos ? std::string_view() : std::string_view(input).substr(second + 1));
    g_numbers = &numbers;

    // Text: its wide copy is as long as it says and ends in a zero.
    WString text(line);
    if (const uint16_t* wide = text.Wide()) {
        if (wide[text.WideLength()] != 0) __builtin_trap();
    }
    text.CollapseWhitespace();
    Latin1Of(text.Text());
    ImageFormatOf(line);
    const std::string path = LinkedImagePath("/doc/folder/drawing.svg", line);
    if (path.size() > line.size() + 20) __builtin_trap();

    svgf::HostDrawingTable table{};
    table.slot[svgf::draw::kBeginGroup] = Entry(&Group);
    table.slot[svgf::draw::kEndGroup] = Entry(&Group);
    table.slot[svgf::draw::kPushClip] = Entry(&PushClip);
    table.slot[svgf::draw::kPopClip] = Entry(&Group);
    table.slot[svgf::draw::kImage] = Entry(&Image);
    table.slot[svgf::draw::kRectangle] = Entry(&Rectangle);
    table.slot[svgf::draw::kEllipse] = Entry(&Ellipse);
    table.slot[svgf::draw::kPath] = Entry(&Path);
    table.slot[svgf::draw::kText] = Entry(&Text);
    table.slot[svgf::draw::kExchangeCallback] = Entry(&Exchange);
    svgf::HostServiceTable services{};
    namespace svc = svgf::svc;
    services.slot[svc::kMatrixIdentity] = Entry(&Identity);
    services.slot[svc::kMatrixCombine] = Entry(&Combine);
    services.slot[svc::kMatrixRotate] = Entry(&Rotate);
    services.slot[svc::kTransformPoints] = Entry(&TransformPoints);
    services.slot[svc::kBoundingBox] = Entry(&Bounds);
    services.slot[svc::kAngleOfPoints] = Entry(&Angle);
    services.slot[svc::kFontByName] = Entry(&FontByName);
    services.slot[svc::kFontByDescription] = Entry(&FontByDescription);
    services.slot[svc::kCreateFont] = Entry(&CreateText);
    services.slot[svc::kSetText] = Entry(&SetText);
    services.slot[svc::kReleaseFont] = Entry(&Finish);
    svgf::FilterContext context{};
    context.size = svgf::kContextSize;
    context.hostHandle = 1;
    context.callbackRecord = &table;
    context.services = &services;
    g_callback = {};

    WMatrix matrix(254000.0 / 90, 0, 0, -254000.0 / 90, 0, 254000);
    matrix.Multiply(ParseTransform(transform));
    WDefinitions definitions;
    Tiles tiles;
    {
        WCanvas_UDI canvas(1, nullptr, nullptr, nullptr, 0, &tiles, &context);
        WAnchor anchor;
        anchor.href.Assign(line);
        canvas.BeginAnchor(anchor);

        auto linear = std::make_unique<WLinearGradient>();
        linear->x1 = numbers.Int();
        linear->y1 = numbers.Int();
        linear->x2 = numbers.Int();
        linear->y2 = numbers.Int();
        auto radial = std::make_unique<WRadialGradient>();
        radial->cx = numbers.Int();
        radial->cy = numbers.Int();
        radial->r = numbers.Int();
        for (int i = 0; i < 120; ++i) {
            const WStopValue stop{{0, 0, 0}, static_cast<uint16_t>(numbers.Int())};
            linear->SetStop(static_cast<uint16_t>(numbers.Int()), stop);
            radial->SetStop(static_cast<uint16_t>(numbers.Int()), stop);
        }
        auto pattern = std::make_unique<WPattern>();
        pattern->x = numbers.Next();
        pattern->y = numbers.Next();
        pattern->width = numbers.Next();
        pattern->height = numbers.Next();
        const WDefsObject* paints[] = {definitions.Keep(std::move(linear)), definitions.Keep(std::move(radial)),
                                       definitions.Keep(std::move(pattern))};
        auto mask = std::make_unique<WMask>();
        mask->x = numbers.Next();
        mask->y = numbers.Next();
        mask->width = {numbers.Next(), unit::kHost};
        mask->height = {numbers.Next(), unit::kHost};
        mask->content = std::make_unique<WRectangle>();
        WMask* kept = definitions.Keep(std::move(mask));

        for (int round = 0; round < 4; ++round) {
            const auto style = [&](WObject& object) {
                if (round < 3) {
                    auto paint = std::make_unique<WFill_URI>();
                    paint->definition = paints[round];
                    paint->opacity = static_cast<uint16_t>(numbers.Int());
                    object.presentation.fill = std::move(paint);
                } else {
                    object.presentation.fill = std::make_unique<WFill_Color>();
                }
                auto maskPaint = std::make_unique<WFill_URI>();
                maskPaint->definition = paints[(round + 1) % 3];
                kept->content->presentation.fill = std::move(maskPaint);
                object.presentation.mask = kept;
                object.presentation.stroke = std::make_unique<WStroke>();
                object.presentation.stroke->width = numbers.Int();
                object.presentation.stroke->cap = numbers.Int();
                object.presentation.clipPath = std::make_unique<WClippath>();
                auto clipRect = std::make_unique<WRectangle>();
                clipRect->Place(matrix, numbers.Next(), numbers.Next(), numbers.Next(), numbers.Next());
                object.presentation.clipPath->shapes.push_back(std::move(clipRect));
                auto clipPath = std::make_unique<WPath>();
                for (int i = 0; i < round; ++i) clipPath->AddPoint({numbers.Int(), numbers.Int()}, i % 4);
                object.presentation.clipPath->shapes.push_back(std::move(clipPath));
            };
            WRectangle rectangle;
            style(rectangle);
            rectangle.Place(matrix, numbers.Next(), numbers.Next(), numbers.Next(), numbers.Next());
            canvas.DrawRectangle(rectangle);
            WEllipse ellipse;
            style(ellipse);
            ellipse.Place(matrix, numbers.Next(), numbers.Next(), numbers.Next(), numbers.Next());
            canvas.DrawEllipse(ellipse);
            WPath shape;
            style(shape);
            for (int i = 0; i < 1 + round * 3; ++i) {
                const WPoint p = matrix.Transform({numbers.Next(), numbers.Next()});
                shape.AddPoint({Held(p.x), Held(p.y)}, i % 4);
            }
            shape.CloseSubpath(0);
            canvas.DrawPath(shape);
            WText words;
            style(words);
            words.matrix = matrix;
            words.text.Assign(line);
            words.x = numbers.Next();
            words.y = numbers.Next();
            words.presentation.font = std::make_unique<WFont>();
            words.presentation.font->family.Assign(round % 2 == 0 ? line : "");
            words.presentation.font->size = {numbers.Next(), unit::kHost};
            canvas.DrawText(words);
            WImage image;
            style(image);
            image.href.Assign(line);
            canvas.DrawImage(image);
            WGroup group;
            style(group);
            canvas.BeginGroup(group);
            canvas.EndGroup(group);
        }
        canvas.EndAnchor();
    }
    if (g_callback.callback != nullptr) __builtin_trap();  // the host has its own record back
    g_numbers = nullptr;
    return 0;
}
