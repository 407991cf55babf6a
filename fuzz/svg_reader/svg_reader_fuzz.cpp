// The reader on documents of arbitrary text: every element, attribute
// value, reference and nesting the text makes, drawn on a canvas that
// reads every object whole and has pattern tiles drawn through the reader
// as a host would. No crash, no endless walk or reference chain, every
// group and link closed, the current matrix given back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "attribute_styles.h"
#include "svg_dom.h"
#include "svgimport/canvas.h"
#include "svgimport/reader.h"

namespace {

using namespace SVG;

void Check(bool condition) {
    if (!condition) std::abort();
}

class CheckingCanvas : public WCanvas {
  public:
    explicit CheckingCanvas(WParser& reader) : reader_(reader) {}

    int32_t DrawEllipse(const WEllipse& e) override { return Style(e.presentation, e.rx >= 0 && e.ry >= 0); }
    int32_t DrawImage(const WImage& i) override { return Style(i.presentation, i.height >= 0); }
    int32_t DrawText(const WText& t) override {
        Check(t.presentation.font != nullptr);
        return Style(t.presentation, t.text.Wide() != nullptr);
    }
    int32_t DrawPath(const WPath& p) override {
        Check(p.points.size() == p.kinds.size());
        for (const svgf::HostPoint& point : p.points) {
            Check(point.x >= p.box.left && point.x <= p.box.right && point.y >= p.box.bottom &&
                  point.y <= p.box.top);
        }
        return Style(p.presentation, true);
    }
    int32_t DrawRectangle(const WRectangle& r) override { return Style(r.presentation, r.height >= 0); }
    int32_t AcceptString(const WString&) override { return 1; }
    int32_t DeclineString(const WString&) override { return 0; }
    int32_t BeginGroup(const WGroup& g) override {
        ++open_;
        return Style(g.presentation, true);
    }
    int32_t EndGroup(const WGroup&) override {
        Check(--open_ >= 0);
        return 1;
    }
    int32_t BeginAnchor(const WAnchor&) override {
        ++open_;
        return 1;
    }
    int32_t EndAnchor() override {
        Check(--open_ >= 0);
        return 1;
    }
    int Open() const { return open_; }

  private:
    int32_t Style(const WPresentation& style, bool sound) {
        Check(sound);
        if (style.fill != nullptr && style.fill->kind() == paint::kUri) {
            const WDefsObject* d = static_cast<const WFill_URI&>(*style.fill).definition;
            Check(d != nullptr);
            if (d->kind() == kind::kPattern && tiles_ < 3) {
                // The host draws a tile, and may draw tiles inside tiles.
                ++tiles_;
                const auto& pattern = static_cast<const WPattern&>(*d);
                const WMatrix before = reader_.Current();
                WPatternTile tile{nullptr, &pattern, &reader_, pattern.matrix};
                reader_.DrawPatternTile(tile);
                Check(reader_.Current() == before);
                --tiles_;
            }
        }
        if (style.clipPath != nullptr) {
            for (const auto& shape : style.clipPath->shapes) Check(shape != nullptr);
        }
        if (style.mask != nullptr && style.mask->content != nullptr) Check(style.mask->height.value >= 0);
        return 1;
    }

    WParser& reader_;
    int open_ = 0;
    int tiles_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16) return 0;
    const reader_test::SvgDom dom(std::string_view(reinterpret_cast<const char*>(data), size));
    reader_test::AttributeStyles styles;
    WParser reader(dom.Document(), &styles);
    if (!reader.Rooted()) return 0;
    const WMatrix root = reader.Current();
    // A root that gives no size is measured as it is drawn and gets its page
    // then, so its matrix changes once; any other comes back to where it was.
    const bool measured = reader.Width() == 0 || reader.Height() == 0;
    CheckingCanvas canvas(reader);
    Check(reader.Parse(&canvas) == 1);
    Check(canvas.Open() == 0);
    Check(measured || reader.Current() == root);
    return 0;
}
