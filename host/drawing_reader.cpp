// Drawing description reader: JSON text in, the drawing handed to a sink
// object by object (or built whole), or an error that names the place in the
// file. The reader is strict (unknown or repeated members, unknown kinds and
// units are errors) so that a typing mistake never silently drops part of a
// drawing.
#include "host/drawing_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <new>
#include <optional>

#include "drawing_reading.h"
#include "host/export_geometry.h"
#include "host/style_records.h"

namespace host {
namespace reading {
namespace {

// Host units per unit of length; 0 for a unit the format does not know.
double UnitScale(std::string_view unit) {
    static const struct {
        std::string_view name;
        double scale;
    } units[] = {{"host", 1.0},    {"in", 254000.0},        {"mm", 10000.0},
                 {"cm", 100000.0}, {"pt", 254000.0 / 72.0}, {"px", 254000.0 / 96.0}};
    for (const auto& u : units) {
        if (u.name == unit) return u.scale;
    }
    return 0;
}

std::optional<ObjectKind> KindNamed(std::string_view name) {
    static const struct {
        std::string_view name;
        ObjectKind kind;
    } kinds[] = {{"rectangle", ObjectKind::kRectangle}, {"path", ObjectKind::kPath},
                 {"ellipse", ObjectKind::kEllipse},     {"group", ObjectKind::kGroup},
                 {"text", ObjectKind::kText},           {"polygon", ObjectKind::kPolygon},
                 {"link", ObjectKind::kLink},           {"clip", ObjectKind::kClip},
                 {"transform", ObjectKind::kTransform}, {"bitmap", ObjectKind::kBitmap}};
    for (const auto& k : kinds) {
        if (k.name == name) return k.kind;
    }
    return std::nullopt;
}

// Ready for the next object, keeping what its vectors and pointer hold.
void Clear(DrawingObject& o) {
    std::vector<svgf::HostPoint> points = std::move(o.points);
    std::vector<uint8_t> nodeTypes = std::move(o.nodeTypes);
    std::string where = std::move(o.where);
    o = DrawingObject{};
    points.clear();
    nodeTypes.clear();
    o.points = std::move(points);
    o.nodeTypes = std::move(nodeTypes);
    o.where = std::move(where);
}

}  // namespace

bool TreeSink::BeginLayer(const DrawingLayer& layer) {
    layers_->push_back(layer);
    open_.push_back(&layers_->back().objects);
    return true;
}

bool TreeSink::EndLayer(const DrawingLayer&) {
    open_.pop_back();
    return true;
}

bool TreeSink::Object(const DrawingObject& o) {
    open_.back()->push_back(o);
    return true;
}

// The structure's members go into its own list, which stays in place while
// they come: nothing is added to the list holding it until its end.
bool TreeSink::BeginStructure(const DrawingObject& o) {
    open_.back()->push_back(o);
    open_.push_back(&open_.back()->back().objects);
    return true;
}

bool TreeSink::EndStructure(const DrawingObject&) {
    open_.pop_back();
    return true;
}

DrawingReader::DrawingReader(JsonCursor& json, Drawing& drawing, DrawingSink& sink, std::string baseFolder)
    : json_(json), drawing_(drawing), sink_(&sink), baseFolder_(std::move(baseFolder)) {}

// The page needs the unit and the layers need the page: one that comes
// before what it needs is passed over and read when the document has ended.
void DrawingReader::Read() {
    ExpectKind(JsonKind::kObject);
    json_.BeginObject();
    enum : uint32_t { kFormat = 1, kVersion = 2, kUnit = 4, kPage = 8 };
    const Names names = {"format", "version", "unit", "page", "layers"};
    std::optional<Later> page;
    std::optional<Later> layers;
    bool begun = false;
    const uint32_t seen = Members(names, 0, [&](size_t m, uint32_t seenSoFar) {
        switch (m) {
            case 0:
                if (json_.Peek() != JsonKind::kString || json_.String() != "svgfilter-drawing") {
                    Fail("expected \"svgfilter-drawing\"");
                }
                break;
            case 1: {
                const JsonKind kind = json_.Peek();
                if (kind != JsonKind::kNumber) Fail(std::string("expected a whole number, found ") + JsonKindName(kind));
                const JsonNumber v = json_.Number();
                if (!v.whole) Fail("expected a whole number, found a number");
                if (v.integer < 1) Fail("expected a version of 1 or more, found " + std::to_string(v.integer));
                if (v.integer > kDrawingFormatVersion) {
                    Fail("version " + std::to_string(v.integer) + " is newer than this tool reads (" +
                         std::to_string(kDrawingFormatVersion) + ")");
                }
                drawing_.version = static_cast<int>(v.integer);
                break;
            }
            case 2: {
                const std::string_view unit = String();
                scale_ = UnitScale(unit);
                if (scale_ == 0) Fail("unknown unit \"" + std::string(unit) + "\" (host, in, mm, cm, pt or px)");
                break;
            }
            case 3:
                if ((seenSoFar & kUnit) != 0) {
                    drawing_.page = ReadPage();
                } else {
                    page = PassOver();
                }
                break;
            default:
                if ((seenSoFar & (kFormat | kVersion | kUnit | kPage)) == (kFormat | kVersion | kUnit | kPage) &&
                    !page) {
                    begun = true;
                    if (!sink_->BeginDrawing(drawing_)) throw Stopped{};
                    ReadLayers();
                } else {
                    layers = PassOver();
                }
                break;
        }
    });
    json_.Finish();
    Require(seen, kFormat | kVersion | kPage, names);
    if (page) {
        json_.Resume(page->at);
        path_.Push("page");
        drawing_.page = ReadPage();
        path_.Pop();
    }
    if (!begun) {
        if (!sink_->BeginDrawing(drawing_)) throw Stopped{};
        if (layers) {
            json_.Resume(layers->at);
            path_.Push("layers");
            ReadLayers();
            path_.Pop();
        }
    }
    if (!sink_->EndDrawing()) throw Stopped{};
}

DrawingReader::Later DrawingReader::PassOver() {
    Later later{json_.Here(), {}};
    json_.Skim();
    later.after = json_.Here();
    return later;
}

// Objects passed over are read now, and reading goes on where it stood.
void DrawingReader::ReadLater(const Later& later, int depth) {
    const JsonCursor::Mark resume = json_.Here();
    json_.Resume(later.at);
    path_.Push("objects");
    ReadObjects(depth);
    path_.Pop();
    // Passing over matched brackets only; reading them checked the syntax,
    // so both end at the same place.
    if (json_.Here().offset != later.after.offset) throw JsonSyntaxError{json_.Here().offset, "syntax error"};
    json_.Resume(resume);
}

void DrawingReader::ReadLayers() {
    ExpectKind(JsonKind::kArray);
    Elements(SIZE_MAX, "", [&](size_t) { ReadLayer(); });
}

void DrawingReader::ReadLayer() {
    ExpectKind(JsonKind::kObject);
    json_.BeginObject();
    DrawingLayer& layer = layer_;
    path_.Into(layer.where);
    layer.name.clear();
    std::optional<Later> objects;
    bool begun = false;
    const Names names = {"name", "objects"};
    const uint32_t seen = Members(names, 0, [&](size_t m, uint32_t seenSoFar) {
        if (m == 0) {
            layer.name = HostText();
        } else if ((seenSoFar & 1) != 0) {
            begun = true;
            if (!sink_->BeginLayer(layer)) throw Stopped{};
            ReadObjects(0);
        } else {
            objects = PassOver();
        }
    });
    Require(seen, 1, names);
    if (!begun) {
        if (!sink_->BeginLayer(layer)) throw Stopped{};
        if (objects) ReadLater(*objects, 0);
    }
    if (!sink_->EndLayer(layer)) throw Stopped{};
}

void DrawingReader::ReadObjects(int depth) {
    ExpectKind(JsonKind::kArray);
    Elements(SIZE_MAX, "", [&](size_t) { ReadObject(depth); });
}

DrawingObject& DrawingReader::Slot(int depth) {
    while (slots_.size() <= static_cast<size_t>(depth)) slots_.push_back(std::make_unique<DrawingObject>());
    return *slots_[static_cast<size_t>(depth)];
}

// A structure or pattern tile read at depth d is nesting level d + 1.
void DrawingReader::CheckDepth(int depth, const std::string& where) const {
    if (depth + 1 > kMaxGroupDepth) {
        FailAt(where, "groups nest deeper than " + std::to_string(kMaxGroupDepth) + " levels");
    }
}

void DrawingReader::Begin(const DrawingObject& o) {
    if (!sink_->BeginStructure(o)) throw Stopped{};
}

void DrawingReader::End(const DrawingObject& o) {
    if (!sink_->EndStructure(o)) throw Stopped{};
}

void DrawingReader::Emit(const DrawingObject& o) {
    if (!sink_->Object(o)) throw Stopped{};
}

void DrawingReader::ReadObject(int depth) {
    DrawingObject& o = Slot(depth);
    Clear(o);
    path_.Into(o.where);
    const Kinded k = BeginKinded();
    const std::optional<ObjectKind> kind = KindNamed(k.kind);
    if (!kind) {
        path_.Push("kind");
        Fail("unknown kind \"" + k.kind + "\"");
    }
    o.kind = *kind;
    switch (o.kind) {
        case ObjectKind::kGroup:
        case ObjectKind::kLink:
        case ObjectKind::kClip:
        case ObjectKind::kTransform:
            ReadStructure(o, k.seen, depth);
            return;
        case ObjectKind::kRectangle:
            ReadRectangle(o, k.seen, depth);
            break;
        case ObjectKind::kEllipse:
            ReadEllipse(o, k.seen, depth);
            break;
        case ObjectKind::kPath:
            ReadPath(o, k.seen, depth);
            break;
        case ObjectKind::kPolygon:
            ReadPolygon(o, k.seen);
            break;
        case ObjectKind::kText:
            ReadText(o, k.seen, depth);
            break;
        case ObjectKind::kBitmap:
            ReadBitmap(o, k.seen);
            break;
    }
    Emit(o);
}

// A structure is begun once what its begin needs is read: when its members
// come before that, they are passed over and read after the structure's end.
void DrawingReader::ReadStructure(DrawingObject& o, uint32_t seen, int depth) {
    // It nests, empty or not.
    CheckDepth(depth, o.where);
    std::optional<Later> later;
    bool begun = false;
    auto read = [&](Names names, uint32_t needed, uint32_t required) {
        seen = Members(names, seen, [&](size_t m, uint32_t seenSoFar) {
            if (m == 0) {
                json_.Skip();
            } else if (m == 1) {
                if ((seenSoFar & needed) == needed) {
                    begun = true;
                    Begin(o);
                    ReadObjects(depth + 1);
                } else {
                    later = PassOver();
                }
            } else {
                ReadStructureMember(o, m, seenSoFar);
            }
        });
        Require(seen, required, names);
    };
    switch (o.kind) {
        case ObjectKind::kGroup:
            read({"kind", "objects", "link"}, 0x4, 0);
            break;
        case ObjectKind::kLink:
            o.link.emplace();
            read({"kind", "objects", "url", "area"}, 0xC, 0x4);
            break;
        case ObjectKind::kClip:
            read({"kind", "objects", "shape"}, 0x4, 0x4);
            break;
        default:
            read({"kind", "objects", "matrix"}, 0x4, 0x4);
            break;
    }
    if (!begun) {
        Begin(o);
        if (later) ReadLater(*later, depth + 1);
    }
    End(o);
}

void DrawingReader::ReadStructureMember(DrawingObject& o, size_t member, uint32_t) {
    switch (o.kind) {
        case ObjectKind::kGroup:
            o.link = ReadLink();
            break;
        case ObjectKind::kLink:
            if (member == 2) {
                o.link->url = HostText();
            } else {
                o.link->area = AreaObject();
            }
            break;
        case ObjectKind::kClip:
            ReadClipShape(o);
            break;
        default:
            o.matrix = Matrix();
            break;
    }
}

// fill, outline and transparency, by their place in that order.
void DrawingReader::ReadStyleMember(size_t which, Style& style, int depth) {
    switch (which) {
        case 0:
            style.fill = ReadFill(depth);
            break;
        case 1:
            style.outline = ReadOutline();
            break;
        default:
            style.transparency = ReadTransparency(depth);
            break;
    }
}

void DrawingReader::ReadBitmap(DrawingObject& o, uint32_t seen) {
    const Names names = {"kind", "image", "x", "y", "width", "height", "visible", "matrix"};
    Area area;
    seen = Members(names, seen, [&](size_t m, uint32_t) {
        switch (m) {
            case 0:
                json_.Skip();
                break;
            case 1: {
                const std::string_view image = String();
                if (image.empty()) Fail("expected the name of an image file");
                o.image = image[0] == '/' || baseFolder_.empty() ? std::string(image)
                                                                 : baseFolder_ + "/" + std::string(image);
                break;
            }
            case 6:
                o.visible = AreaObject();
                break;
            case 7:
                o.matrix = Matrix();
                break;
            default:
                AreaValue(m - 2, area);
                break;
        }
    });
    Require(seen, 0x3E, names);
    o.box = AreaBox(area);
    if ((seen & 0x40) == 0) o.visible = o.box;
}

void DrawingReader::ReadRectangle(DrawingObject& o, uint32_t seen, int depth) {
    const Names names = {"kind", "x", "y", "width", "height", "corner", "fill", "outline", "transparency"};
    Area area;
    seen = Members(names, seen, [&](size_t m, uint32_t) {
        if (m == 0) {
            json_.Skip();
        } else if (m <= 4) {
            AreaValue(m - 1, area);
        } else if (m == 5) {
            o.corner = Length();
            if (o.corner < 0) Fail("the corner radius must not be negative");
        } else {
            ReadStyleMember(m - 6, o.style, depth);
        }
    });
    Require(seen, 0x1E, names);
    o.box = AreaBox(area);
    o.width = o.box.right - o.box.left;
    o.height = o.box.top - o.box.bottom;
    // The host keeps rectangles by their centre.
    o.centre = {o.box.left + o.width / 2, o.box.bottom + o.height / 2};
}

void DrawingReader::ReadEllipse(DrawingObject& o, uint32_t seen, int depth) {
    const Names names = {"kind", "cx", "cy", "rx", "ry", "fill", "outline", "transparency"};
    int32_t rx = 0;
    int32_t ry = 0;
    seen = Members(names, seen, [&](size_t m, uint32_t) {
        switch (m) {
            case 0:
                json_.Skip();
                break;
            case 1:
                o.centre.x = Length();
                break;
            case 2:
                o.centre.y = Length();
                break;
            case 3:
            case 4: {
                int32_t& radius = m == 3 ? rx : ry;
                radius = Size();
                // The host keeps the ellipse's width and height.
                if (radius > std::numeric_limits<int32_t>::max() / 2) {
                    Fail("number out of range for the host's coordinates");
                }
                break;
            }
            default:
                ReadStyleMember(m - 5, o.style, depth);
                break;
        }
    });
    Require(seen, 0x1E, names);
    o.width = 2 * rx;
    o.height = 2 * ry;
    o.box = Box(int64_t{o.centre.x} - rx, int64_t{o.centre.y} + ry, int64_t{o.centre.x} + rx,
                int64_t{o.centre.y} - ry);
}

void DrawingReader::ReadPath(DrawingObject& o, uint32_t seen, int depth) {
    const Names names = {"kind", "nodes", "fill", "outline", "transparency", "fillBox"};
    svgf::HostRect fillBox{};
    seen = Members(names, seen, [&](size_t m, uint32_t) {
        if (m == 0) {
            json_.Skip();
        } else if (m == 1) {
            ReadNodes(o);
        } else if (m == 5) {
            fillBox = AreaObject();
        } else {
            ReadStyleMember(m - 2, o.style, depth);
        }
    });
    Require(seen, 0x2, names);
    // A fill's own box (a fountain's extent beyond the nodes) is the box
    // the path is drawn with.
    o.box = (seen & 0x20) != 0 ? fillBox : BoundingBox(o.points.data(), static_cast<int32_t>(o.points.size()));
}

void DrawingReader::ReadPolygon(DrawingObject& o, uint32_t seen) {
    const Names names = {"kind", "points", "colour"};
    FillStyle fill;
    fill.kind = svgf::kFillUniform;
    seen = Members(names, seen, [&](size_t m, uint32_t) {
        if (m == 0) {
            json_.Skip();
        } else if (m == 1) {
            ReadPoints(o);
        } else {
            fill.colour = Colour();
        }
    });
    Require(seen, 0x6, names);
    o.style.fill = fill;
}

void DrawingReader::ReadText(DrawingObject& o, uint32_t seen, int depth) {
    const Names names = {"kind", "x", "y", "text", "font", "fill", "outline", "transparency"};
    seen = Members(names, seen, [&](size_t m, uint32_t) {
        switch (m) {
            case 0:
                json_.Skip();
                break;
            case 1:
                o.origin.x = Length();
                break;
            case 2:
                o.origin.y = Length();
                break;
            case 3:
                o.text = TextCodes();
                break;
            case 4:
                o.font = ReadFont();
                break;
            default:
                ReadStyleMember(m - 5, o.style, depth);
                break;
        }
    });
    Require(seen, 0x1E, names);
    // Text is read, so without a fill of its own it is black, not invisible.
    if (!o.style.fill) {
        FillStyle black;
        black.kind = svgf::kFillUniform;
        black.colour = RgbColour(0, 0, 0);
        o.style.fill = black;
    }
}

}  // namespace reading

namespace {

// Text that is not JSON is reported before what the JSON says: the reader
// stops at the first fault it meets, which may stand after a syntax error
// in a part it passed over, so on a fault the whole text is checked.
void PreferSyntaxErrors(JsonCursor& json, DrawingError& error) {
    try {
        json.Resume({0, false});
        json.Skip();
        json.Finish();
    } catch (const JsonSyntaxError& e) {
        error = DrawingError{json.LineColumn(e.offset), e.reason};
    } catch (const JsonInputError& e) {
        error = DrawingError{"", "cannot read the file: " + e.reason};
    }
}

}  // namespace

bool StreamDrawing(JsonCursor& json, Drawing& drawing, DrawingSink& sink, DrawingError& error,
                   const std::string& baseFolder) {
    try {
        reading::DrawingReader(json, drawing, sink, baseFolder).Read();
        return true;
    } catch (const reading::Failure& f) {
        error = DrawingError{f.where, f.message};
        PreferSyntaxErrors(json, error);
    } catch (const JsonSyntaxError& e) {
        error = DrawingError{json.LineColumn(e.offset), e.reason};
        PreferSyntaxErrors(json, error);
    } catch (const JsonInputError& e) {
        error = DrawingError{"", "cannot read the file: " + e.reason};
    } catch (const reading::Stopped&) {
        error = DrawingError{};
    } catch (const std::bad_alloc&) {
        error = DrawingError{"", "not enough memory to read the description"};
    }
    return false;
}

namespace {

// The file's folder, where the images it names are found.
std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
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

bool StreamDrawing(std::string_view text, Drawing& drawing, DrawingSink& sink, DrawingError& error,
                   const std::string& baseFolder) {
    JsonCursor json(text);
    return StreamDrawing(json, drawing, sink, error, baseFolder);
}

bool StreamDrawingFile(const std::string& path, Drawing& drawing, DrawingSink& sink, DrawingError& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = DrawingError{"", "cannot open the file"};
        return false;
    }
    struct stat st;
    bool ok = false;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        JsonCursor json(fd);
        ok = StreamDrawing(json, drawing, sink, error, FolderOf(path));
    } else {
        // A pipe or device is read whole: the reader may come back to a
        // place it passed over.
        std::string text;
        char chunk[65536];
        for (;;) {
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                error = DrawingError{"", std::string("cannot read the file: ") + std::strerror(errno)};
                ::close(fd);
                return false;
            }
            if (n == 0) break;
            text.append(chunk, static_cast<size_t>(n));
        }
        JsonCursor json(text);
        ok = StreamDrawing(json, drawing, sink, error, FolderOf(path));
    }
    ::close(fd);
    return ok;
}

DrawingResult ReadDrawing(std::string_view text, const std::string& baseFolder) {
    DrawingResult result;
    Drawing drawing;
    reading::TreeSink tree(drawing.layers);
    if (StreamDrawing(text, drawing, tree, result.error, baseFolder)) result.drawing = std::move(drawing);
    return result;
}

DrawingResult ReadDrawingFile(const std::string& path) {
    DrawingResult result;
    Drawing drawing;
    reading::TreeSink tree(drawing.layers);
    if (StreamDrawingFile(path, drawing, tree, result.error)) result.drawing = std::move(drawing);
    return result;
}

}  // namespace host
