// Stand-in until the drawing structure's matrix conversion lands: the host
// matrix in user units, y flipped about the page top, as SVG's a..f.
#include "svg_exp.h"

namespace svgf {

void SVGExp::BuildSvgMatrix(double out[6], const HostMatrix& host) {
    const auto identity = Service<svc::MatrixIdentityFn>(svc::kMatrixIdentity);
    const auto combine = Service<svc::MatrixCombineFn>(svc::kMatrixCombine);
    const auto translate = Service<svc::MatrixTranslateFn>(svc::kMatrixTranslate);
    const auto scale = Service<svc::MatrixScaleFn>(svc::kMatrixScale);
    HostMatrix m{{1, 0, 0, 0, 1, 0}};
    if (identity && combine && translate && scale && scale_ != 0) {
        const HostMatrix u{{1 / scale_, 0, 0, 0, 1 / scale_, 0}};
        const HostMatrix s{{scale_, 0, 0, 0, scale_, 0}};
        identity(&m);
        combine(&m, &u);
        translate(&m, 0, -hostTop_);
        scale(&m, 1.0, -1.0, 0.0);
        combine(&m, &host);
        scale(&m, 1.0, -1.0, 0.0);
        translate(&m, 0, hostTop_);
        combine(&m, &s);
    }
    out[0] = m.m[0];
    out[1] = m.m[3];
    out[2] = m.m[1];
    out[3] = m.m[4];
    out[4] = m.m[2];
    out[5] = m.m[5];
}

}  // namespace svgf
