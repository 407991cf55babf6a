// Drawing description reader: JSON text in, a Drawing out, or an error that
// names the place in the file. The reader is strict (unknown members, kinds
// and units are errors) so that a typing mistake never silently drops part
// of a drawing.
#include "host/drawing_reader.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <utility>

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
            CheckMembers(object, where, {"kind", "objects"});
            out.kind = ObjectKind::kGroup;
            if (object.contains("objects")) {
                if (depth + 1 >= kMaxGroupDepth) {
                    Fail(where, "groups nest deeper than " + std::to_string(kMaxGroupDepth) + " levels");
                }
                out.objects = ReadObjects(object["objects"], Member(where, "objects"), depth + 1);
            }
            return out;
        }
        Fail(Member(where, "kind"), "unknown kind \"" + kind + "\"");
    }

    double scale_ = 1.0;
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

std::string DrawingError::Describe(std::string_view source) const {
    std::string out(source);
    if (!where.empty()) out += ":" + where;
    return out + ": " + message;
}

DrawingResult ReadDrawing(std::string_view text) {
    DrawingResult result;
    Json root;
    try {
        root = Json::parse(text.begin(), text.end());
    } catch (const nlohmann::json::parse_error& e) {
        result.error = SyntaxError(text, e);
        return result;
    }
    try {
        result.drawing = Reader().Read(root);
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
    return ReadDrawing(text.str());
}

}  // namespace host
