// The drawing reader's values: numbers in the file's unit, text in the
// host's encoding, colours, fills, outlines, transparencies, fonts, path
// nodes, matrices and boxes.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <sstream>

#include "drawing_reading.h"
#include "host/export_geometry.h"
#include "host/style_records.h"

namespace host::reading {

void AppendPointerToken(std::string& out, std::string_view key) {
    for (const char c : key) {
        if (c == '~') {
            out += "~0";
        } else if (c == '/') {
            out += "~1";
        } else {
            out += c;
        }
    }
}

void JsonPath::Into(std::string& out) const {
    out.clear();
    char digits[24];
    for (const Segment& s : segments_) {
        out += '/';
        if (s.index == 0) {
            AppendPointerToken(out, s.key);
        } else {
            const auto end = std::to_chars(digits, digits + sizeof digits, s.index - 1).ptr;
            out.append(digits, end);
        }
    }
}

std::string JsonPath::Pointer() const {
    std::string out;
    Into(out);
    return out;
}

void DrawingReader::Fail(std::string message) const {
    throw Failure{path_.Pointer(), std::move(message)};
}

void DrawingReader::FailAt(const std::string& where, std::string message) const {
    throw Failure{where, std::move(message)};
}

void DrawingReader::FailMember(std::string_view key, std::string message) const {
    std::string where = path_.Pointer() + "/";
    AppendPointerToken(where, key);
    throw Failure{std::move(where), std::move(message)};
}

void DrawingReader::ExpectKind(JsonKind kind) {
    const JsonKind found = json_.Peek();
    if (found != kind) Fail(std::string("expected ") + JsonKindName(kind) + ", found " + JsonKindName(found));
}

void DrawingReader::Require(uint32_t seen, uint32_t required, Names names) const {
    size_t index = 0;
    for (const std::string_view name : names) {
        const uint32_t bit = 1u << index++;
        if ((required & bit) != 0 && (seen & bit) == 0) Fail("missing member \"" + std::string(name) + "\"");
    }
}

DrawingReader::Kinded DrawingReader::BeginKinded() {
    ExpectKind(JsonKind::kObject);
    json_.BeginObject();
    const JsonCursor::Mark start = json_.Here();
    std::string_view key;
    bool first = true;
    while (json_.NextMember(key)) {
        if (key == "kind") {
            path_.Push("kind");
            Kinded kinded{std::string(String()), 1u};
            path_.Pop();
            // A kind after other members: they are read from the start.
            if (!first) {
                json_.Resume(start);
                kinded.seen = 0;
            }
            return kinded;
        }
        first = false;
        json_.Skim();
    }
    Fail("missing member \"kind\"");
}

std::string_view DrawingReader::String() {
    ExpectKind(JsonKind::kString);
    return json_.String();
}

bool DrawingReader::Boolean() {
    ExpectKind(JsonKind::kBoolean);
    return json_.Boolean();
}

// Text the host hands over is 8-bit ISO-8859-1, the encoding of the
// document the module writes; the file's UTF-8 is converted to it.
std::string DrawingReader::HostText() {
    const std::string_view utf8 = String();
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == 0) Fail("the text holds a NUL character");
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
            out += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
        } else {
            Fail("the text holds a character outside ISO-8859-1");
        }
    }
    return out;
}

// The text's characters as the host's 16-bit codes; the cursor has checked
// the UTF-8, so only characters beyond 16 bits are refused.
std::u16string DrawingReader::TextCodes() {
    const std::string_view utf8 = String();
    std::u16string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
        if (extra == 3) Fail("the text holds a character beyond the host's 16-bit codes");
        if (i + static_cast<size_t>(extra) >= utf8.size()) Fail("the text holds a broken character");
        uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out.push_back(static_cast<char16_t>(code));
        i += 1 + static_cast<size_t>(extra);
    }
    return out;
}

// A length or coordinate in the file's unit, as host units.
int32_t DrawingReader::Length() {
    ExpectKind(JsonKind::kNumber);
    const double host = json_.Number().value * scale_;
    if (!std::isfinite(host) || std::fabs(host) > std::numeric_limits<int32_t>::max() - 1) {
        Fail("number out of range for the host's coordinates");
    }
    return static_cast<int32_t>(host > 0 ? host + 0.5 : host - 0.5);
}

// A length that may not be negative.
int32_t DrawingReader::Size() {
    const int32_t v = Length();
    if (v < 0) Fail("the size must not be negative");
    return v;
}

int64_t DrawingReader::Integer(int64_t low, int64_t high) {
    const JsonKind kind = json_.Peek();
    if (kind != JsonKind::kNumber) Fail(std::string("expected a whole number, found ") + JsonKindName(kind));
    const JsonNumber n = json_.Number();
    if (!n.whole) Fail("expected a whole number, found a number");
    if (n.integer < low || n.integer > high) {
        Fail("expected a number from " + std::to_string(low) + " to " + std::to_string(high));
    }
    return n.integer;
}

namespace {
std::string FormatNumber(double v) {
    std::ostringstream text;
    text << v;
    return text.str();
}
}  // namespace

double DrawingReader::Number(double low, double high) {
    ExpectKind(JsonKind::kNumber);
    const double v = json_.Number().value;
    if (!(v >= low && v <= high)) Fail("expected a number from " + FormatNumber(low) + " to " + FormatNumber(high));
    return v;
}

int16_t DrawingReader::Keyword(std::initializer_list<const char*> names) {
    const std::string_view text = String();
    int16_t index = 0;
    std::string list;
    for (const char* name : names) {
        if (text == name) return index;
        list += (index == 0 ? "" : ", ") + std::string(name);
        ++index;
    }
    Fail("unknown value \"" + std::string(text) + "\" (" + list + ")");
}

svgf::HostRect DrawingReader::Box(int64_t left, int64_t top, int64_t right, int64_t bottom) const {
    for (const int64_t v : {left, top, right, bottom}) {
        if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) {
            Fail("the shape reaches beyond the host's coordinates");
        }
    }
    return svgf::HostRect{static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right),
                          static_cast<int32_t>(bottom)};
}

// x and y (the lower-left corner), width and height, by their place in that order.
void DrawingReader::AreaValue(size_t which, Area& area) {
    switch (which) {
        case 0:
            area.x = Length();
            break;
        case 1:
            area.y = Length();
            break;
        case 2:
            area.width = Size();
            break;
        default:
            area.height = Size();
            break;
    }
}

svgf::HostRect DrawingReader::AreaBox(const Area& a) const {
    return Box(a.x, int64_t{a.y} + a.height, int64_t{a.x} + a.width, a.y);
}

// {"x", "y", "width", "height"}, all required.
svgf::HostRect DrawingReader::AreaObject() {
    ExpectKind(JsonKind::kObject);
    json_.BeginObject();
    Area area;
    const Names names = {"x", "y", "width", "height"};
    const uint32_t seen = Members(names, 0, [&](size_t m, uint32_t) { AreaValue(m, area); });
    Require(seen, 0xF, names);
    return AreaBox(area);
}

svgf::HostRect DrawingReader::ReadPage() {
    ExpectKind(JsonKind::kObject);
    json_.BeginObject();
    int32_t v[4] = {0, 0, 0, 0};
    const Names names = {"width", "height", "x", "y"};
    const uint32_t seen = Members(names, 0, [&](size_t m, uint32_t) { v[m] = Length(); });
    Require(seen, 0x3, names);
    const auto [width, height, x, y] = v;
    path_.Push(names.begin()[0]);
    if (width <= 0) Fail("the page width must be above 0");
    path_.Pop();
    path_.Push(names.begin()[1]);
    if (height <= 0) Fail("the page height must be above 0");
    path_.Pop();
    const int64_t right = int64_t{x} + width;
    const int64_t top = int64_t{y} + height;
    if (right > std::numeric_limits<int32_t>::max() || top > std::numeric_limits<int32_t>::max()) {
        Fail("the page reaches beyond the host's coordinates");
    }
    return svgf::HostRect{x, static_cast<int32_t>(top), static_cast<int32_t>(right), y};
}

svgf::HostPoint DrawingReader::Point() {
    static const char kExpected[] = "expected a point [x, y]";
    if (json_.Peek() != JsonKind::kArray) Fail(kExpected);
    svgf::HostPoint p{};
    if (Elements(2, kExpected, [&](size_t i) { (i == 0 ? p.x : p.y) = Length(); }) != 2) Fail(kExpected);
    return p;
}

// "#RRGGBB", {"rgb": [r, g, b]} or {"hsb": [h, s, b]}.
svgf::ColorRecord DrawingReader::Colour() {
    static const char kExpected[] =
        "expected a colour: \"#RRGGBB\", {\"rgb\": [r, g, b]} or {\"hsb\": [h, s, b]}";
    const JsonKind kind = json_.Peek();
    if (kind == JsonKind::kString) {
        const std::string_view text = json_.String();
        if (text.size() != 7 || text[0] != '#' ||
            text.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string_view::npos) {
            Fail("expected a colour \"#RRGGBB\"");
        }
        uint32_t rgb = 0;
        std::from_chars(text.data() + 1, text.data() + 7, rgb, 16);
        return RgbColour(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb));
    }
    if (kind != JsonKind::kObject) Fail(kExpected);
    json_.BeginObject();
    std::string_view key;
    if (!json_.NextMember(key) || (key != "rgb" && key != "hsb")) Fail(kExpected);
    const bool rgb = key == "rgb";
    path_.Push(rgb ? "rgb" : "hsb");
    static const char kThree[] = "expected three numbers";
    if (json_.Peek() != JsonKind::kArray) Fail(kThree);
    int64_t c[3] = {0, 0, 0};
    if (Elements(3, kThree, [&](size_t i) { c[i] = Integer(0, !rgb && i == 0 ? 359 : 255); }) != 3) Fail(kThree);
    path_.Pop();
    if (json_.NextMember(key)) Fail(kExpected);
    return rgb ? RgbColour(uint8_t(c[0]), uint8_t(c[1]), uint8_t(c[2]))
               : HsbColour(uint16_t(c[0]), uint8_t(c[1]), uint8_t(c[2]));
}

// ["M", x, y], ["L", x, y], ["C", x1, y1, x2, y2, x, y] and ["Z"].
void DrawingReader::ReadNodes(DrawingObject& out) {
    ExpectKind(JsonKind::kArray);
    json_.BeginArray();
    size_t i = 0;
    path_.PushIndex(0);
    for (; json_.NextElement(); ++i) {
        path_.SetIndex(i);
        if (json_.Peek() != JsonKind::kArray) Fail("expected a node such as [\"M\", x, y]");
        json_.BeginArray();
        if (!json_.NextElement() || json_.Peek() != JsonKind::kString) Fail("expected a node such as [\"M\", x, y]");
        const std::string_view text = json_.String();
        const char command = text.size() == 1 ? text[0] : '?';
        if (i == 0 && command != 'M') Fail("a path begins with \"M\"");
        size_t count = 0;
        switch (command) {
            case 'M':
                count = 1;
                out.nodeTypes.push_back(svgf::node::kMove);
                break;
            case 'L':
                count = 1;
                out.nodeTypes.push_back(svgf::node::kLine);
                break;
            case 'C':
                count = 3;
                out.nodeTypes.insert(out.nodeTypes.end(),
                                     {svgf::node::kControl, svgf::node::kControl, svgf::node::kCurveEnd});
                break;
            case 'Z':
                out.nodeTypes.back() |= svgf::node::kClose;
                break;
            default:
                Fail("unknown node \"" + std::string(text) + "\" (M, L, C or Z)");
        }
        auto wrongCount = [&] {
            Fail(command == 'Z' ? std::string("\"Z\" takes no numbers")
                                : "\"" + std::string(1, command) + "\" takes " + std::to_string(count * 2) +
                                      " numbers");
        };
        size_t numbers = 0;
        int32_t x = 0;
        path_.PushIndex(0);
        while (json_.NextElement()) {
            if (numbers == count * 2) {
                path_.Pop();
                wrongCount();
            }
            path_.SetIndex(numbers + 1);
            const int32_t v = Length();
            if (numbers++ % 2 == 0) {
                x = v;
            } else {
                out.points.push_back({x, v});
            }
        }
        path_.Pop();
        if (numbers != count * 2) wrongCount();
        if (out.points.size() > 65535) {
            path_.Pop();
            Fail("more than 65535 nodes");
        }
    }
    path_.Pop();
    if (i == 0) Fail("a path needs at least one node");
}

void DrawingReader::ReadPoints(DrawingObject& out) {
    ExpectKind(JsonKind::kArray);
    Elements(65535, "more than 65535 nodes", [&](size_t) { out.points.push_back(Point()); });
    if (out.points.empty()) Fail("a polygon needs at least one point");
    out.box = BoundingBox(out.points.data(), static_cast<int32_t>(out.points.size()));
}

void DrawingReader::ReadClipShape(DrawingObject& out) {
    const Kinded k = BeginKinded();
    if (k.kind == "rectangle") {
        const Names names = {"kind", "x", "y", "width", "height"};
        Area area;
        const uint32_t seen = Members(names, k.seen, [&](size_t m, uint32_t) {
            if (m == 0) {
                json_.Skip();
            } else {
                AreaValue(m - 1, area);
            }
        });
        Require(seen, 0x1E, names);
        out.clipKind = 3;
        out.clipRect = AreaBox(area);
    } else if (k.kind == "path") {
        const Names names = {"kind", "nodes"};
        const uint32_t seen = Members(names, k.seen, [&](size_t m, uint32_t) {
            if (m == 0) {
                json_.Skip();
            } else {
                ReadNodes(out);
            }
        });
        Require(seen, 0x2, names);
        out.clipKind = 4;
    } else {
        path_.Push("kind");
        Fail("unknown clip shape \"" + k.kind + "\" (rectangle or path)");
    }
}

// [m0, m1, m2, m3, m4, m5]: x' = m0 x + m1 y + m2, y' = m3 x + m4 y + m5,
// the translations m2 and m5 in the file's unit.
svgf::HostMatrix DrawingReader::Matrix() {
    static const char kExpected[] = "expected six numbers [m0, m1, m2, m3, m4, m5]";
    if (json_.Peek() != JsonKind::kArray) Fail(kExpected);
    svgf::HostMatrix m{};
    const size_t count =
        Elements(6, kExpected, [&](size_t i) { m.m[i] = i == 2 || i == 5 ? Length() : Number(-1e6, 1e6); });
    if (count != 6) Fail(kExpected);
    return m;
}

// A group's link: {"url", "area"}.
LinkTarget DrawingReader::ReadLink() {
    ExpectKind(JsonKind::kObject);
    json_.BeginObject();
    LinkTarget out;
    const Names names = {"url", "area"};
    const uint32_t seen = Members(names, 0, [&](size_t m, uint32_t) {
        if (m == 0) {
            out.url = HostText();
        } else {
            out.area = AreaObject();
        }
    });
    Require(seen, 0x1, names);
    return out;
}

FillStyle DrawingReader::ReadFill(int depth) {
    const Kinded k = BeginKinded();
    FillStyle out;
    auto skipKind = [this] { json_.Skip(); };
    if (k.kind == "none") {
        Members({"kind"}, k.seen, [&](size_t, uint32_t) { skipKind(); });
    } else if (k.kind == "uniform") {
        const Names names = {"kind", "colour"};
        const uint32_t seen = Members(names, k.seen, [&](size_t m, uint32_t) {
            if (m == 0) {
                skipKind();
            } else {
                out.colour = Colour();
            }
        });
        Require(seen, 0x2, names);
        out.kind = svgf::kFillUniform;
    } else if (k.kind == "linear" || k.kind == "radial") {
        out.kind = svgf::kFillFountain;
        out.fountain = ReadFountain(k.seen, k.kind == "radial", false);
    } else if (k.kind == "pattern") {
        out.kind = svgf::kFillPatternFirst;
        out.pattern = ReadPattern(k.seen, depth);
    } else {
        path_.Push("kind");
        Fail("unknown fill \"" + k.kind + "\" (none, uniform, linear, radial or pattern)");
    }
    return out;
}

// A fountain's geometry, blend and stops. Colour stops carry a colour,
// transparency stops a level in percent (0 opaque, 100 clear).
FountainStyle DrawingReader::ReadFountain(uint32_t seen, bool radial, bool levels) {
    FountainStyle out;
    out.subKind = radial ? 2 : 1;
    const Names names = {"kind", "angle", "pad", "centre", "blend", "mid", "stops"};
    seen = Members(names, seen, [&](size_t m, uint32_t) {
        switch (m) {
            case 0:
                json_.Skip();
                break;
            case 1:
                out.angle = static_cast<int32_t>(std::lround(Number(-360, 360) * svgf::svc::kAngleUnitsPerDegree));
                break;
            case 2:
                out.edgePad = static_cast<int16_t>(Integer(0, 49));
                break;
            case 3: {
                static const char kExpected[] = "expected [x, y] in percent of the box";
                if (!radial) Fail("only a radial fountain has a centre");
                if (json_.Peek() != JsonKind::kArray) Fail(kExpected);
                int32_t c[2] = {0, 0};
                if (Elements(2, kExpected, [&](size_t i) { c[i] = static_cast<int32_t>(Integer(-100, 100)); }) != 2)
                    Fail(kExpected);
                out.centreX = c[0];
                out.centreY = c[1];
                break;
            }
            case 4:
                out.blend = static_cast<uint16_t>(Keyword({"two-colour", "hue-down", "hue-up", "custom"}));
                break;
            case 5:
                out.midPoint = static_cast<uint16_t>(Integer(1, 99));
                break;
            default: {
                static const std::string range =
                    "expected 2 to " + std::to_string(svgf::kFountainMaxStops) + " stops";
                ExpectKind(JsonKind::kArray);
                Elements(svgf::kFountainMaxStops, range.c_str(), [&](size_t) {
                    ExpectKind(JsonKind::kObject);
                    json_.BeginObject();
                    const char* amount = levels ? "level" : "colour";
                    const Names stopNames = {amount, "at"};
                    svgf::HostFountainStop stop{};
                    const uint32_t stopSeen = Members(stopNames, 0, [&](size_t s, uint32_t) {
                        if (s == 1) {
                            stop.position = static_cast<uint16_t>(Integer(0, 100));
                        } else if (levels) {
                            stop.colour.channels[4] = static_cast<uint8_t>(std::lround(Number(0, 100) * 2.55));
                        } else {
                            stop.colour = Colour();
                        }
                    });
                    Require(stopSeen, 0x3, stopNames);
                    out.stops.push_back(stop);
                });
                if (out.stops.size() < 2) Fail(range);
                break;
            }
        }
    });
    Require(seen, 1u << 6, names);
    return out;
}

// A pattern's tile: its size and the objects drawn in it, kept with the
// drawing's tiles.
PatternStyle DrawingReader::ReadPattern(uint32_t seen, int depth) {
    PatternStyle out;
    const std::string where = path_.Pointer();
    CheckDepth(depth, where);
    std::vector<DrawingObject> tile;
    const Names names = {"kind", "width", "height", "objects"};
    seen = Members(names, seen, [&](size_t m, uint32_t) {
        switch (m) {
            case 0:
                json_.Skip();
                break;
            case 1:
                out.width = Size();
                break;
            case 2:
                out.height = Size();
                break;
            default: {
                // The tile's objects are kept as a tree: the module asks for
                // them while it writes the pattern, in the middle of the walk.
                TreeSink tileSink(tile);
                DrawingSink* const walk = sink_;
                sink_ = &tileSink;
                ReadObjects(depth + 1);
                sink_ = walk;
                break;
            }
        }
    });
    Require(seen, 0x6, names);
    if (out.width == 0 || out.height == 0) Fail("a pattern tile needs a size above 0");
    drawing_.tiles.push_back(std::move(tile));
    out.tile = static_cast<uint32_t>(drawing_.tiles.size());
    return out;
}

OutlineStyle DrawingReader::ReadOutline() {
    const Kinded k = BeginKinded();
    OutlineStyle out;
    if (k.kind == "none") {
        Members({"kind"}, k.seen, [&](size_t, uint32_t) { json_.Skip(); });
        return out;
    }
    if (k.kind != "solid") {
        path_.Push("kind");
        Fail("unknown outline \"" + k.kind + "\" (none or solid)");
    }
    out.kind = svgf::kOutlineSolid;
    const Names names = {"kind", "colour", "width", "cap", "join", "dashes"};
    const uint32_t seen = Members(names, k.seen, [&](size_t m, uint32_t) {
        switch (m) {
            case 0:
                json_.Skip();
                break;
            case 1:
                out.colour = Colour();
                break;
            case 2:
                out.width = Size();
                break;
            case 3:
                out.cap = Keyword({"butt", "round", "square"});
                break;
            case 4:
                out.join = Keyword({"miter", "round", "bevel"});
                break;
            default: {
                static const char kRange[] = "expected 1 to 17 dash lengths";
                ExpectKind(JsonKind::kArray);
                // The host's outline record holds 17 entries.
                Elements(17, kRange, [&](size_t) { out.dashes.push_back(static_cast<int16_t>(Integer(0, 32767))); });
                if (out.dashes.empty()) Fail(kRange);
                out.kind = svgf::kOutlineDashed;
                break;
            }
        }
    });
    Require(seen, 0x6, names);
    return out;
}

TransparencyStyle DrawingReader::ReadTransparency(int depth) {
    const Kinded k = BeginKinded();
    TransparencyStyle out;
    if (k.kind == "uniform") {
        const Names names = {"kind", "level"};
        const uint32_t seen = Members(names, k.seen, [&](size_t m, uint32_t) {
            if (m == 0) {
                json_.Skip();
            } else {
                out.start = out.end = Number(0, 100);
            }
        });
        Require(seen, 0x2, names);
        out.kind = svgf::kTransparencyUniform;
    } else if (k.kind == "coded") {
        // A transparency given by the host's own numbers, for the kinds the
        // description has no name for.
        const Names names = {"kind", "code", "subkind", "start", "end"};
        const uint32_t seen = Members(names, k.seen, [&](size_t m, uint32_t) {
            switch (m) {
                case 0:
                    json_.Skip();
                    break;
                case 1:
                    out.kind = static_cast<uint16_t>(Integer(0, 65535));
                    break;
                case 2:
                    out.subKind = static_cast<uint16_t>(Integer(0, 65535));
                    break;
                case 3:
                    out.start = Number(0, 100);
                    break;
                default:
                    out.end = Number(0, 100);
                    break;
            }
        });
        Require(seen, 0x2, names);
    } else if (k.kind == "linear" || k.kind == "radial") {
        out.kind = svgf::kFillFountain;
        out.fountain = ReadFountain(k.seen, k.kind == "radial", true);
        out.subKind = out.fountain.subKind;
    } else if (k.kind == "pattern") {
        out.kind = svgf::kFillPatternFirst;
        out.pattern = ReadPattern(k.seen, depth);
        // The tile's lightness over the whole range, clear to opaque: the
        // levels a mask shows (any other range is the host's to draw).
        out.start = 0;
        out.end = 100;
    } else {
        path_.Push("kind");
        Fail("unknown transparency \"" + k.kind + "\" (uniform, linear, radial, pattern or coded)");
    }
    return out;
}

// family, size; optionally weight, italic, rotation (degrees,
// counter-clockwise) and capitals ("small" or "all").
TextFont DrawingReader::ReadFont() {
    ExpectKind(JsonKind::kObject);
    json_.BeginObject();
    TextFont out;
    const Names names = {"family", "size", "weight", "italic", "rotation", "capitals"};
    const uint32_t seen = Members(names, 0, [&](size_t m, uint32_t) {
        switch (m) {
            case 0:
                out.family = HostText();
                if (out.family.empty()) Fail("the family name is empty");
                break;
            case 1:
                out.size = Size();
                if (out.size == 0) Fail("the size must be above 0");
                break;
            case 2:
                out.weight = static_cast<int32_t>(Integer(100, 900));
                if (out.weight % 100 != 0) Fail("expected 100, 200, ... or 900");
                break;
            case 3:
                out.italic = Boolean();
                break;
            case 4:
                out.rotation = static_cast<int32_t>(
                    std::lround(Number(-360, 360) * svgf::svc::kFontRotationUnitsPerDegree));
                break;
            default:
                out.capitals = Keyword({"small", "all"}) == 0 ? kSmallCapitals : kAllCapitals;
                break;
        }
    });
    Require(seen, 0x3, names);
    return out;
}

}  // namespace host::reading
