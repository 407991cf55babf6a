// The services an import calls that need no outside library: the matrix,
// point and box services (the export's, logged here with their records),
// the angle of three points, the dictionary folder and the release of
// handles. Registered with recording entries, so the host's call record
// sees them too.
#include <cmath>
#include <cstring>
#include <numbers>
#include <type_traits>

#include "host/export_geometry.h"
#include "host/import/import_host.h"
#include "json_text.h"
#include "record_text.h"
#include "service_log.h"

namespace host::import {

void RegisterMediaImportServices(ServiceRegistry& registry);
void RemoveMediaImportServices(ServiceRegistry& registry);

namespace {

using svgf::HostMatrix;
using svgf::HostPoint;
using svgf::HostRect;

void SVGF_CALL MatrixIdentityService(HostMatrix* m) {
    const Logged log([] { return std::string("MatrixIdentity"); });
    if (m != nullptr) MatrixIdentity(*m);
    log.Result([&] { return std::string(LogMatrix(m)); });
}

void SVGF_CALL MatrixCombineService(HostMatrix* m, const HostMatrix* after) {
    const Logged log(
        [&] { return std::string("MatrixCombine m=" + LogMatrix(m) + " n=" + LogMatrix(after)); });
    if (m != nullptr && after != nullptr) MatrixCombine(*m, *after);
    log.Result([&] { return std::string(LogMatrix(m)); });
}

void SVGF_CALL MatrixRotateService(HostMatrix* m, int32_t angle, int32_t cx, int32_t cy) {
    const Logged log([&] {
        return std::string("MatrixRotate m=" + LogMatrix(m) + " angle=" + Int(angle) +
                           " centre=" + LogPoint(HostPoint{cx, cy}));
    });
    if (m != nullptr) MatrixRotate(*m, angle, cx, cy);
    log.Result([&] { return std::string(LogMatrix(m)); });
}

void SVGF_CALL TransformPointsService(HostPoint* points, const HostMatrix* m, int32_t count) {
    const size_t n = count > 0 ? static_cast<size_t>(count) : 0;
    const Logged log([&] {
        return std::string("TransformPoints matrix=" + LogMatrix(m) + " count=" + Int(count) +
                           " points=" + LogPoints(points, n));
    });
    if (points == nullptr || m == nullptr) return;
    for (size_t i = 0; i < n; ++i) points[i] = TransformPoint(*m, points[i]);
    log.Result([&] { return std::string(LogPoints(points, n)); });
}

void SVGF_CALL BoundingBoxService(const HostPoint* points, int32_t count, HostRect* out) {
    const size_t n = count > 0 && points != nullptr ? static_cast<size_t>(count) : 0;
    const Logged log(
        [&] { return std::string("BoundingBox count=" + Int(count) + " points=" + LogPoints(points, n)); });
    if (out == nullptr) return;
    *out = BoundingBox(points, static_cast<int32_t>(n));
    log.Result([&] { return std::string(LogBox(out)); });
}

// The angle at the first point from the ray through the second to the ray
// through the third, counter-clockwise.
int32_t SVGF_CALL AngleOfPointsService(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3) {
    const Logged log([&] {
        return std::string("AngleOfPoints " + LogPoint({x1, y1}) + " " + LogPoint({x2, y2}) + " " +
                           LogPoint({x3, y3}));
    });
    const double ux = double(x2) - x1, uy = double(y2) - y1, vx = double(x3) - x1, vy = double(y3) - y1;
    int32_t angle = 0;
    if ((ux != 0 || uy != 0) && (vx != 0 || vy != 0)) {
        const double degrees = std::atan2(ux * vy - uy * vx, ux * vx + uy * vy) * 180 / std::numbers::pi;
        angle = static_cast<int32_t>(std::lround(degrees * svgf::svc::kAngleUnitsPerDegree));
        if (angle == -180 * svgf::svc::kAngleUnitsPerDegree) angle = -angle;
    }
    log.Result([&] { return std::string(Int(angle)); });
    return angle;
}

int32_t SVGF_CALL DictionaryFolderService(char* buffer, uint32_t size) {
    const Logged log([&] { return std::string("DictionaryFolder size=" + Int(size)); });
    const std::string folder = log.import != nullptr ? log.import->DictionaryFolder() : std::string();
    if (buffer == nullptr || size == 0) {
        log.Result("0");
        return 0;
    }
    if (folder.empty() || folder.size() >= size) {
        buffer[0] = '\0';
        log.Result("0");
        return 0;
    }
    std::memcpy(buffer, folder.c_str(), folder.size() + 1);
    log.Result([&] { return std::string("1 " + LogLatin1(buffer)); });
    return 1;
}

// Image handles of the import go back to the import side; any other handle
// (the drawing's at end export) the host simply takes back.
int32_t SVGF_CALL ReleaseHandleService(svgf::HostHandle handle) {
    const Logged log([&] { return std::string("ReleaseHandle handle=" + LogHex(handle)); });
    if (log.import != nullptr && (handle & ~0xFFFFu) == kImageHandleTag) {
        const bool released = log.import->ReleaseImageHandle(handle);
        if (!released) log.import->Warn("image handle " + LogHex(handle) + " released twice or never opened");
        log.Result([&] { return std::string(released ? "1" : "0"); });
        return released ? 1 : 0;
    }
    log.Result("1");
    return 1;
}

static_assert(std::is_same_v<decltype(&MatrixIdentityService), svgf::svc::MatrixIdentityFn>);
static_assert(std::is_same_v<decltype(&MatrixCombineService), svgf::svc::MatrixCombineFn>);
static_assert(std::is_same_v<decltype(&MatrixRotateService), svgf::svc::MatrixRotateFn>);
static_assert(std::is_same_v<decltype(&TransformPointsService), svgf::svc::TransformPointsFn>);
static_assert(std::is_same_v<decltype(&BoundingBoxService), svgf::svc::BoundingBoxFn>);
static_assert(std::is_same_v<decltype(&AngleOfPointsService), svgf::svc::AngleOfPointsFn>);
static_assert(std::is_same_v<decltype(&DictionaryFolderService), svgf::svc::DictionaryFolderFn>);
static_assert(std::is_same_v<decltype(&ReleaseHandleService), svgf::svc::ReleaseHandleFn>);

}  // namespace

void RegisterImportServices(ServiceRegistry& registry) {
    namespace svc = svgf::svc;
    registry.Add<svc::kMatrixIdentity, &MatrixIdentityService>("MatrixIdentity");
    registry.Add<svc::kMatrixCombine, &MatrixCombineService>("MatrixCombine");
    registry.Add<svc::kMatrixRotate, &MatrixRotateService>("MatrixRotate");
    registry.Add<svc::kTransformPoints, &TransformPointsService>("TransformPoints");
    registry.Add<svc::kBoundingBox, &BoundingBoxService>("BoundingBox");
    registry.Add<svc::kAngleOfPoints, &AngleOfPointsService>("AngleOfPoints");
    registry.Add<svc::kDictionaryFolder, &DictionaryFolderService>("DictionaryFolder");
    registry.Add<svc::kReleaseHandle, &ReleaseHandleService>("ReleaseHandle");
    RegisterMediaImportServices(registry);
}

void RemoveImportServices(ServiceRegistry& registry) {
    namespace svc = svgf::svc;
    registry.Remove(svc::kAngleOfPoints);
    registry.Remove(svc::kDictionaryFolder);
    RemoveMediaImportServices(registry);
}

}  // namespace host::import
