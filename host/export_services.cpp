// The services the export calls for geometry and colour: matrices, point
// transformation, bounding boxes, colour conversion and the information
// service. Each is registered with a recording entry, so tests see every call.
#include "host/export_geometry.h"
#include "host/stand_in_host.h"

namespace host {
namespace {

using svgf::ColorRecord;
using svgf::HostMatrix;
using svgf::HostPoint;
using svgf::HostRect;

void SVGF_CALL MatrixIdentityService(HostMatrix* m) {
    if (m != nullptr) MatrixIdentity(*m);
}

void SVGF_CALL MatrixCombineService(HostMatrix* m, const HostMatrix* after) {
    if (m != nullptr && after != nullptr) MatrixCombine(*m, *after);
}

void SVGF_CALL MatrixTranslateService(HostMatrix* m, int32_t x, int32_t y) {
    if (m != nullptr) MatrixTranslate(*m, x, y);
}

void SVGF_CALL MatrixScaleService(HostMatrix* m, double sx, double sy, double) {
    if (m != nullptr) MatrixScale(*m, sx, sy);
}

void SVGF_CALL MatrixRotateService(HostMatrix* m, int32_t angle, int32_t cx, int32_t cy) {
    if (m != nullptr) MatrixRotate(*m, angle, cx, cy);
}

int32_t SVGF_CALL MatrixIsIdentityService(const HostMatrix* m) {
    return m != nullptr && MatrixIsIdentity(*m) ? 1 : 0;
}

void SVGF_CALL TransformPointsService(HostPoint* points, const HostMatrix* m, int32_t count) {
    if (points == nullptr || m == nullptr) return;
    for (int32_t i = 0; i < count; ++i) points[i] = TransformPoint(*m, points[i]);
}

void SVGF_CALL BoundingBoxService(const HostPoint* points, int32_t count, HostRect* out) {
    if (out != nullptr) *out = BoundingBox(points, count);
}

// A colour the host cannot convert comes back as it went in.
void SVGF_CALL ConvertColorService(ColorRecord* out, int32_t model, const ColorRecord* in, uint32_t) {
    if (out == nullptr || in == nullptr) return;
    if (!ConvertColour(*in, static_cast<uint16_t>(model), *out)) *out = *in;
}

// Objects the module hands back: the host would draw them itself; the
// stand-in host only records that it was asked.
int32_t SVGF_CALL HandOverPathService(svgf::HostHandle, const void*, int32_t, const HostPoint*,
                                      const uint8_t*, const HostRect*, const HostRect*) {
    return 0;
}

int32_t SVGF_CALL HandOverRectangleService(svgf::HostHandle, const void*, int32_t, int32_t, int32_t, int32_t,
                                           int32_t, uintptr_t, const HostRect*, const HostRect*) {
    return 0;
}

// The stand-in host knows no further information codes.
int32_t SVGF_CALL InformationService(int32_t, void*, const void*) {
    return 0;
}

}  // namespace

void RegisterExportServices(ServiceRegistry& registry) {
    namespace svc = svgf::svc;
    registry.Add<svc::kMatrixIdentity, &MatrixIdentityService>("MatrixIdentity");
    registry.Add<svc::kMatrixCombine, &MatrixCombineService>("MatrixCombine");
    registry.Add<svc::kMatrixTranslate, &MatrixTranslateService>("MatrixTranslate");
    registry.Add<svc::kMatrixScale, &MatrixScaleService>("MatrixScale");
    registry.Add<svc::kMatrixRotate, &MatrixRotateService>("MatrixRotate");
    registry.Add<svc::kMatrixIsIdentity, &MatrixIsIdentityService>("MatrixIsIdentity");
    registry.Add<svc::kTransformPoints, &TransformPointsService>("TransformPoints");
    registry.Add<svc::kBoundingBox, &BoundingBoxService>("BoundingBox");
    registry.Add<svc::kConvertColor, &ConvertColorService>("ConvertColor");
    registry.Add<svc::kInformation, &InformationService>("Information");
    registry.Add<svc::kHandOverPath, &HandOverPathService>("HandOverPath");
    registry.Add<svc::kHandOverRectangle, &HandOverRectangleService>("HandOverRectangle");
}

}  // namespace host
