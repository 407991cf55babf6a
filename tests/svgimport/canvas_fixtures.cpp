// The canvas scenes: drawing objects built as the reader builds them, and
// the SVG each scene stands for.
#include "canvas_fixtures.h"

#include <any>
#include <cmath>
#include <cstdio>

#include "svgimport/values.h"

namespace canvas_test {

using namespace SVG;

void Builder::Push(const WMatrix& transform) {
    saved_.push_back(current);
    current.Multiply(transform);
}

void Builder::Pop() {
    current = saved_.back();
    saved_.pop_back();
}

std::unique_ptr<WRectangle> Builder::Rect(double x, double y, double w, double h) const {
    auto r = std::make_unique<WRectangle>();
    r->Place(current, x, y, w, h);
    return r;
}

std::unique_ptr<WEllipse> Builder::Ellipse(double cx, double cy, double rx, double ry) const {
    auto e = std::make_unique<WEllipse>();
    e->Place(current, cx, cy, rx, ry);
    return e;
}

std::unique_ptr<WPath> Builder::Path(const std::vector<Step>& steps, bool closed) const {
    auto p = std::make_unique<WPath>();
    p->matrix = current;
    for (const Step& s : steps) {
        const WPoint h = current.Transform({s.x, s.y});
        p->AddPoint({static_cast<int32_t>(RoundHalfAway(h.x)), static_cast<int32_t>(RoundHalfAway(h.y))}, s.segment);
    }
    if (closed) p->CloseSubpath(0);
    return p;
}

std::unique_ptr<WText> Builder::Text(double x, double y, const char* text, const char* family, double size) const {
    auto t = std::make_unique<WText>();
    t->matrix = current;
    const WPoint at = current.Transform({x, y});
    t->x = at.x;
    t->y = at.y;
    t->text.Assign(text);
    auto font = std::make_unique<WFont>();
    font->family.Assign(family);
    // The size as the reader converts it: a vertical length.
    font->size = {size * std::hypot(current.c, current.d), unit::kHost};
    t->presentation.font = std::move(font);
    return t;
}

std::unique_ptr<WImage> Builder::Image(double x, double y, double w, double h, const char* href) const {
    auto i = std::make_unique<WImage>();
    i->Place(current, x, y, w, h);
    i->href.Assign(href);
    return i;
}

namespace {

WStopValue StopValue(uint32_t rgb, double opacity) {
    WStopValue v;
    v.colour = {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)};
    v.opacity = static_cast<uint16_t>(RoundHalfAway(opacity * 255));
    return v;
}

void SetStops(WGradient& g, const std::vector<Builder::Stop>& stops) {
    for (const Builder::Stop& s : stops) {
        g.SetStop(static_cast<uint16_t>(RoundHalfAway(s.offset * 255)), StopValue(s.rgb, s.opacity));
    }
    if (!stops.empty()) g.SetFlag(gradient_flag::kStops);
}

int32_t Host(double v) {
    return static_cast<int32_t>(v);  // the reader truncates gradient coordinates
}

}  // namespace

WLinearGradient* Builder::Linear(double x1, double y1, double x2, double y2, const std::vector<Stop>& stops) {
    auto g = std::make_unique<WLinearGradient>();
    const WPoint a = current.Transform({x1, y1}), b = current.Transform({x2, y2});
    g->x1 = Host(a.x);
    g->y1 = Host(a.y);
    g->x2 = Host(b.x);
    g->y2 = Host(b.y);
    SetStops(*g, stops);
    return definitions.Keep(std::move(g));
}

WRadialGradient* Builder::Radial(double cx, double cy, double r, const std::vector<Stop>& stops) {
    auto g = std::make_unique<WRadialGradient>();
    const WPoint c = current.Transform({cx, cy});
    g->cx = g->fx = Host(c.x);
    g->cy = g->fy = Host(c.y);
    g->r = Host(r * std::hypot(current.a, current.b));
    SetStops(*g, stops);
    return definitions.Keep(std::move(g));
}

WPattern* Builder::Pattern(double x, double y, double w, double h, TileContent content) {
    auto p = std::make_unique<WPattern>();
    const WPoint corner = current.Transform({x, y});
    const WPoint size = current.TransformVector({w, h});
    p->x = corner.x;
    p->y = corner.y;
    p->width = std::fabs(size.x);
    p->height = std::fabs(size.y);
    p->matrix = WMatrix(1, 0, 0, 1, x, y);  // the content's space starts at the tile's corner
    p->node = std::move(content);
    return definitions.Keep(std::move(p));
}

void Builder::InTile(const WPattern& pattern, const std::function<void()>& draw) {
    Push(pattern.matrix);
    draw();
    Pop();
}

std::unique_ptr<WFill> Colour(uint32_t rgb, uint16_t opacity) {
    auto fill = std::make_unique<WFill_Color>();
    fill->colour = {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)};
    fill->opacity = opacity;
    return fill;
}

std::unique_ptr<WFill> Reference(const WDefsObject* definition) {
    auto fill = std::make_unique<WFill_URI>();
    fill->definition = definition;
    return fill;
}

std::unique_ptr<WStroke> Stroke(uint32_t rgb, double widthUser, int32_t cap, int32_t join) {
    auto s = std::make_unique<WStroke>();
    s->colour = {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)};
    s->width = static_cast<int32_t>(RoundHalfAway(widthUser * kUser));
    s->cap = cap;
    s->join = join;
    return s;
}

int32_t TileReader::DrawPatternTile(const WPatternTile& tile) {
    ++tilesDrawn;
    const auto* content = std::any_cast<TileContent>(&tile.pattern->node);
    if (content == nullptr || tile.canvas == nullptr) return 0;
    (*content)(*tile.canvas);
    return 1;
}

namespace {

using Step = Builder::Step;
constexpr int32_t M = segment::kMove;
constexpr int32_t L = segment::kLine;
constexpr int32_t C = segment::kControl;
constexpr int32_t E = segment::kCurveEnd;

WMatrix Rotate(double degrees, double cx, double cy) {
    return ParseTransform("rotate(" + std::to_string(degrees) + " " + std::to_string(cx) + " " +
                          std::to_string(cy) + ")");
}

const std::vector<Builder::Stop> kRedToBlue = {{0, 0xFF0000}, {1, 0x0000FF}};

std::vector<Fixture> MakeFixtures() {
    std::vector<Fixture> list;

    list.push_back({"primitives",
                    R"svg(<rect x="20" y="20" width="60" height="40" fill="#FF0000" stroke="#000000" stroke-width="2"/>
<ellipse cx="130" cy="40" rx="30" ry="20" fill="#0000FF"/>
<path d="M20 100 L80 100 L50 160 Z" fill="#008000"/>
<path d="M100 100 C120 80 160 120 160 160 L100 160 Z" fill="#FF8000" fill-opacity="0.5"/>)svg",
                    [](WCanvas_UDI& canvas, Builder& b) {
                        auto r = b.Rect(20, 20, 60, 40);
                        r->presentation.fill = Colour(0xFF0000);
                        r->presentation.stroke = Stroke(0x000000, 2);
                        canvas.DrawRectangle(*r);
                        auto e = b.Ellipse(130, 40, 30, 20);
                        e->presentation.fill = Colour(0x0000FF);
                        canvas.DrawEllipse(*e);
                        auto p = b.Path({{M, 20, 100}, {L, 80, 100}, {L, 50, 160}}, true);
                        p->presentation.fill = Colour(0x008000);
                        canvas.DrawPath(*p);
                        auto q = b.Path({{M, 100, 100}, {C, 120, 80}, {C, 160, 120}, {E, 160, 160}, {L, 100, 160}},
                                        true);
                        q->presentation.fill = Colour(0xFF8000, 128);
                        canvas.DrawPath(*q);
                    }});

    // At angle 0 the fountain's frame is the page's: the first gradient
    // reaches past both sides of its rectangle (the box widens to it), the
    // second spans its middle half (an edge pad of a quarter).
    list.push_back(
        {"linear-fountain",
         R"svg(<linearGradient id="wide" gradientUnits="userSpaceOnUse" x1="0" y1="0" x2="180" y2="0">
<stop offset="0" stop-color="#FF0000"/><stop offset="1" stop-color="#0000FF"/></linearGradient>
<linearGradient id="pad" gradientUnits="userSpaceOnUse" x1="55" y1="0" x2="125" y2="0">
<stop offset="0" stop-color="#FF0000"/><stop offset="1" stop-color="#0000FF"/></linearGradient>
<rect x="20" y="20" width="140" height="50" fill="url(#wide)"/>
<rect x="20" y="100" width="140" height="50" fill="url(#pad)"/>)svg",
         [](WCanvas_UDI& canvas, Builder& b) {
             auto wide = b.Rect(20, 20, 140, 50);
             wide->presentation.fill = Reference(b.Linear(0, 0, 180, 0, kRedToBlue));
             canvas.DrawRectangle(*wide);
             auto pad = b.Rect(20, 100, 140, 50);
             pad->presentation.fill = Reference(b.Linear(55, 0, 125, 0, kRedToBlue));
             canvas.DrawRectangle(*pad);
         }});

    // A circle inside a square (pad), one that covers it (no pad), and
    // centres beyond the box on either side (offsets held at 100 and -100).
    list.push_back(
        {"radial-fountain",
         R"svg(<radialGradient id="inside" gradientUnits="userSpaceOnUse" cx="50" cy="50" r="20">
<stop offset="0" stop-color="#FFFF00"/><stop offset="1" stop-color="#FF0000"/></radialGradient>
<radialGradient id="covers" gradientUnits="userSpaceOnUse" cx="130" cy="50" r="30">
<stop offset="0" stop-color="#FFFF00"/><stop offset="1" stop-color="#0000FF"/></radialGradient>
<radialGradient id="right" gradientUnits="userSpaceOnUse" cx="100" cy="130" r="20">
<stop offset="0" stop-color="#FFFFFF"/><stop offset="1" stop-color="#008000"/></radialGradient>
<radialGradient id="left" gradientUnits="userSpaceOnUse" cx="80" cy="130" r="20">
<stop offset="0" stop-color="#FFFFFF"/><stop offset="1" stop-color="#008000"/></radialGradient>
<rect x="20" y="20" width="60" height="60" fill="url(#inside)"/>
<rect x="100" y="20" width="60" height="60" fill="url(#covers)"/>
<rect x="20" y="110" width="40" height="40" fill="url(#right)"/>
<rect x="120" y="110" width="40" height="40" fill="url(#left)"/>)svg",
         [](WCanvas_UDI& canvas, Builder& b) {
             const std::vector<Builder::Stop> warm = {{0, 0xFFFF00}, {1, 0xFF0000}};
             const std::vector<Builder::Stop> cool = {{0, 0xFFFF00}, {1, 0x0000FF}};
             const std::vector<Builder::Stop> green = {{0, 0xFFFFFF}, {1, 0x008000}};
             auto inside = b.Rect(20, 20, 60, 60);
             inside->presentation.fill = Reference(b.Radial(50, 50, 20, warm));
             canvas.DrawRectangle(*inside);
             auto covers = b.Rect(100, 20, 60, 60);
             covers->presentation.fill = Reference(b.Radial(130, 50, 30, cool));
             canvas.DrawRectangle(*covers);
             auto right = b.Rect(20, 110, 40, 40);
             right->presentation.fill = Reference(b.Radial(100, 130, 20, green));
             canvas.DrawRectangle(*right);
             auto left = b.Rect(120, 110, 40, 40);
             left->presentation.fill = Reference(b.Radial(80, 130, 20, green));
             canvas.DrawRectangle(*left);
         }});

    // 150 stops: the host takes the first 101.
    {
        std::string stops;
        std::vector<Builder::Stop> list150;
        for (int i = 0; i < 150; ++i) {
            const int blue = i * 255 / 149;
            const uint32_t rgb = static_cast<uint32_t>((255 - blue) << 16 | blue);
            list150.push_back({i / 149.0, rgb});
            char stop[96];
            std::snprintf(stop, sizeof stop, "<stop offset=\"%.6f\" stop-color=\"#%06X\"/>", i / 149.0, rgb);
            stops += stop;
        }
        list.push_back({"many-stops",
                        R"svg(<linearGradient id="many" gradientUnits="userSpaceOnUse" x1="20" y1="0" x2="160" y2="0">)svg" +
                            stops + R"svg(</linearGradient>
<rect x="20" y="60" width="140" height="60" fill="url(#many)"/>)svg",
                        [list150](WCanvas_UDI& canvas, Builder& b) {
                            auto r = b.Rect(20, 60, 140, 60);
                            r->presentation.fill = Reference(b.Linear(20, 0, 160, 0, list150));
                            canvas.DrawRectangle(*r);
                        },
                        // The last third of the stops is not there: only
                        // where the rectangle lies is compared.
                        0.01, true});
    }

    list.push_back(
        {"mask",
         R"svg(<linearGradient id="fade" gradientUnits="userSpaceOnUse" x1="20" y1="0" x2="160" y2="0">
<stop offset="0" stop-color="#FFFFFF" stop-opacity="1"/><stop offset="1" stop-color="#FFFFFF" stop-opacity="0"/>
</linearGradient>
<mask id="m" maskUnits="userSpaceOnUse" x="20" y="20" width="140" height="140">
<rect x="20" y="20" width="140" height="140" fill="url(#fade)"/></mask>
<rect x="20" y="20" width="140" height="140" fill="#0000FF" mask="url(#m)"/>)svg",
         [](WCanvas_UDI& canvas, Builder& b) {
             auto mask = std::make_unique<WMask>();
             const WPlacement box = PlaceBox(b.current, 20, 20, 140, 140);
             mask->x = box.centre.x - box.width / 2;
             mask->y = box.centre.y - box.height / 2;
             mask->width = {box.width, unit::kHost};
             mask->height = {box.height, unit::kHost};
             mask->content = b.Rect(20, 20, 140, 140);
             mask->content->presentation.fill =
                 Reference(b.Linear(20, 0, 160, 0, {{0, 0xFFFFFF, 1}, {1, 0xFFFFFF, 0}}));
             auto r = b.Rect(20, 20, 140, 140);
             r->presentation.fill = Colour(0x0000FF);
             r->presentation.mask = b.definitions.Keep(std::move(mask));
             canvas.DrawRectangle(*r);
         }});

    list.push_back({"anchors",
                    R"svg(<a xlink:href="https://example.org/outer">
<rect x="20" y="20" width="60" height="60" fill="#FF0000"/>
<a xlink:href="https://example.org/inner"><ellipse cx="130" cy="50" rx="30" ry="30" fill="#0000FF"/></a>
<rect x="20" y="100" width="60" height="60" fill="#00FF00"/></a>)svg",
                    [](WCanvas_UDI& canvas, Builder& b) {
                        WAnchor outer, inner;
                        outer.href.Assign("https://example.org/outer");
                        inner.href.Assign("https://example.org/inner");
                        canvas.BeginAnchor(outer);
                        auto first = b.Rect(20, 20, 60, 60);
                        first->presentation.fill = Colour(0xFF0000);
                        canvas.DrawRectangle(*first);
                        canvas.BeginAnchor(inner);
                        auto e = b.Ellipse(130, 50, 30, 30);
                        e->presentation.fill = Colour(0x0000FF);
                        canvas.DrawEllipse(*e);
                        canvas.EndAnchor();
                        auto second = b.Rect(20, 100, 60, 60);
                        second->presentation.fill = Colour(0x00FF00);
                        canvas.DrawRectangle(*second);
                        canvas.EndAnchor();
                    }});

    // A group's clip around a shape's own clip (two pairs, nested), a turned
    // rectangle clipping as a path, and a clip path of two shapes, which
    // this host takes one inside the other: their common part.
    list.push_back(
        {"clips",
         R"svg(<clipPath id="box"><rect x="10" y="10" width="120" height="80"/></clipPath>
<clipPath id="tri"><path d="M20 20 L170 20 L20 90 Z"/></clipPath>
<g clip-path="url(#box)"><rect x="0" y="0" width="180" height="100" fill="#FF0000" clip-path="url(#tri)"/></g>
<clipPath id="turned"><rect x="20" y="110" width="50" height="50" transform="rotate(45 45 135)"/></clipPath>
<ellipse cx="45" cy="135" rx="40" ry="40" fill="#0000FF" clip-path="url(#turned)"/>
<clipPath id="wide"><rect x="100" y="110" width="70" height="30"/></clipPath>
<clipPath id="tall"><path d="M110 100 L150 100 L150 170 L110 170 Z"/></clipPath>
<g clip-path="url(#wide)"><rect x="90" y="100" width="90" height="80" fill="#008000" clip-path="url(#tall)"/></g>)svg",
         [](WCanvas_UDI& canvas, Builder& b) {
             WGroup group;
             group.presentation.clipPath = std::make_unique<WClippath>();
             group.presentation.clipPath->shapes.push_back(b.Rect(10, 10, 120, 80));
             canvas.BeginGroup(group);
             auto r = b.Rect(0, 0, 180, 100);
             r->presentation.fill = Colour(0xFF0000);
             r->presentation.clipPath = std::make_unique<WClippath>();
             r->presentation.clipPath->shapes.push_back(b.Path({{M, 20, 20}, {L, 170, 20}, {L, 20, 90}}, true));
             canvas.DrawRectangle(*r);
             canvas.EndGroup(group);

             auto e = b.Ellipse(45, 135, 40, 40);
             e->presentation.fill = Colour(0x0000FF);
             e->presentation.clipPath = std::make_unique<WClippath>();
             b.Push(Rotate(45, 45, 135));
             e->presentation.clipPath->shapes.push_back(b.Rect(20, 110, 50, 50));
             b.Pop();
             canvas.DrawEllipse(*e);

             auto pair = b.Rect(90, 100, 90, 80);
             pair->presentation.fill = Colour(0x008000);
             pair->presentation.clipPath = std::make_unique<WClippath>();
             pair->presentation.clipPath->shapes.push_back(b.Rect(100, 110, 70, 30));
             pair->presentation.clipPath->shapes.push_back(
                 b.Path({{M, 110, 100}, {L, 150, 100}, {L, 150, 170}, {L, 110, 170}}, true));
             canvas.DrawRectangle(*pair);
         }});

    // Dots through one tile; a tile whose content is filled with a second
    // pattern of its own (the host has the canvas draw it inside the first).
    list.push_back(
        {"patterns",
         R"svg(<pattern id="dots" patternUnits="userSpaceOnUse" x="20" y="20" width="20" height="20">
<circle cx="10" cy="10" r="6" fill="#0000FF"/></pattern>
<rect x="20" y="20" width="140" height="60" fill="url(#dots)"/>
<pattern id="inner" patternUnits="userSpaceOnUse" x="0" y="0" width="10" height="10">
<rect x="0" y="0" width="5" height="5" fill="#FF0000"/></pattern>
<pattern id="outer" patternUnits="userSpaceOnUse" x="20" y="100" width="40" height="40">
<rect x="0" y="0" width="40" height="20" fill="url(#inner)"/><circle cx="20" cy="30" r="8" fill="#008000"/></pattern>
<rect x="20" y="100" width="160" height="40" fill="url(#outer)"/>)svg",
         [](WCanvas_UDI& canvas, Builder& b) {
             WPattern* dots = nullptr;
             dots = b.Pattern(20, 20, 20, 20, [&b, &dots](WCanvas& c) {
                 b.InTile(*dots, [&] {
                     auto e = b.Ellipse(10, 10, 6, 6);
                     e->presentation.fill = Colour(0x0000FF);
                     c.DrawEllipse(*e);
                 });
             });
             auto r = b.Rect(20, 20, 140, 60);
             r->presentation.fill = Reference(dots);
             canvas.DrawRectangle(*r);

             WPattern* outer = nullptr;
             outer = b.Pattern(20, 100, 40, 40, [&b, &outer](WCanvas& c) {
                 b.InTile(*outer, [&] {
                     WPattern* inner = nullptr;
                     inner = b.Pattern(0, 0, 10, 10, [&b, &inner](WCanvas& ci) {
                         b.InTile(*inner, [&] {
                             auto s = b.Rect(0, 0, 5, 5);
                             s->presentation.fill = Colour(0xFF0000);
                             ci.DrawRectangle(*s);
                         });
                     });
                     auto band = b.Rect(0, 0, 40, 20);
                     band->presentation.fill = Reference(inner);
                     c.DrawRectangle(*band);
                     auto e = b.Ellipse(20, 30, 8, 8);
                     e->presentation.fill = Colour(0x008000);
                     c.DrawEllipse(*e);
                 });
             });
             auto strip = b.Rect(20, 100, 160, 40);
             strip->presentation.fill = Reference(outer);
             canvas.DrawRectangle(*strip);
         },
         // The renderer resamples the exported nested tile, whose edges
         // then blur a little.
         0.03});

    // A rectangle and a circle turned (paths), an ellipse turned a quarter
    // (still the ellipse entry, its radii exchanged) and a skewed square.
    list.push_back(
        {"turned-shapes",
         R"svg(<rect x="30" y="30" width="60" height="30" fill="#FF0000" transform="rotate(30 60 45)"/>
<g transform="rotate(45 130 50)"><circle cx="130" cy="50" r="25" fill="#0000FF"/></g>
<ellipse cx="50" cy="130" rx="30" ry="15" fill="#008000" transform="rotate(90 50 130)"/>
<rect x="110" y="110" width="40" height="40" fill="#FF00FF" transform="translate(130 130) skewX(20) translate(-130 -130)"/>)svg",
         [](WCanvas_UDI& canvas, Builder& b) {
             b.Push(Rotate(30, 60, 45));
             auto r = b.Rect(30, 30, 60, 30);
             b.Pop();
             r->presentation.fill = Colour(0xFF0000);
             canvas.DrawRectangle(*r);

             b.Push(Rotate(45, 130, 50));
             WGroup group;
             group.matrix = b.current;
             canvas.BeginGroup(group);
             auto circle = b.Ellipse(130, 50, 25, 25);
             circle->presentation.fill = Colour(0x0000FF);
             canvas.DrawEllipse(*circle);
             canvas.EndGroup(group);
             b.Pop();

             b.Push(Rotate(90, 50, 130));
             auto e = b.Ellipse(50, 130, 30, 15);
             b.Pop();
             e->presentation.fill = Colour(0x008000);
             canvas.DrawEllipse(*e);

             b.Push(ParseTransform("translate(130 130) skewX(20) translate(-130 -130)"));
             auto s = b.Rect(110, 110, 40, 40);
             b.Pop();
             s->presentation.fill = Colour(0xFF00FF);
             canvas.DrawRectangle(*s);
         }});
    return list;
}

}  // namespace

const std::vector<Fixture>& Fixtures() {
    static const std::vector<Fixture> list = MakeFixtures();
    return list;
}

std::string Document(const Fixture& fixture) {
    return R"svg(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="2in" height="2in" viewBox="0 0 180 180">
)svg" + fixture.svg + "\n</svg>\n";
}

void WithCanvas(host::StandInHost& host, const std::function<void(WCanvas_UDI&)>& draw, WTileDrawer* reader,
                WContinuationFn continuation, void* continuationValue) {
    host.Report([&] {
        WZoomMgr zoom;
        zoom.SetDocumentSize(kPage, kPage);
        WCanvas_UDI canvas(host.Context().hostHandle, continuation, continuationValue, &zoom,
                           host.Context().colourHandle, reader, &host.Context());
        draw(canvas);
        return 0;
    });
}

void Play(host::StandInHost& host, host::import::ImportHost& import, const Fixture& fixture) {
    Builder builder;
    TileReader reader;
    WithCanvas(host, [&](WCanvas_UDI& canvas) { fixture.draw(canvas, builder); }, &reader);
    import.SetPage(svgf::HostRect{0, kPage, kPage, 0});
}

}  // namespace canvas_test
