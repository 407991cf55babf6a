// The export services as the module reaches them: through the context's
// service table, each call recorded in the host's log.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/export_geometry.h"
#include "host/stand_in_host.h"

namespace host {
namespace {

using namespace svgf;

// Stands in for the module: each command runs the calls a test puts here.
std::function<void(FilterContext&)> g_module;

int32_t SVGF_CALL FakeEntry(uint32_t, FilterContext* context) {
    g_module(*context);
    return 1;
}

TEST(ExportServices, AreReachedThroughTheTableAndRecorded) {
    StandInHost host(&FakeEntry);
    HostPoint points[2] = {{10, 20}, {-5, 3}};
    HostRect box{};
    HostMatrix m{};
    ColorRecord hsb{};
    int32_t identity = -1;
    g_module = [&](FilterContext& c) {
        const HostServiceTable* t = c.services;
        service<svc::MatrixIdentityFn>(t, svc::kMatrixIdentity)(&m);
        service<svc::MatrixTranslateFn>(t, svc::kMatrixTranslate)(&m, 1, 2);
        service<svc::MatrixScaleFn>(t, svc::kMatrixScale)(&m, 1.0, -1.0, 0.0);
        identity = service<svc::MatrixIsIdentityFn>(t, svc::kMatrixIsIdentity)(&m);
        service<svc::TransformPointsFn>(t, svc::kTransformPoints)(points, &m, 2);
        service<svc::BoundingBoxFn>(t, svc::kBoundingBox)(points, 2, &box);
        const ColorRecord red = RgbColour(255, 0, 0);
        service<svc::ConvertColorFn>(t, svc::kConvertColor)(&hsb, kColorModelHsb, &red, c.colourHandle);
        service<svc::ReleaseHandleFn>(t, svc::kReleaseHandle)(c.hostHandle);
    };
    ASSERT_EQ(host.Call(kCmdBeginExport), 1);
    EXPECT_EQ(identity, 0);
    EXPECT_EQ(points[0].x, 11);
    EXPECT_EQ(points[0].y, -22);
    EXPECT_EQ(box.left, -4);
    EXPECT_EQ(box.top, -5);
    EXPECT_EQ(box.right, 11);
    EXPECT_EQ(box.bottom, -22);
    EXPECT_EQ(hsb.model, kColorModelHsb);
    EXPECT_EQ(hsb.channels[6], 255);
    EXPECT_EQ(host.Log().Names(), (std::vector<std::string>{
                                      "MatrixIdentity", "MatrixTranslate", "MatrixScale", "MatrixIsIdentity",
                                      "TransformPoints", "BoundingBox", "ConvertColor", "ReleaseHandle"}));
    const RecordedCall& scale = host.Log().Calls()[2];
    EXPECT_EQ(scale.Real(1), 1.0);
    EXPECT_EQ(scale.Real(2), -1.0);
    g_module = nullptr;
}

}  // namespace
}  // namespace host
