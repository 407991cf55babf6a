// The drawing walk: drawing, then each layer with its objects depth first.
// Shapes go with their style records, structures (groups, links, clips,
// transforms) as a begin, their members and the matching end.
#include "host/drawing_player.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include "host/style_records.h"

namespace host {
namespace {

using svgf::HostWord;

// The object kinds the module is asked about before a text object: it takes
// text as text only when it takes all of them.
constexpr uint32_t kTextObjectKinds[] = {7, 9, 21};

class Player {
  public:
    Player(const svgf::ExportCallbackRecord& record, FontSource fonts, const BitmapOpener& openBitmap)
        : r_(record), fonts_(std::move(fonts)), openBitmap_(openBitmap) {}

    PlayResult PlayTile(const Drawing& drawing, uintptr_t tile) {
        if (tile == 0 || tile > drawing.tiles.size()) {
            Fail("",
                 "the filter asked for pattern tile " + std::to_string(tile) + ", which the drawing lacks");
            return result_;
        }
        PlayObjects(drawing.tiles[tile - 1]);
        return result_;
    }

    PlayResult Play(const Drawing& drawing) {
        if (!BeginDrawing()) return result_;
        for (const DrawingLayer& layer : drawing.layers) {
            if (!BeginLayer(layer) || !PlayObjects(layer.objects) || !EndLayer(layer)) return result_;
        }
        EndDrawing();
        return result_;
    }

    // The walk's steps, also taken one by one as a reader hands the drawing over.
    bool BeginDrawing() { return Call(r_.beginDrawing, "", "begin drawing"); }
    bool EndDrawing() { return Call(r_.endDrawing, "", "end drawing"); }
    bool BeginLayer(const DrawingLayer& layer) {
        return Call(r_.beginNamedLayer, layer.where, "begin layer", layer.name.c_str());
    }
    bool EndLayer(const DrawingLayer& layer) { return Call(r_.endNamedLayer, layer.where, "end layer"); }

    bool BeginStructure(const DrawingObject& o) {
        const std::string& at = o.where;
        switch (o.kind) {
            case ObjectKind::kGroup: {
                if (!o.link) return Call(r_.beginGroup, at, "begin group");
                const LinkRecords link(*o.link);
                return Call(r_.beginObjectGroup, at, "begin object group", static_cast<const void*>(&link.link));
            }
            case ObjectKind::kLink: {
                const LinkRecords link(*o.link);
                return Call(r_.beginLink, at, "begin link", static_cast<const void*>(&link.link));
            }
            case ObjectKind::kClip: {
                svgf::ClipRecord clip{};
                clip.kind = o.clipKind;
                if (o.clipKind == 3) {
                    const svgf::HostRect& r = o.clipRect;
                    clip.shape.rect[0] = r.top;
                    clip.shape.rect[1] = r.left;
                    clip.shape.rect[2] = r.bottom;
                    clip.shape.rect[3] = r.right;
                } else {
                    clip.shape.path = {static_cast<uint32_t>(o.points.size()), o.points.data(),
                                       o.nodeTypes.data(), 0};
                }
                return Call(r_.beginClipGroup, at, "begin clip group", reinterpret_cast<HostWord>(&clip),
                            HostWord{0});
            }
            default:
                return Call(r_.beginTransform, at, "begin transform",
                            static_cast<const svgf::HostAttributes*>(nullptr), &o.matrix,
                            static_cast<const svgf::HostRect*>(nullptr));
        }
    }

    bool EndStructure(const DrawingObject& o) {
        switch (o.kind) {
            case ObjectKind::kGroup:
                return Call(r_.endGroup, o.where, "end group");
            case ObjectKind::kLink:
                return Call(r_.endLink, o.where, "end link");
            case ObjectKind::kClip:
                return Call(r_.endClipGroup, o.where, "end clip group");
            default:
                return Call(r_.endTransform, o.where, "end transform");
        }
    }

    // Shapes, polygons, text and bitmaps.
    bool PlayObject(const DrawingObject& o) {
        const std::string& at = o.where;
        switch (o.kind) {
            case ObjectKind::kRectangle: {
                const StyleRecords style(o.style);
                return Call(r_.drawRectangle, at, "draw the rectangle", style.Attributes(), o.centre.x,
                            o.centre.y, o.width, o.height, o.corner, HostWord{0}, &o.box, HostWord{0});
            }
            case ObjectKind::kText:
                return PlayText(o);
            case ObjectKind::kEllipse:
                return PlayEllipse(o);
            case ObjectKind::kBitmap:
                return PlayBitmap(o);
            case ObjectKind::kPath: {
                const StyleRecords style(o.style);
                return Call(r_.drawPath, at, "draw the path", style.Attributes(),
                            static_cast<uint32_t>(o.points.size()), o.points.data(), o.nodeTypes.data(),
                            &o.box, HostWord{0});
            }
            case ObjectKind::kPolygon:
                return Call(r_.fillPolygon, at, "fill the polygon", o.points.data(),
                            static_cast<int32_t>(o.points.size()), &o.style.fill->colour);
            default:
                return BeginStructure(o) && PlayObjects(o.objects) && EndStructure(o);
        }
    }

    const PlayResult& Result() const { return result_; }

  private:
    bool PlayObjects(const std::vector<DrawingObject>& objects) {
        for (const DrawingObject& object : objects) {
            if (!PlayObject(object)) return false;
        }
        return true;
    }

    // A text object: the host lays the characters out with its font's
    // advances and reports the object as a transform carrying the text's
    // style, its font, the run of characters with their origins, and the end.
    bool PlayText(const DrawingObject& o) {
        const std::string& at = o.where;
        HostFonts* const fonts = fonts_ ? fonts_() : nullptr;
        if (fonts == nullptr) return Fail(at, "this host has no fonts to lay text out with");
        if (!TakesText()) return PlayTextAsCurves(o, *fonts);
        const TextFont& font = o.font;
        const int32_t id = fonts->FontId(font.family);
        const uint32_t flags = StyleFlags(font);
        const auto origins = fonts->Layout(id, flags, font.size, o.text, o.origin, font.rotation);
        if (!origins) return Fail(at, "the host cannot lay the text out in \"" + font.family + "\"");
        const StyleRecords style(o.style);
        const svgf::HostMatrix identity{{1, 0, 0, 0, 1, 0}};
        const svgf::HostRect box = TextBox(*origins, font.size);
        return Call(r_.beginTransform, at, "begin the text object", style.Attributes(), &identity, &box) &&
               Call(r_.defineFont, at, "define the font", HostWord{0}, id, flags, font.size, font.rotation) &&
               Call(r_.drawTextRun, at, "draw the text", static_cast<int32_t>(o.text.size()),
                    reinterpret_cast<const uint16_t*>(o.text.data()), origins->data()) &&
               Call(r_.endTransform, at, "end the text object");
    }

    // Whether the module takes text as text: it answers the object-kind
    // queries of the text kinds, and a filter that declines any of them gets
    // the text as curves. A record without the query entry takes text.
    bool TakesText() {
        if (r_.queryObjectKindByType == nullptr) return true;
        if (!takesText_) {
            takesText_ = true;
            for (uint32_t kind : kTextObjectKinds) {
                if (r_.queryObjectKindByType(r_.object, kind, nullptr) == 0) *takesText_ = false;
            }
        }
        return *takesText_;
    }

    // Text the module does not take as text: the glyphs' outlines from the
    // host's fonts, laid out as for text, drawn as paths with the text's
    // style over the text's box.
    bool PlayTextAsCurves(const DrawingObject& o, HostFonts& fonts) {
        const std::string& at = o.where;
        const TextFont& font = o.font;
        std::u16string text = o.text;
        // The module upper-cases text of all capitals; as curves that is the host's part.
        if (font.capitals == kAllCapitals) {
            for (char16_t& c : text) c = CapitalOf(c);
        }
        const int32_t id = fonts.FontId(font.family);
        const uint32_t flags = StyleFlags(font);
        const auto origins = fonts.Layout(id, flags, font.size, text, o.origin, font.rotation);
        const auto paths =
            origins ? fonts.Curves(id, flags, font.size, text, *origins, font.rotation) : std::nullopt;
        if (!paths) return Fail(at, "the host cannot draw the text as curves in \"" + font.family + "\"");
        const StyleRecords style(o.style);
        const svgf::HostRect box = TextBox(*origins, font.size);
        for (const TextPath& path : *paths) {
            if (!Call(r_.drawPath, at, "draw the text as curves", style.Attributes(),
                      static_cast<uint32_t>(path.points.size()), path.points.data(), path.nodeTypes.data(), &box,
                      HostWord{0})) {
                return false;
            }
        }
        return true;
    }

    // The capital of a letter of ISO-8859-1, as the module upper-cases text.
    static char16_t CapitalOf(char16_t c) {
        if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - (u'a' - u'A'));
        if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
        if (c == 0xFF) return 0x178;
        return c;
    }

    // The origins widened by the font's size: a box the glyphs fall in.
    static svgf::HostRect TextBox(const std::vector<svgf::HostPoint>& origins, int32_t size) {
        int64_t left = 0, right = 0, bottom = 0, top = 0;
        for (size_t i = 0; i < origins.size(); ++i) {
            const svgf::HostPoint p = origins[i];
            left = i == 0 ? p.x : std::min<int64_t>(left, p.x);
            right = i == 0 ? p.x : std::max<int64_t>(right, p.x);
            bottom = i == 0 ? p.y : std::min<int64_t>(bottom, p.y);
            top = i == 0 ? p.y : std::max<int64_t>(top, p.y);
        }
        auto clamp = [](int64_t v) {
            return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
        };
        return {clamp(left - size), clamp(top + size), clamp(right + size), clamp(bottom - size)};
    }

    bool PlayBitmap(const DrawingObject& o) {
        if (!openBitmap_) return true;
        std::string reason;
        const svgf::HostHandle bitmap = openBitmap_(o, reason);
        if (bitmap == 0) return Fail(o.where, "cannot open the image " + o.image + ": " + reason);
        return Call(r_.drawBitmap, o.where, "draw the bitmap", HostWord{0}, bitmap, HostWord{0}, &o.box,
                    &o.matrix, &o.visible, HostWord{0}, HostWord{0});
    }

    // An ellipse the module does not take (it answers "not handled") is sent
    // again as a path, the way the host draws what a filter declines.
    bool PlayEllipse(const DrawingObject& o) {
        const StyleRecords style(o.style);
        int32_t answer = 0;
        if (!Call(r_.drawEllipse, o.where, "draw the ellipse", &answer, style.Attributes(), o.centre.x,
                  o.centre.y, o.width, o.height, HostWord{0}, HostWord{0}, HostWord{0}, HostWord{0}, &o.box,
                  HostWord{0})) {
            return false;
        }
        if (answer != svgf::kNotHandled) return true;
        std::vector<svgf::HostPoint> points;
        std::vector<uint8_t> types;
        EllipseAsPath(o.centre, o.width, o.height, points, types);
        return Call(r_.drawPath, o.where, "draw the ellipse as a path", style.Attributes(),
                    static_cast<uint32_t>(points.size()), points.data(), types.data(), &o.box, HostWord{0});
    }

    // The link record and its data, alive for one begin call.
    struct LinkRecords {
        explicit LinkRecords(const LinkTarget& target) {
            data.url = target.url.c_str();
            data.noHotSpot = target.area ? 0 : 1;
            if (target.area) box = *target.area;
            link = {&box, &data};
        }
        svgf::HostRect box{};
        svgf::HostLinkData data{};
        svgf::HostLink link{};
    };

    template <typename Entry, typename... Args>
    bool Call(Entry entry, const std::string& where, const char* what, Args... args) {
        int32_t answer = 0;
        return Call(entry, where, what, &answer, args...);
    }

    template <typename Entry, typename... Args>
    bool Call(Entry entry, const std::string& where, const char* what, int32_t* answer, Args... args) {
        if (entry == nullptr) return Fail(where, std::string("the filter offers no entry to ") + what);
        *answer = entry(r_.object, args...);
        if (*answer == svgf::kFailed) return Fail(where, std::string("the filter failed to ") + what);
        return true;
    }

    bool Fail(const std::string& where, std::string message) {
        result_ = PlayResult{false, where, std::move(message)};
        return false;
    }

    const svgf::ExportCallbackRecord& r_;
    FontSource fonts_;
    const BitmapOpener& openBitmap_;
    PlayResult result_;
    std::optional<bool> takesText_;  // asked once per walk
};

}  // namespace

PlayResult PlayDrawing(const Drawing& drawing, const svgf::ExportCallbackRecord& record, HostFonts* fonts,
                       const BitmapOpener& openBitmap) {
    return Player(record, [fonts] { return fonts; }, openBitmap).Play(drawing);
}

PlayResult PlayTile(const Drawing& drawing, uintptr_t tile, const svgf::ExportCallbackRecord& record,
                    const FontSource& fonts, const BitmapOpener& openBitmap) {
    return Player(record, fonts, openBitmap).PlayTile(drawing, tile);
}

struct DrawingPlayer::State {
    State(const svgf::ExportCallbackRecord& record, FontSource fonts, BitmapOpener openBitmap)
        : opener(std::move(openBitmap)), player(record, std::move(fonts), opener) {}
    BitmapOpener opener;
    Player player;
};

DrawingPlayer::DrawingPlayer(const svgf::ExportCallbackRecord& record, FontSource fonts, BitmapOpener openBitmap)
    : state_(std::make_unique<State>(record, std::move(fonts), std::move(openBitmap))) {}

DrawingPlayer::~DrawingPlayer() = default;

bool DrawingPlayer::BeginDrawing(const Drawing&) {
    return state_->player.BeginDrawing();
}
bool DrawingPlayer::BeginLayer(const DrawingLayer& layer) {
    return state_->player.BeginLayer(layer);
}
bool DrawingPlayer::EndLayer(const DrawingLayer& layer) {
    return state_->player.EndLayer(layer);
}
bool DrawingPlayer::Object(const DrawingObject& object) {
    return state_->player.PlayObject(object);
}
bool DrawingPlayer::BeginStructure(const DrawingObject& object) {
    return state_->player.BeginStructure(object);
}
bool DrawingPlayer::EndStructure(const DrawingObject& object) {
    return state_->player.EndStructure(object);
}
bool DrawingPlayer::EndDrawing() {
    return state_->player.EndDrawing();
}
const PlayResult& DrawingPlayer::Result() const {
    return state_->player.Result();
}

namespace {
bool AnyText(const std::vector<DrawingObject>& objects) {
    return std::any_of(objects.begin(), objects.end(), [](const DrawingObject& o) {
        return o.kind == ObjectKind::kText || AnyText(o.objects);
    });
}
}  // namespace

bool HasText(const Drawing& drawing) {
    return std::any_of(drawing.layers.begin(), drawing.layers.end(),
                       [](const DrawingLayer& layer) { return AnyText(layer.objects); }) ||
           std::any_of(drawing.tiles.begin(), drawing.tiles.end(),
                       [](const std::vector<DrawingObject>& tile) { return AnyText(tile); });
}

}  // namespace host
