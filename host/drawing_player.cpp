// The drawing walk: drawing, then each layer with its objects depth first.
// Shapes go with their style records, structures (groups, links, clips,
// transforms) as a begin, their members and the matching end.
#include "host/drawing_player.h"

#include "host/style_records.h"

namespace host {
namespace {

using svgf::HostWord;

class Player {
  public:
    explicit Player(const svgf::ExportCallbackRecord& record) : r_(record) {}

    PlayResult Play(const Drawing& drawing) {
        if (!Call(r_.beginDrawing, "", "begin drawing")) return result_;
        for (const DrawingLayer& layer : drawing.layers) {
            if (!Call(r_.beginNamedLayer, layer.where, "begin layer", layer.name.c_str())) return result_;
            if (!PlayObjects(layer.objects)) return result_;
            if (!Call(r_.endNamedLayer, layer.where, "end layer")) return result_;
        }
        Call(r_.endDrawing, "", "end drawing");
        return result_;
    }

  private:
    bool PlayObjects(const std::vector<DrawingObject>& objects) {
        for (const DrawingObject& object : objects) {
            if (!PlayObject(object)) return false;
        }
        return true;
    }

    bool PlayObject(const DrawingObject& o) {
        const std::string& at = o.where;
        switch (o.kind) {
            case ObjectKind::kGroup: {
                if (!o.link) {
                    return Call(r_.beginGroup, at, "begin group") && PlayObjects(o.objects) &&
                           Call(r_.endGroup, at, "end group");
                }
                const LinkRecords link(*o.link);
                return Call(r_.beginObjectGroup, at, "begin object group",
                            static_cast<const void*>(&link.link)) &&
                       PlayObjects(o.objects) && Call(r_.endGroup, at, "end group");
            }
            case ObjectKind::kLink: {
                const LinkRecords link(*o.link);
                return Call(r_.beginLink, at, "begin link", static_cast<const void*>(&link.link)) &&
                       PlayObjects(o.objects) && Call(r_.endLink, at, "end link");
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
                            HostWord{0}) &&
                       PlayObjects(o.objects) && Call(r_.endClipGroup, at, "end clip group");
            }
            case ObjectKind::kTransform:
                return Call(r_.beginTransform, at, "begin transform",
                            static_cast<const svgf::HostAttributes*>(nullptr), &o.matrix,
                            static_cast<const svgf::HostRect*>(nullptr)) &&
                       PlayObjects(o.objects) && Call(r_.endTransform, at, "end transform");
            case ObjectKind::kRectangle: {
                const StyleRecords style(o.style);
                return Call(r_.drawRectangle, at, "draw the rectangle", style.Attributes(), o.centre.x,
                            o.centre.y, o.width, o.height, o.corner, HostWord{0}, &o.box, HostWord{0});
            }
            case ObjectKind::kEllipse:
                return PlayEllipse(o);
            case ObjectKind::kPath: {
                const StyleRecords style(o.style);
                return Call(r_.drawPath, at, "draw the path", style.Attributes(),
                            static_cast<uint32_t>(o.points.size()), o.points.data(), o.nodeTypes.data(),
                            &o.box, HostWord{0});
            }
            case ObjectKind::kPolygon:
                return Call(r_.fillPolygon, at, "fill the polygon", o.points.data(),
                            static_cast<int32_t>(o.points.size()), &o.style.fill->colour);
        }
        return true;
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
    PlayResult result_;
};

}  // namespace

PlayResult PlayDrawing(const Drawing& drawing, const svgf::ExportCallbackRecord& record) {
    return Player(record).Play(drawing);
}

}  // namespace host
