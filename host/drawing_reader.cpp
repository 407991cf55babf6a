// Drawing description reader: JSON text in, a Drawing out, or an error that
// names the place in the file. The reader is strict (unknown members, kinds
// and units are errors) so that a typing mistake never silently drops part
// of a drawing.
#include "host/drawing_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <utility>

#include "host/export_geometry.h"

namespace host {
namespace {

using Json = nlohmann::json;

// Thrown inside the reader only; ReadDrawing turns it into a DrawingError.
struct Failure {
    std::string where;
    std::string message;
};

std::string EscapePointerToken(const std::string& key) {
    std::string out;
    for (char c : key) {
        if (c == '~') {
            out += "~0";
        } else if (c == '/') {
            out += "~1";
        } else {
            out += c;
        }
    }
    return out;
}

std::string Member(const std::string& where, const std::string& key) {
    return where + "/" + EscapePointerToken(key);
}

std::string Element(const std::string& where, size_t index) {
    return where + "/" + std::to_string(index);
}

const char* TypeName(const Json& value) {
    switch (value.type()) {
        case Json::value_t::null:
            return "null";
        case Json::value_t::object:
            return "an object";
        case Json::value_t::array:
            return "an array";
        case Json::value_t::string:
            return "a string";
        case Json::value_t::boolean:
            return "a boolean";
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned:
        case Json::value_t::number_float:
            return "a number";
        default:
            return "an unreadable value";
    }
}

[[noreturn]] void Fail(std::string where, std::string message) {
    throw Failure{std::move(where), std::move(message)};
}

// Host units per unit of length.
const std::map<std::string, double>& Units() {
    static const std::map<std::string, double> units = {
        {"host", 1.0},    {"in", 254000.0},        {"mm", 10000.0},
        {"cm", 100000.0}, {"pt", 254000.0 / 72.0}, {"px", 254000.0 / 96.0},
    };
    return units;
}

class Reader {
  public:
    Drawing Read(const Json& root) {
        Drawing drawing;
        ExpectObject(root, "");
        CheckMembers(root, "", {"format", "version", "unit", "page", "layers"});

        const Json& format = Required(root, "", "format");
        if (!format.is_string() || format.get<std::string>() != "svgfilter-drawing") {
            Fail("/format", "expected \"svgfilter-drawing\"");
        }
        const Json& version = Required(root, "", "version");
        if (!version.is_number_integer() && !version.is_number_unsigned()) {
            Fail("/version", std::string("expected a whole number, found ") + TypeName(version));
        }
        const int64_t v = version.get<int64_t>();
        if (v < 1) Fail("/version", "expected a version of 1 or more, found " + std::to_string(v));
        if (v > kDrawingFormatVersion) {
            Fail("/version", "version " + std::to_string(v) + " is newer than this tool reads (" +
                                 std::to_string(kDrawingFormatVersion) + ")");
        }
        drawing.version = static_cast<int>(v);

        if (root.contains("unit")) {
            const Json& unit = root["unit"];
            if (!unit.is_string()) Fail("/unit", std::string("expected a string, found ") + TypeName(unit));
            const auto it = Units().find(unit.get<std::string>());
            if (it == Units().end()) {
                Fail("/unit",
                     "unknown unit \"" + unit.get<std::string>() + "\" (host, in, mm, cm, pt or px)");
            }
            scale_ = it->second;
        }

        drawing.page = ReadPage(Required(root, "", "page"), "/page");

        if (root.contains("layers")) {
            const Json& layers = root["layers"];
            ExpectArray(layers, "/layers");
            for (size_t i = 0; i < layers.size(); ++i) {
                drawing.layers.push_back(ReadLayer(layers[i], Element("/layers", i)));
            }
        }
        drawing.tiles = std::move(tiles_);
        return drawing;
    }

  private:
    static void ExpectObject(const Json& value, const std::string& where) {
        if (!value.is_object()) Fail(where, std::string("expected an object, found ") + TypeName(value));
    }

    static void ExpectArray(const Json& value, const std::string& where) {
        if (!value.is_array()) Fail(where, std::string("expected an array, found ") + TypeName(value));
    }

    // Every object may carry a "comment" for the reader of the file.
    static void CheckMembers(const Json& object, const std::string& where, std::set<std::string> known) {
        known.insert("comment");
        for (const auto& [key, value] : object.items()) {
            if (known.count(key) == 0) Fail(Member(where, key), "unknown member \"" + key + "\"");
        }
    }

    static const Json& Required(const Json& object, const std::string& where, const char* key) {
        const auto it = object.find(key);
        if (it == object.end()) Fail(where, std::string("missing member \"") + key + "\"");
        return *it;
    }

    static std::string String(const Json& value, const std::string& where) {
        if (!value.is_string()) Fail(where, std::string("expected a string, found ") + TypeName(value));
        return value.get<std::string>();
    }

    // Text the host hands over is 8-bit ISO-8859-1, the encoding of the
    // document the module writes; the file's UTF-8 is converted to it.
    static std::string HostText(const Json& value, const std::string& where) {
        const std::string utf8 = String(value, where);
        std::string out;
        for (size_t i = 0; i < utf8.size(); ++i) {
            const auto c = static_cast<unsigned char>(utf8[i]);
            if (c == 0) Fail(where, "the text holds a NUL character");
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
                out += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
            } else {
                Fail(where, "the text holds a character outside ISO-8859-1");
            }
        }
        return out;
    }

    // A length or coordinate in the file's unit, as host units.
    int32_t Length(const Json& value, const std::string& where) const {
        if (!value.is_number()) Fail(where, std::string("expected a number, found ") + TypeName(value));
        const double host = value.get<double>() * scale_;
        if (!std::isfinite(host) || std::fabs(host) > std::numeric_limits<int32_t>::max() - 1) {
            Fail(where, "number out of range for the host's coordinates");
        }
        return static_cast<int32_t>(host > 0 ? host + 0.5 : host - 0.5);
    }

    svgf::HostRect ReadPage(const Json& page, const std::string& where) const {
        ExpectObject(page, where);
        CheckMembers(page, where, {"width", "height", "x", "y"});
        const int32_t width = Length(Required(page, where, "width"), Member(where, "width"));
        const int32_t height = Length(Required(page, where, "height"), Member(where, "height"));
        if (width <= 0) Fail(Member(where, "width"), "the page width must be above 0");
        if (height <= 0) Fail(Member(where, "height"), "the page height must be above 0");
        const int32_t x = page.contains("x") ? Length(page["x"], Member(where, "x")) : 0;
        const int32_t y = page.contains("y") ? Length(page["y"], Member(where, "y")) : 0;
        const int64_t right = int64_t{x} + width;
        const int64_t top = int64_t{y} + height;
        if (right > std::numeric_limits<int32_t>::max() || top > std::numeric_limits<int32_t>::max()) {
            Fail(where, "the page reaches beyond the host's coordinates");
        }
        return svgf::HostRect{x, static_cast<int32_t>(top), static_cast<int32_t>(right), y};
    }

    DrawingLayer ReadLayer(const Json& layer, const std::string& where) {
        ExpectObject(layer, where);
        CheckMembers(layer, where, {"name", "objects"});
        DrawingLayer out;
        out.where = where;
        out.name = HostText(Required(layer, where, "name"), Member(where, "name"));
        if (layer.contains("objects"))
            out.objects = ReadObjects(layer["objects"], Member(where, "objects"), 0);
        return out;
    }

    std::vector<DrawingObject> ReadObjects(const Json& objects, const std::string& where, int depth) {
        ExpectArray(objects, where);
        std::vector<DrawingObject> out;
        for (size_t i = 0; i < objects.size(); ++i)
            out.push_back(ReadObject(objects[i], Element(where, i), depth));
        return out;
    }

    DrawingObject ReadObject(const Json& object, const std::string& where, int depth) {
        ExpectObject(object, where);
        const std::string kind = String(Required(object, where, "kind"), Member(where, "kind"));
        DrawingObject out;
        out.where = where;
        if (kind == "group") {
            CheckMembers(object, where, {"kind", "objects", "link"});
            out.kind = ObjectKind::kGroup;
            if (object.contains("link")) out.link = ReadLink(object["link"], Member(where, "link"));
        } else if (kind == "link") {
            CheckMembers(object, where, {"kind", "objects", "url", "area"});
            out.kind = ObjectKind::kLink;
            out.link = ReadLink(object, where);
        } else if (kind == "clip") {
            CheckMembers(object, where, {"kind", "objects", "shape"});
            out.kind = ObjectKind::kClip;
            ReadClipShape(Required(object, where, "shape"), Member(where, "shape"), out);
        } else if (kind == "transform") {
            CheckMembers(object, where, {"kind", "objects", "matrix"});
            out.kind = ObjectKind::kTransform;
            out.matrix = ReadMatrix(Required(object, where, "matrix"), Member(where, "matrix"));
        } else if (kind == "bitmap") {
            CheckMembers(object, where, {"kind", "image", "x", "y", "width", "height", "visible", "matrix"});
            out.kind = ObjectKind::kBitmap;
            const std::string image = String(Required(object, where, "image"), Member(where, "image"));
            if (image.empty()) Fail(Member(where, "image"), "expected the name of an image file");
            out.image = image[0] == '/' || baseFolder_.empty() ? image : baseFolder_ + "/" + image;
            out.box = ReadArea(object, where);
            out.visible = out.box;
            if (object.contains("visible")) {
                const std::string at = Member(where, "visible");
                ExpectObject(object["visible"], at);
                CheckMembers(object["visible"], at, {"x", "y", "width", "height"});
                out.visible = ReadArea(object["visible"], at);
            }
            if (object.contains("matrix")) out.matrix = ReadMatrix(object["matrix"], Member(where, "matrix"));
            return out;
        } else if (kind == "rectangle") {
            CheckMembers(object, where,
                         {"kind", "x", "y", "width", "height", "corner", "fill", "outline", "transparency"});
            out.kind = ObjectKind::kRectangle;
            ReadRectangle(object, where, out);
            if (object.contains("corner")) {
                out.corner = Length(object["corner"], Member(where, "corner"));
                if (out.corner < 0) Fail(Member(where, "corner"), "the corner radius must not be negative");
            }
            out.style = ReadStyle(object, where, depth);
            return out;
        } else if (kind == "ellipse") {
            CheckMembers(object, where, {"kind", "cx", "cy", "rx", "ry", "fill", "outline", "transparency"});
            out.kind = ObjectKind::kEllipse;
            out.centre = {Length(Required(object, where, "cx"), Member(where, "cx")),
                          Length(Required(object, where, "cy"), Member(where, "cy"))};
            const int32_t rx = Size(Required(object, where, "rx"), Member(where, "rx"));
            const int32_t ry = Size(Required(object, where, "ry"), Member(where, "ry"));
            out.width = Double(rx, Member(where, "rx"));
            out.height = Double(ry, Member(where, "ry"));
            out.box = Box(int64_t{out.centre.x} - rx, int64_t{out.centre.y} + ry, int64_t{out.centre.x} + rx,
                          int64_t{out.centre.y} - ry, where);
            out.style = ReadStyle(object, where, depth);
            return out;
        } else if (kind == "path") {
            CheckMembers(object, where, {"kind", "nodes", "fill", "outline", "transparency"});
            out.kind = ObjectKind::kPath;
            ReadNodes(Required(object, where, "nodes"), Member(where, "nodes"), out);
            out.box = BoundingBox(out.points.data(), static_cast<int32_t>(out.points.size()));
            out.style = ReadStyle(object, where, depth);
            return out;
        } else if (kind == "polygon") {
            CheckMembers(object, where, {"kind", "points", "colour"});
            out.kind = ObjectKind::kPolygon;
            ReadPolygon(Required(object, where, "points"), Member(where, "points"), out);
            FillStyle fill;
            fill.kind = svgf::kFillUniform;
            fill.colour = Colour(Required(object, where, "colour"), Member(where, "colour"));
            out.style.fill = fill;
            return out;
        } else if (kind == "text") {
            CheckMembers(object, where,
                         {"kind", "x", "y", "text", "font", "fill", "outline", "transparency"});
            out.kind = ObjectKind::kText;
            out.origin = {Length(Required(object, where, "x"), Member(where, "x")),
                          Length(Required(object, where, "y"), Member(where, "y"))};
            out.text = TextCodes(Required(object, where, "text"), Member(where, "text"));
            out.font = ReadFont(Required(object, where, "font"), Member(where, "font"));
            out.style = ReadStyle(object, where, depth);
            // Text is read, so without a fill of its own it is black, not invisible.
            if (!out.style.fill) {
                FillStyle black;
                black.kind = svgf::kFillUniform;
                black.colour = RgbColour(0, 0, 0);
                out.style.fill = black;
            }
            return out;
        } else {
            Fail(Member(where, "kind"), "unknown kind \"" + kind + "\"");
        }
        // A structure at depth d is nesting level d + 1, empty or not.
        const bool nests = out.kind == ObjectKind::kGroup || out.kind == ObjectKind::kLink ||
                           out.kind == ObjectKind::kClip || out.kind == ObjectKind::kTransform;
        if (nests && depth + 1 > kMaxGroupDepth) {
            Fail(where, "groups nest deeper than " + std::to_string(kMaxGroupDepth) + " levels");
        }
        if (object.contains("objects")) {
            out.objects = ReadObjects(object["objects"], Member(where, "objects"), depth + 1);
        }
        return out;
    }

    // The text's characters as the host's 16-bit codes: the file's UTF-8
    // decoded, characters beyond 16 bits refused.
    static std::u16string TextCodes(const Json& value, const std::string& where) {
        const std::string utf8 = String(value, where);
        std::u16string out;
        for (size_t i = 0; i < utf8.size();) {
            const auto lead = static_cast<unsigned char>(utf8[i]);
            const int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
            if (extra == 3) Fail(where, "the text holds a character beyond the host's 16-bit codes");
            uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
            for (int k = 1; k <= extra; ++k) {
                code = (code << 6) | (static_cast<unsigned char>(utf8.at(i + k)) & 0x3F);
            }
            out.push_back(static_cast<char16_t>(code));
            i += 1 + extra;
        }
        return out;
    }

    // family, size; optionally weight, italic, rotation (degrees,
    // counter-clockwise) and capitals ("small" or "all").
    TextFont ReadFont(const Json& font, const std::string& where) const {
        ExpectObject(font, where);
        CheckMembers(font, where, {"family", "size", "weight", "italic", "rotation", "capitals"});
        TextFont out;
        out.family = HostText(Required(font, where, "family"), Member(where, "family"));
        if (out.family.empty()) Fail(Member(where, "family"), "the family name is empty");
        out.size = Size(Required(font, where, "size"), Member(where, "size"));
        if (out.size == 0) Fail(Member(where, "size"), "the size must be above 0");
        if (font.contains("weight")) {
            out.weight = static_cast<int32_t>(Integer(font["weight"], Member(where, "weight"), 100, 900));
            if (out.weight % 100 != 0) Fail(Member(where, "weight"), "expected 100, 200, ... or 900");
        }
        if (font.contains("italic")) {
            if (!font["italic"].is_boolean()) {
                Fail(Member(where, "italic"),
                     std::string("expected a boolean, found ") + TypeName(font["italic"]));
            }
            out.italic = font["italic"].get<bool>();
        }
        if (font.contains("rotation")) {
            const double degrees = Number(font["rotation"], Member(where, "rotation"), -360, 360);
            out.rotation =
                static_cast<int32_t>(std::lround(degrees * svgf::svc::kFontRotationUnitsPerDegree));
        }
        if (font.contains("capitals")) {
            out.capitals = Keyword(font["capitals"], Member(where, "capitals"), {"small", "all"}) == 0
                               ? kSmallCapitals
                               : kAllCapitals;
        }
        return out;
    }

    static int64_t Integer(const Json& value, const std::string& where, int64_t low, int64_t high) {
        if (!value.is_number_integer() && !value.is_number_unsigned()) {
            Fail(where, std::string("expected a whole number, found ") + TypeName(value));
        }
        const int64_t v = value.is_number_unsigned() && value.get<uint64_t>() > uint64_t(INT64_MAX)
                              ? INT64_MAX
                              : value.get<int64_t>();
        if (v < low || v > high) {
            Fail(where, "expected a number from " + std::to_string(low) + " to " + std::to_string(high));
        }
        return v;
    }

    static double Number(const Json& value, const std::string& where, double low, double high) {
        if (!value.is_number()) Fail(where, std::string("expected a number, found ") + TypeName(value));
        const double v = value.get<double>();
        if (!(v >= low && v <= high)) {
            Fail(where, "expected a number from " + FormatNumber(low) + " to " + FormatNumber(high));
        }
        return v;
    }

    static std::string FormatNumber(double v) {
        std::ostringstream text;
        text << v;
        return text.str();
    }

    // A length that may not be negative.
    int32_t Size(const Json& value, const std::string& where) const {
        const int32_t v = Length(value, where);
        if (v < 0) Fail(where, "the size must not be negative");
        return v;
    }

    static int32_t Double(int32_t v, const std::string& where) {
        if (v > std::numeric_limits<int32_t>::max() / 2)
            Fail(where, "number out of range for the host's coordinates");
        return 2 * v;
    }

    static svgf::HostRect Box(int64_t left, int64_t top, int64_t right, int64_t bottom,
                              const std::string& where) {
        for (int64_t v : {left, top, right, bottom}) {
            if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) {
                Fail(where, "the shape reaches beyond the host's coordinates");
            }
        }
        return svgf::HostRect{static_cast<int32_t>(left), static_cast<int32_t>(top),
                              static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
    }

    // x, y (the lower-left corner), width and height.
    svgf::HostRect ReadArea(const Json& object, const std::string& where) const {
        const int32_t x = Length(Required(object, where, "x"), Member(where, "x"));
        const int32_t y = Length(Required(object, where, "y"), Member(where, "y"));
        const int32_t width = Size(Required(object, where, "width"), Member(where, "width"));
        const int32_t height = Size(Required(object, where, "height"), Member(where, "height"));
        return Box(x, int64_t{y} + height, int64_t{x} + width, y, where);
    }

    void ReadRectangle(const Json& object, const std::string& where, DrawingObject& out) const {
        out.box = ReadArea(object, where);
        out.width = out.box.right - out.box.left;
        out.height = out.box.top - out.box.bottom;
        // The host keeps rectangles by their centre.
        out.centre = {out.box.left + out.width / 2, out.box.bottom + out.height / 2};
    }

    svgf::HostPoint Point(const Json& value, const std::string& where) const {
        if (!value.is_array() || value.size() != 2) Fail(where, "expected a point [x, y]");
        return {Length(value[0], Element(where, 0)), Length(value[1], Element(where, 1))};
    }

    static void CheckNodeCount(size_t count, const std::string& where) {
        if (count > 65535) Fail(where, "more than 65535 nodes");
    }

    // ["M", x, y], ["L", x, y], ["C", x1, y1, x2, y2, x, y] and ["Z"].
    void ReadNodes(const Json& nodes, const std::string& where, DrawingObject& out) const {
        ExpectArray(nodes, where);
        if (nodes.empty()) Fail(where, "a path needs at least one node");
        for (size_t i = 0; i < nodes.size(); ++i) {
            const std::string at = Element(where, i);
            const Json& node = nodes[i];
            if (!node.is_array() || node.empty() || !node[0].is_string()) {
                Fail(at, "expected a node such as [\"M\", x, y]");
            }
            const std::string command = node[0].get<std::string>();
            auto coordinates = [&](size_t count) {
                if (node.size() != count * 2 + 1) {
                    Fail(at, "\"" + command + "\" takes " + std::to_string(count * 2) + " numbers");
                }
                for (size_t k = 0; k < count; ++k) {
                    out.points.push_back({Length(node[1 + 2 * k], Element(at, 1 + 2 * k)),
                                          Length(node[2 + 2 * k], Element(at, 2 + 2 * k))});
                }
            };
            if (i == 0 && command != "M") Fail(at, "a path begins with \"M\"");
            if (command == "M") {
                coordinates(1);
                out.nodeTypes.push_back(svgf::node::kMove);
            } else if (command == "L") {
                coordinates(1);
                out.nodeTypes.push_back(svgf::node::kLine);
            } else if (command == "C") {
                coordinates(3);
                out.nodeTypes.insert(out.nodeTypes.end(),
                                     {svgf::node::kControl, svgf::node::kControl, svgf::node::kCurveEnd});
            } else if (command == "Z") {
                if (node.size() != 1) Fail(at, "\"Z\" takes no numbers");
                out.nodeTypes.back() |= svgf::node::kClose;
            } else {
                Fail(at, "unknown node \"" + command + "\" (M, L, C or Z)");
            }
        }
        CheckNodeCount(out.points.size(), where);
    }

    void ReadPolygon(const Json& points, const std::string& where, DrawingObject& out) const {
        ExpectArray(points, where);
        if (points.empty()) Fail(where, "a polygon needs at least one point");
        for (size_t i = 0; i < points.size(); ++i) out.points.push_back(Point(points[i], Element(where, i)));
        CheckNodeCount(out.points.size(), where);
        out.box = BoundingBox(out.points.data(), static_cast<int32_t>(out.points.size()));
    }

    void ReadClipShape(const Json& shape, const std::string& where, DrawingObject& out) const {
        ExpectObject(shape, where);
        const std::string kind = String(Required(shape, where, "kind"), Member(where, "kind"));
        if (kind == "rectangle") {
            CheckMembers(shape, where, {"kind", "x", "y", "width", "height"});
            out.clipKind = 3;
            out.clipRect = ReadArea(shape, where);
        } else if (kind == "path") {
            CheckMembers(shape, where, {"kind", "nodes"});
            out.clipKind = 4;
            ReadNodes(Required(shape, where, "nodes"), Member(where, "nodes"), out);
        } else {
            Fail(Member(where, "kind"), "unknown clip shape \"" + kind + "\" (rectangle or path)");
        }
    }

    // [m0, m1, m2, m3, m4, m5]: x' = m0 x + m1 y + m2, y' = m3 x + m4 y + m5,
    // the translations m2 and m5 in the file's unit.
    svgf::HostMatrix ReadMatrix(const Json& value, const std::string& where) const {
        if (!value.is_array() || value.size() != 6)
            Fail(where, "expected six numbers [m0, m1, m2, m3, m4, m5]");
        svgf::HostMatrix m{};
        for (size_t i = 0; i < 6; ++i) {
            if (i == 2 || i == 5) {
                m.m[i] = Length(value[i], Element(where, i));
            } else {
                m.m[i] = Number(value[i], Element(where, i), -1e6, 1e6);
            }
        }
        return m;
    }

    LinkTarget ReadLink(const Json& link, const std::string& where) const {
        ExpectObject(link, where);
        // A link object's url and area sit beside its kind and members, which
        // its caller has checked.
        if (!link.contains("kind")) CheckMembers(link, where, {"url", "area"});
        LinkTarget out;
        out.url = HostText(Required(link, where, "url"), Member(where, "url"));
        if (link.contains("area")) {
            const std::string at = Member(where, "area");
            ExpectObject(link["area"], at);
            CheckMembers(link["area"], at, {"x", "y", "width", "height"});
            out.area = ReadArea(link["area"], at);
        }
        return out;
    }

    // "#RRGGBB", {"rgb": [r, g, b]} or {"hsb": [h, s, b]}.
    static svgf::ColorRecord Colour(const Json& value, const std::string& where) {
        if (value.is_string()) {
            const std::string text = value.get<std::string>();
            if (text.size() != 7 || text[0] != '#' ||
                text.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos) {
                Fail(where, "expected a colour \"#RRGGBB\"");
            }
            const unsigned long rgb = std::stoul(text.substr(1), nullptr, 16);
            return RgbColour(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                             static_cast<uint8_t>(rgb));
        }
        if (value.is_object() && value.size() == 1 && (value.contains("rgb") || value.contains("hsb"))) {
            const bool rgb = value.contains("rgb");
            const std::string at = Member(where, rgb ? "rgb" : "hsb");
            const Json& channels = value[rgb ? "rgb" : "hsb"];
            if (!channels.is_array() || channels.size() != 3) Fail(at, "expected three numbers");
            int64_t c[3];
            for (size_t i = 0; i < 3; ++i)
                c[i] = Integer(channels[i], Element(at, i), 0, !rgb && i == 0 ? 359 : 255);
            return rgb ? RgbColour(uint8_t(c[0]), uint8_t(c[1]), uint8_t(c[2]))
                       : HsbColour(uint16_t(c[0]), uint8_t(c[1]), uint8_t(c[2]));
        }
        Fail(where, "expected a colour: \"#RRGGBB\", {\"rgb\": [r, g, b]} or {\"hsb\": [h, s, b]}");
    }

    Style ReadStyle(const Json& object, const std::string& where, int depth) {
        Style style;
        if (object.contains("fill")) style.fill = ReadFill(object["fill"], Member(where, "fill"), depth);
        if (object.contains("outline"))
            style.outline = ReadOutline(object["outline"], Member(where, "outline"));
        if (object.contains("transparency")) {
            style.transparency =
                ReadTransparency(object["transparency"], Member(where, "transparency"), depth);
        }
        return style;
    }

    FillStyle ReadFill(const Json& fill, const std::string& where, int depth) {
        ExpectObject(fill, where);
        const std::string kind = String(Required(fill, where, "kind"), Member(where, "kind"));
        FillStyle out;
        if (kind == "none") {
            CheckMembers(fill, where, {"kind"});
        } else if (kind == "uniform") {
            CheckMembers(fill, where, {"kind", "colour"});
            out.kind = svgf::kFillUniform;
            out.colour = Colour(Required(fill, where, "colour"), Member(where, "colour"));
        } else if (kind == "linear" || kind == "radial") {
            CheckMembers(fill, where, {"kind", "angle", "pad", "centre", "blend", "mid", "stops"});
            out.kind = svgf::kFillFountain;
            out.fountain = ReadFountain(fill, where, kind == "radial", false);
        } else if (kind == "pattern") {
            CheckMembers(fill, where, {"kind", "width", "height", "objects"});
            out.kind = svgf::kFillPatternFirst;
            out.pattern = ReadPattern(fill, where, depth);
        } else {
            Fail(Member(where, "kind"),
                 "unknown fill \"" + kind + "\" (none, uniform, linear, radial or pattern)");
        }
        return out;
    }

    // A fountain's geometry, blend and stops. Colour stops carry a colour,
    // transparency stops a level in percent (0 opaque, 100 clear).
    static FountainStyle ReadFountain(const Json& value, const std::string& where, bool radial, bool levels) {
        FountainStyle out;
        out.subKind = radial ? 2 : 1;
        if (value.contains("angle")) {
            out.angle = static_cast<int32_t>(std::lround(
                Number(value["angle"], Member(where, "angle"), -360, 360) * svgf::svc::kAngleUnitsPerDegree));
        }
        if (value.contains("pad"))
            out.edgePad = static_cast<int16_t>(Integer(value["pad"], Member(where, "pad"), 0, 49));
        if (value.contains("centre")) {
            const std::string at = Member(where, "centre");
            const Json& centre = value["centre"];
            if (!radial) Fail(at, "only a radial fountain has a centre");
            if (!centre.is_array() || centre.size() != 2) Fail(at, "expected [x, y] in percent of the box");
            out.centreX = static_cast<int32_t>(Integer(centre[0], Element(at, 0), -100, 100));
            out.centreY = static_cast<int32_t>(Integer(centre[1], Element(at, 1), -100, 100));
        }
        if (value.contains("blend")) {
            out.blend = static_cast<uint16_t>(Keyword(value["blend"], Member(where, "blend"),
                                                      {"two-colour", "hue-down", "hue-up", "custom"}));
        }
        if (value.contains("mid"))
            out.midPoint = static_cast<uint16_t>(Integer(value["mid"], Member(where, "mid"), 1, 99));
        const std::string at = Member(where, "stops");
        const Json& stops = Required(value, where, "stops");
        ExpectArray(stops, at);
        if (stops.size() < 2 || stops.size() > static_cast<size_t>(svgf::kFountainMaxStops)) {
            Fail(at, "expected 2 to " + std::to_string(svgf::kFountainMaxStops) + " stops");
        }
        for (size_t i = 0; i < stops.size(); ++i) {
            const std::string stopAt = Element(at, i);
            ExpectObject(stops[i], stopAt);
            const char* amount = levels ? "level" : "colour";
            CheckMembers(stops[i], stopAt, {amount, "at"});
            svgf::HostFountainStop stop{};
            if (levels) {
                const double level =
                    Number(Required(stops[i], stopAt, amount), Member(stopAt, amount), 0, 100);
                stop.colour.channels[4] = static_cast<uint8_t>(std::lround(level * 2.55));
            } else {
                stop.colour = Colour(Required(stops[i], stopAt, amount), Member(stopAt, amount));
            }
            stop.position = static_cast<uint16_t>(
                Integer(Required(stops[i], stopAt, "at"), Member(stopAt, "at"), 0, 100));
            out.stops.push_back(stop);
        }
        return out;
    }

    // A pattern's tile: its size and the objects drawn in it, kept with the
    // drawing's tiles.
    PatternStyle ReadPattern(const Json& value, const std::string& where, int depth) {
        PatternStyle out;
        out.width = Size(Required(value, where, "width"), Member(where, "width"));
        out.height = Size(Required(value, where, "height"), Member(where, "height"));
        if (out.width == 0 || out.height == 0) Fail(where, "a pattern tile needs a size above 0");
        // The tile is one more level.
        if (depth + 1 > kMaxGroupDepth) {
            Fail(where, "groups nest deeper than " + std::to_string(kMaxGroupDepth) + " levels");
        }
        std::vector<DrawingObject> tile;
        if (value.contains("objects"))
            tile = ReadObjects(value["objects"], Member(where, "objects"), depth + 1);
        tiles_.push_back(std::move(tile));
        out.tile = static_cast<uint32_t>(tiles_.size());
        return out;
    }

    static int16_t Keyword(const Json& value, const std::string& where,
                           std::initializer_list<const char*> names) {
        const std::string text = String(value, where);
        int16_t index = 0;
        std::string list;
        for (const char* name : names) {
            if (text == name) return index;
            list += (index == 0 ? "" : ", ") + std::string(name);
            ++index;
        }
        Fail(where, "unknown value \"" + text + "\" (" + list + ")");
    }

    OutlineStyle ReadOutline(const Json& outline, const std::string& where) const {
        ExpectObject(outline, where);
        const std::string kind = String(Required(outline, where, "kind"), Member(where, "kind"));
        OutlineStyle out;
        if (kind == "none") {
            CheckMembers(outline, where, {"kind"});
            return out;
        }
        if (kind != "solid") Fail(Member(where, "kind"), "unknown outline \"" + kind + "\" (none or solid)");
        CheckMembers(outline, where, {"kind", "colour", "width", "cap", "join", "dashes"});
        out.kind = svgf::kOutlineSolid;
        out.colour = Colour(Required(outline, where, "colour"), Member(where, "colour"));
        out.width = Size(Required(outline, where, "width"), Member(where, "width"));
        if (outline.contains("cap"))
            out.cap = Keyword(outline["cap"], Member(where, "cap"), {"butt", "round", "square"});
        if (outline.contains("join")) {
            out.join = Keyword(outline["join"], Member(where, "join"), {"miter", "round", "bevel"});
        }
        if (outline.contains("dashes")) {
            const std::string at = Member(where, "dashes");
            const Json& dashes = outline["dashes"];
            ExpectArray(dashes, at);
            // The host's outline record holds 17 entries.
            if (dashes.empty() || dashes.size() > 17) Fail(at, "expected 1 to 17 dash lengths");
            for (size_t i = 0; i < dashes.size(); ++i) {
                out.dashes.push_back(static_cast<int16_t>(Integer(dashes[i], Element(at, i), 0, 32767)));
            }
            out.kind = svgf::kOutlineDashed;
        }
        return out;
    }

    TransparencyStyle ReadTransparency(const Json& value, const std::string& where, int depth) {
        ExpectObject(value, where);
        const std::string kind = String(Required(value, where, "kind"), Member(where, "kind"));
        TransparencyStyle out;
        if (kind == "uniform") {
            CheckMembers(value, where, {"kind", "level"});
            out.kind = svgf::kTransparencyUniform;
            out.start = out.end = Number(Required(value, where, "level"), Member(where, "level"), 0, 100);
        } else if (kind == "coded") {
            // A transparency given by the host's own numbers, for the kinds
            // the description has no name for.
            CheckMembers(value, where, {"kind", "code", "subkind", "start", "end"});
            out.kind = static_cast<uint16_t>(
                Integer(Required(value, where, "code"), Member(where, "code"), 0, 65535));
            if (value.contains("subkind")) {
                out.subKind =
                    static_cast<uint16_t>(Integer(value["subkind"], Member(where, "subkind"), 0, 65535));
            }
            if (value.contains("start")) out.start = Number(value["start"], Member(where, "start"), 0, 100);
            if (value.contains("end")) out.end = Number(value["end"], Member(where, "end"), 0, 100);
        } else if (kind == "linear" || kind == "radial") {
            CheckMembers(value, where, {"kind", "angle", "pad", "centre", "blend", "mid", "stops"});
            out.kind = svgf::kFillFountain;
            out.fountain = ReadFountain(value, where, kind == "radial", true);
            out.subKind = out.fountain.subKind;
        } else if (kind == "pattern") {
            CheckMembers(value, where, {"kind", "width", "height", "objects"});
            out.kind = svgf::kFillPatternFirst;
            out.pattern = ReadPattern(value, where, depth);
            // The tile's lightness over the whole range, clear to opaque: the
            // levels a mask shows (any other range is the host's to draw).
            out.start = 0;
            out.end = 100;
        } else {
            Fail(Member(where, "kind"),
                 "unknown transparency \"" + kind + "\" (uniform, linear, radial, pattern or coded)");
        }
        return out;
    }

    double scale_ = 1.0;
    std::string baseFolder_;
    std::vector<std::vector<DrawingObject>> tiles_;

  public:
    // Image files are named relative to this folder ("" for the current one).
    explicit Reader(std::string baseFolder = {}) : baseFolder_(std::move(baseFolder)) {}
};

// nlohmann reports the byte it stopped at; turn it into line:column and keep
// only the reason from its message.
DrawingError SyntaxError(std::string_view text, const nlohmann::json::parse_error& e) {
    const size_t stop = std::min<size_t>(e.byte == 0 ? 0 : e.byte - 1, text.size());
    size_t line = 1;
    size_t lineStart = 0;
    for (size_t i = 0; i < stop; ++i) {
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    std::string reason = e.what();
    const size_t column = reason.find("column ");
    const size_t colon = column == std::string::npos ? std::string::npos : reason.find(": ", column);
    if (colon != std::string::npos) reason = reason.substr(colon + 2);
    return DrawingError{std::to_string(line) + ":" + std::to_string(stop - lineStart + 1), reason};
}

}  // namespace

uint32_t StyleFlags(const TextFont& font) {
    const int k = font.weight / 100 - 1;
    return (1u << (2 * k + (font.italic ? 1 : 0))) | font.capitals;
}

std::string DrawingError::Describe(std::string_view source) const {
    std::string out(source);
    if (!where.empty()) out += ":" + where;
    return out + ": " + message;
}

DrawingResult ReadDrawing(std::string_view text, const std::string& baseFolder) {
    DrawingResult result;
    Json root;
    try {
        root = Json::parse(text.begin(), text.end());
    } catch (const nlohmann::json::parse_error& e) {
        result.error = SyntaxError(text, e);
        return result;
    }
    try {
        result.drawing = Reader(baseFolder).Read(root);
    } catch (const Failure& f) {
        result.error = DrawingError{f.where, f.message};
    } catch (const nlohmann::json::exception& e) {
        result.error = DrawingError{"", e.what()};
    }
    return result;
}

DrawingResult ReadDrawingFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        DrawingResult result;
        result.error = DrawingError{"", "cannot open the file"};
        return result;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        DrawingResult result;
        result.error = DrawingError{"", "cannot read the file"};
        return result;
    }
    // Image files the description names are found beside it.
    const size_t slash = path.rfind('/');
    return ReadDrawing(text.str(), slash == std::string::npos ? std::string() : path.substr(0, slash));
}

}  // namespace host
