// SVGExp: the exporter. It lives in the context from begin export to end
// export, receives the host's drawing events through the callback record and
// turns them into the SVG document through the document writer.
#ifndef SVGFILTER_SVG_EXP_H
#define SVGFILTER_SVG_EXP_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "abstract_pi.h"
#include "c_format.h"
#include "style_registry.h"
#include "svgfilter/filter_abi.h"

namespace platform {
class FileService;
class SettingsStore;
}  // namespace platform

namespace svgf {

class WSVGWriter;
class FontList;

// Size of the scratch buffer the handlers convert points into.
inline constexpr size_t kWorkBufferSize = 128000;

// Where the "Shorthand" setting lives.
inline constexpr const char* kFontSettingsKey = "SOFTWARE\\Tavix\\SVGFont";
inline constexpr const char* kShorthandValue = "Shorthand";

class SVGExp final : public CAbstractPI, public StyleRegistryHost {
  public:
    // Files and settings default to the system's; tests hand in doubles.
    SVGExp();
    SVGExp(platform::FileService& files, platform::SettingsStore* settings);
    ~SVGExp();
    SVGExp(const SVGExp&) = delete;
    SVGExp& operator=(const SVGExp&) = delete;

    // Command 5 and command 7: 1 on success, 0 on failure.
    int32_t BeginExport(FilterContext* context);
    int32_t EndExport(FilterContext* context);

    // Queries and the host's callback set.
    int32_t QueryObjectKind(uint32_t mode, const ObjectKindQuery* query) override;
    int32_t QueryInformation(int32_t code, void* out, const void* in) override;
    int32_t SetCallbackSet(const HostCallbackSet* newSet, HostCallbackSet* previous) override;
    int32_t CallHostCallback1(HostWord ignored, HostWord argument) override;
    int32_t CallHostCallback2(HostWord ignored, HostWord argument) override;

    // Drawing structure.
    int32_t BeginDrawing() override;
    int32_t EndDrawing() override;
    int32_t BeginNamedLayer(const char* name) override;
    int32_t EndNamedLayer() override;
    int32_t BeginGroup() override;
    int32_t EndGroup() override;

    // What the style registry asks of the exporter.
    ColorRecord ConvertColor(const ColorRecord& colour, int32_t model) override;
    double Scale() const override { return scale_; }
    void SetLinearGeometry(const HostFountain& fountain, const HostRect& box,
                           SVGGradient_Linear& gradient) override;
    void SetRadialGeometry(const HostFountain& fountain, const HostRect& box,
                           SVGGradient_Radial& gradient) override;
    void AddGradientStops(const HostFountain& fountain, SVGGradient& gradient, int mode) override;

    // Coordinate conversion for the handlers: a length R(v * s), and a point
    // flipped about the page top so that user y grows downwards.
    int32_t ToUserLength(int32_t hostValue) const { return RoundHalfAway(hostValue * scale_); }
    HostPoint ToUserPoint(HostPoint host) const {
        return HostPoint{ToUserLength(host.x), yOrigin_ - ToUserLength(host.y)};
    }

    // State the handlers and tests read.
    const FilterContext* Context() const { return context_; }
    const SVGExportOptions& Options() const { return options_; }
    int32_t YOrigin() const { return yOrigin_; }
    int32_t HostTop() const { return hostTop_; }
    int32_t Nesting() const { return nesting_; }
    uint32_t SeparateFontProperties() const { return separateFontProperties_; }
    uint32_t HostDrawn() const { return hostDrawn_; }
    WSVGWriter* Writer() const { return writer_.get(); }
    SVGStyleRegistry* Registry() const { return registry_.get(); }
    FontList* Fonts() const { return fontList_.get(); }
    const ExportCallbackRecord& CallbackRecord() const { return callbackRecord_; }

    // Host services, null when the host does not offer them.
    template <typename Fn>
    Fn Service(size_t index) const {
        return context_ == nullptr ? nullptr : service<Fn>(context_->services, index);
    }

  private:
    // Releases what a begin export made (writer and its parts, registry,
    // font list, work buffer); the host's handle and options stay.
    void ReleaseExportParts();
    void ReadShorthandSetting();
    // Fonts, class rules and the document's end: true when all were written.
    bool FinishDocument();
    HostCallbackSet* HostSet() const { return context_ == nullptr ? nullptr : context_->callbackSet; }
    int32_t CallHostCallback(bool first, HostWord argument);
    int32_t QueryKind(const ObjectKindQuery& query);

    platform::FileService& files_;
    platform::SettingsStore* settings_;  // null: the settings in force

    ExportCallbackRecord callbackRecord_{};
    FilterContext* context_ = nullptr;
    std::unique_ptr<WSVGWriter> writer_;
    std::unique_ptr<FontList> fontList_;
    std::unique_ptr<SVGStyleRegistry> registry_;
    std::unique_ptr<uint8_t[]> workBuffer_;
    double scale_ = 0;
    int32_t yOrigin_ = 0;
    int32_t hostTop_ = 0;
    std::string fontName_;
    uint32_t transformGroupFlag_ = 0;
    SVGExportOptions options_{};
    uint32_t hostDrawn_ = 1;
    uint32_t separateFontProperties_ = 1;
    int32_t nesting_ = 0;
    // Group and link bookkeeping: per open group whether it also opened an
    // anchor, per link whether it opened one, and the open anchors' URLs.
    std::vector<uint32_t> groupStack_;
    std::vector<uint32_t> linkStack_;
    std::vector<std::string> urlStack_;
};

}  // namespace svgf

#endif  // SVGFILTER_SVG_EXP_H
