#include "cairo_peer.h"

#include <cairo-svg.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace bench {

long FileSize(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : 0;
}

// The same shapes through cairo: host units become points (1/72 inch), y down.
long ExportWithCairo(const StylePool& styles, int64_t count, const std::string& path) {
    constexpr double kToPoints = 72.0 / 254000.0;
    const double page = kPageSize * kToPoints;
    cairo_surface_t* surface = cairo_svg_surface_create(path.c_str(), page, page);
    cairo_t* cr = cairo_create(surface);
    auto at = [&](svgf::HostPoint p) {
        return std::pair<double, double>{p.x * kToPoints, page - p.y * kToPoints};
    };
    for (int64_t i = 0; i < count; ++i) {
        const Shape s = MakeShape(static_cast<uint64_t>(i));
        const host::Style& style = styles.Style(s.style);
        cairo_new_path(cr);
        switch (s.kind) {
            case ShapeKind::kPath: {
                auto [x0, y0] = at(s.points[0]);
                cairo_move_to(cr, x0, y0);
                for (int k : {1, 2}) {
                    auto [x, y] = at(s.points[static_cast<size_t>(k)]);
                    cairo_line_to(cr, x, y);
                }
                auto [x1, y1] = at(s.points[3]);
                auto [x2, y2] = at(s.points[4]);
                auto [x3, y3] = at(s.points[5]);
                cairo_curve_to(cr, x1, y1, x2, y2, x3, y3);
                auto [x4, y4] = at(s.points[6]);
                cairo_line_to(cr, x4, y4);
                cairo_close_path(cr);
                break;
            }
            case ShapeKind::kRectangle: {
                auto [x, y] = at({s.box.left, s.box.top});
                cairo_rectangle(cr, x, y, s.width * kToPoints, s.height * kToPoints);
                break;
            }
            case ShapeKind::kEllipse: {
                auto [x, y] = at(s.centre);
                cairo_save(cr);
                cairo_translate(cr, x, y);
                cairo_scale(cr, s.width * kToPoints / 2, s.height * kToPoints / 2);
                cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
                cairo_restore(cr);
                break;
            }
        }
        const double alpha = style.transparency ? (100 - style.transparency->start) / 100 : 1.0;
        if (style.fill && style.fill->kind == svgf::kFillUniform) {
            const uint8_t* c = style.fill->colour.channels;
            cairo_set_source_rgba(cr, c[6] / 255.0, c[5] / 255.0, c[4] / 255.0, alpha);
            cairo_fill_preserve(cr);
        }
        if (style.outline) {
            const host::OutlineStyle& o = *style.outline;
            const uint8_t* c = o.colour.channels;
            cairo_set_source_rgb(cr, c[6] / 255.0, c[5] / 255.0, c[4] / 255.0);
            cairo_set_line_width(cr, o.width * kToPoints);
            cairo_set_line_cap(cr, static_cast<cairo_line_cap_t>(o.cap));
            cairo_set_line_join(cr, static_cast<cairo_line_join_t>(o.join));
            double dashes[17];
            for (size_t k = 0; k < o.dashes.size() && k < 17; ++k)
                dashes[k] = o.dashes[k] * o.width * kToPoints;
            cairo_set_dash(cr, dashes, static_cast<int>(std::min<size_t>(o.dashes.size(), 17)), 0);
            cairo_stroke(cr);
        }
        cairo_new_path(cr);
    }
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok ? FileSize(path) : -1;
}

}  // namespace bench
