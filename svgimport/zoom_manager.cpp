// The zoom manager's two rectangles.
#include "svgimport/matrix.h"

namespace SVG {

int32_t UserUnitsOfHost(int32_t host) {
    return static_cast<int32_t>(int64_t{host} * kUserUnitsPerInch / kHostUnitsPerInch);
}

WZoomMgr::~WZoomMgr() = default;

void WZoomMgr::SetRects(const WRect& host, const WRect& user) {
    host_ = host;
    user_ = user;
}

void WZoomMgr::SetDocumentSize(int32_t width, int32_t height) {
    SetRects(WRect{0, static_cast<double>(height), static_cast<double>(width), 0},
             WRect{0, static_cast<double>(UserUnitsOfHost(height)),
                   static_cast<double>(UserUnitsOfHost(width)), 0});
}

}  // namespace SVG
