// The drawing walk: drawing, then each layer with its objects depth first.
#include "host/drawing_player.h"

namespace host {
namespace {

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
            switch (object.kind) {
                case ObjectKind::kGroup:
                    if (!Call(r_.beginGroup, object.where, "begin group")) return false;
                    if (!PlayObjects(object.objects)) return false;
                    if (!Call(r_.endGroup, object.where, "end group")) return false;
                    break;
            }
        }
        return true;
    }

    template <typename Entry, typename... Args>
    bool Call(Entry entry, const std::string& where, const char* what, Args... args) {
        if (entry == nullptr) return Fail(where, std::string("the filter offers no entry to ") + what);
        if (entry(r_.object, args...) == svgf::kFailed)
            return Fail(where, std::string("the filter failed to ") + what);
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
