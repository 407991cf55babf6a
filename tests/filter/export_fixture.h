// The exporter over a document kept in memory and a service table of test
// functions, for the shape, style and structure tests.
#ifndef SVGFILTER_TESTS_EXPORT_FIXTURE_H
#define SVGFILTER_TESTS_EXPORT_FIXTURE_H

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/memory_settings_store.h"
#include "platform/scripted_files.h"
#include "svg_exp.h"
#include "svg_writer.h"

namespace svgf::testing_support {

inline constexpr int kOutputDescriptor = 7;

struct HandOver {
    size_t service;
    std::vector<intptr_t> args;
};
inline std::vector<HandOver> g_handOvers;
inline std::vector<HostHandle> g_releasedFonts;

inline int32_t SVGF_CALL HandOverPath(HostHandle h, const void* a, int32_t n, const HostPoint* p,
                                      const uint8_t* t, const HostRect* b1, const HostRect* b2) {
    g_handOvers.push_back(
        {svc::kHandOverPath,
         {intptr_t(h), intptr_t(a), n, intptr_t(p), intptr_t(t), intptr_t(b1), intptr_t(b2)}});
    return 0;
}
inline int32_t SVGF_CALL HandOverRectangle(HostHandle h, const void* a, int32_t cx, int32_t cy, int32_t w,
                                           int32_t ht, int32_t corner, uintptr_t further, const HostRect* b1,
                                           const HostRect* b2) {
    g_handOvers.push_back(
        {svc::kHandOverRectangle,
         {intptr_t(h), intptr_t(a), cx, cy, w, ht, corner, intptr_t(further), intptr_t(b1), intptr_t(b2)}});
    return 0;
}
// Colours arrive as RGB records already.
inline void SVGF_CALL ConvertColor(ColorRecord* out, int32_t, const ColorRecord* in, uint32_t) {
    *out = *in;
}
inline int32_t SVGF_CALL ReleaseFont(HostHandle font) {
    g_releasedFonts.push_back(font);
    return 1;
}

// The host's matrix arithmetic: each operation applies after the matrix.
inline void SVGF_CALL MatrixIdentity(HostMatrix* m) {
    *m = HostMatrix{{1, 0, 0, 0, 1, 0}};
}
inline void SVGF_CALL MatrixCombine(HostMatrix* m, const HostMatrix* n) {
    const double* a = m->m;
    const double* b = n->m;
    *m = HostMatrix{{b[0] * a[0] + b[1] * a[3], b[0] * a[1] + b[1] * a[4], b[0] * a[2] + b[1] * a[5] + b[2],
                     b[3] * a[0] + b[4] * a[3], b[3] * a[1] + b[4] * a[4], b[3] * a[2] + b[4] * a[5] + b[5]}};
}
inline void SVGF_CALL MatrixTranslate(HostMatrix* m, int32_t x, int32_t y) {
    const HostMatrix t{{1, 0, double(x), 0, 1, double(y)}};
    MatrixCombine(m, &t);
}
inline void SVGF_CALL MatrixScale(HostMatrix* m, double sx, double sy, double) {
    const HostMatrix t{{sx, 0, 0, 0, sy, 0}};
    MatrixCombine(m, &t);
}

inline ColorRecord Rgb(uint8_t r, uint8_t g, uint8_t b) {
    ColorRecord c{};
    c.model = kColorModelRgb;
    c.channels[4] = b;
    c.channels[5] = g;
    c.channels[6] = r;
    return c;
}

// A style made of host records.
struct Style {
    HostFillRecord fill{};
    HostOutlineRecord outline{};
    HostFillRecord transparencyKind{};
    HostTransparency transparency{};
    HostAttributes attributes{};

    Style& Fill(uint16_t kind, ColorRecord colour = {}) {
        fill.kind = kind;
        std::memcpy(fill.body, &colour, sizeof colour);
        attributes.fill = &fill;
        return *this;
    }
    Style& Outline(uint16_t kind, int32_t width, ColorRecord colour = {}) {
        outline.kind = kind;
        outline.width = width;
        outline.colour = colour;
        attributes.outline = &outline;
        return *this;
    }
    Style& Transparency(uint16_t kind, uint16_t subKind = 0, double start = 0, double end = 0) {
        transparencyKind.kind = kind;
        std::memcpy(transparencyKind.body, &subKind, sizeof subKind);
        transparency.type = kTransparencyType;
        transparency.kind = &transparencyKind;
        transparency.start = start;
        transparency.end = end;
        attributes.transparency = &transparency;
        return *this;
    }
};

class ExportFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        g_handOvers.clear();
        g_releasedFonts.clear();
        table_.slot[svc::kHandOverPath] = reinterpret_cast<HostServiceFn>(&HandOverPath);
        table_.slot[svc::kHandOverRectangle] = reinterpret_cast<HostServiceFn>(&HandOverRectangle);
        table_.slot[svc::kConvertColor] = reinterpret_cast<HostServiceFn>(&ConvertColor);
        table_.slot[svc::kReleaseFont] = reinterpret_cast<HostServiceFn>(&ReleaseFont);
        table_.slot[svc::kMatrixIdentity] = reinterpret_cast<HostServiceFn>(&MatrixIdentity);
        table_.slot[svc::kMatrixCombine] = reinterpret_cast<HostServiceFn>(&MatrixCombine);
        table_.slot[svc::kMatrixTranslate] = reinterpret_cast<HostServiceFn>(&MatrixTranslate);
        table_.slot[svc::kMatrixScale] = reinterpret_cast<HostServiceFn>(&MatrixScale);
        context_.size = kContextSize;
        context_.fileName = fileName_.data();
        context_.fileHandle = kOutputDescriptor;
        context_.hostHandle = 42;
        // One inch square at precision 1000: user units are thousandths of an inch.
        context_.pageRect = HostRect{0, 254000, 254000, 0};
        context_.services = &table_;
        options_ = SVGExportOptions{1, 0, 0, 0, 1000, kCssInternal, &context_};
        context_.exportOptions = &options_;
    }

    SVGExp& Begin(uint32_t placement = kCssInternal) {
        options_.cssPlacement = placement;
        // Every export starts afresh: its own files, the host's handle and options.
        exp_.reset();
        files_ = std::make_unique<platform::ScriptedFiles>();
        context_.hostHandle = 42;
        context_.exportOptions = &options_;
        exp_ = std::make_unique<SVGExp>(*files_, &settings_);
        EXPECT_EQ(exp_->BeginExport(&context_), 1);
        exp_->BeginDrawing();
        return *exp_;
    }
    // Ends the export; the whole document.
    std::string End() {
        exp_->EndDrawing();
        EXPECT_EQ(exp_->EndExport(&context_), 1);
        return files_->DescriptorContent(kOutputDescriptor);
    }
    // The document's body: what stands between the svg start tag and its end.
    std::string Body() {
        const std::string doc = End();
        const size_t start = doc.find(">\r\n", doc.find("viewBox")) + 3;
        const size_t defs = doc.find(" <defs>", start);
        const size_t body = defs == std::string::npos ? start : doc.find(" </defs>\r\n", defs) + 10;
        return doc.substr(body, doc.rfind("</svg>") - body);
    }

    std::unique_ptr<platform::ScriptedFiles> files_;
    platform::MemorySettingsStore settings_;
    std::string fileName_ = "/out/drawing.svg";
    HostServiceTable table_{};
    SVGExportOptions options_{};
    FilterContext context_{};
    std::unique_ptr<SVGExp> exp_;
};

// Host y grows upwards from the page's bottom; user y runs down from its top.
inline HostPoint P(int32_t x, int32_t y) {
    return HostPoint{x * 254, 254000 - y * 254};
}

}  // namespace svgf::testing_support

#endif  // SVGFILTER_TESTS_EXPORT_FIXTURE_H
