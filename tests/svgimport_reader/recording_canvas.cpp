// The recording canvas's lines.
#include "recording_canvas.h"

#include <cmath>
#include <cstdio>

namespace reader_test {

using namespace SVG;

namespace {

std::string I(double v) {
    return std::to_string(static_cast<long long>(std::llround(v)));
}

std::string Hex(uint32_t v, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*x", width, v);
    return buffer;
}

std::string Rgb(const WColour& c) {
    return "#" + Hex(c.red, 2) + Hex(c.green, 2) + Hex(c.blue, 2);
}

std::string Stops(const WGradient& g) {
    std::string out;
    for (const auto& [position, stop] : g.stops) {
        out += " " + std::to_string(position) + ":" + Rgb(stop.colour) + "/" + std::to_string(stop.opacity);
    }
    return out;
}

}  // namespace

std::string PointsOf(const WPath& path) {
    std::string out;
    for (size_t i = 0; i < path.points.size(); ++i) {
        if (!out.empty()) out += ' ';
        out += Hex(path.kinds[i], 2) + ":" + std::to_string(path.points[i].x) + "," +
               std::to_string(path.points[i].y);
    }
    return out;
}

namespace {

// A clip path's shapes, then the clip path that clips it in turn.
std::string ClipText(const WClippath& clip) {
    std::string out = "[";
    for (size_t i = 0; i < clip.shapes.size(); ++i) {
        const WGraphicsPrimitive& shape = *clip.shapes[i];
        if (i != 0) out += "; ";
        if (shape.kind() == kind::kRectangle) {
            const auto& r = static_cast<const WRectangle&>(shape);
            out += "rect " + I(r.x) + "," + I(r.y) + " " + I(r.width) + "x" + I(r.height);
        } else {
            out += "path " + PointsOf(static_cast<const WPath&>(shape));
        }
    }
    if (clip.presentation.clipPath) out += " inside " + ClipText(*clip.presentation.clipPath);
    return out + "]";
}

}  // namespace

void RecordingCanvas::Add(std::string line) {
    lines.push_back(std::string(static_cast<size_t>(depth_) * 2, ' ') + line);
}

std::vector<std::string> RecordingCanvas::Lines(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& l : lines) {
        const size_t text = l.find_first_not_of(' ');
        if (text != std::string::npos && l.compare(text, prefix.size(), prefix) == 0)
            out.push_back(l.substr(text));
    }
    return out;
}

std::string RecordingCanvas::Text() const {
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    return out;
}

std::string RecordingCanvas::Paint(const WFill& fill) {
    std::string out;
    if (fill.kind() == paint::kColor) {
        out = Rgb(static_cast<const WFill_Color&>(fill).colour);
    } else {
        const WDefsObject* d = static_cast<const WFill_URI&>(fill).definition;
        if (d == nullptr) {
            out = "url(null)";
        } else if (d->kind() == kind::kLinearGradient) {
            const auto& g = static_cast<const WLinearGradient&>(*d);
            out = "linear(" + I(g.x1) + "," + I(g.y1) + " " + I(g.x2) + "," + I(g.y2) + ";" + Stops(g) + ")";
        } else if (d->kind() == kind::kRadialGradient) {
            const auto& g = static_cast<const WRadialGradient&>(*d);
            out = "radial(" + I(g.cx) + "," + I(g.cy) + " r" + I(g.r) + " f" + I(g.fx) + "," + I(g.fy) + ";" +
                  Stops(g) + ")";
        } else if (d->kind() == kind::kPattern) {
            const auto& p = static_cast<const WPattern&>(*d);
            const WMatrix& m = p.matrix;
            out = "pattern(" + I(p.x) + "," + I(p.y) + " " + I(p.width) + "x" + I(p.height) + " m=[" +
                  I(m.a) + " " + I(m.b) + " " + I(m.c) + " " + I(m.d) + " " + I(m.e) + " " + I(m.f) + "])";
            if (reader_ != nullptr && tiles_ < tileDepth) {
                ++tiles_;
                WPatternTile tile{nullptr, &p, reader_, p.matrix};
                Add("tile {");
                ++depth_;
                reader_->DrawPatternTile(tile);
                --depth_;
                Add("}");
                --tiles_;
            }
        }
    }
    return out + (fill.opacity != kOpaque ? "@" + std::to_string(fill.opacity) : "");
}

std::string RecordingCanvas::Style(const WPresentation& s) {
    std::string out;
    if (s.fill) out += " fill=" + Paint(*s.fill);
    if (s.stroke) {
        out += " stroke=" + Rgb(s.stroke->colour) + "/" + std::to_string(s.stroke->width);
        if (s.stroke->opacity != kOpaque) out += "@" + std::to_string(s.stroke->opacity);
        if (s.stroke->cap != 0 || s.stroke->join != 0) {
            out += " cap" + std::to_string(s.stroke->cap) + " join" + std::to_string(s.stroke->join);
        }
        if (!s.stroke->dashes.empty()) {
            out += " dash";
            for (int32_t d : s.stroke->dashes) out += " " + std::to_string(d);
        }
    }
    if (s.clipPath) {
        out += " clip=" + ClipText(*s.clipPath);
        if (s.clipPath->clipsAll) out += " clips-all";
    }
    if (s.mask) {
        out += " mask=(" + I(s.mask->x) + "," + I(s.mask->y) + " " + I(s.mask->width.value) + "x" +
               I(s.mask->height.value);
        if (s.mask->content) {
            const WRectangle& r = *s.mask->content;
            out += " rect " + I(r.x) + "," + I(r.y) + " " + I(r.width) + "x" + I(r.height);
            if (r.presentation.fill) out += " fill=" + Paint(*r.presentation.fill);
        }
        out += ")";
    }
    if (s.opacity != 1) {
        char text[32];
        std::snprintf(text, sizeof text, " opacity=%g", s.opacity);
        out += text;
    }
    if (!s.visible) out += " hidden";
    if (s.evenOdd) out += " evenodd";
    return out;
}

int32_t RecordingCanvas::DrawEllipse(const WEllipse& e) {
    Add("ellipse " + I(e.cx) + "," + I(e.cy) + " r" + I(e.rx) + "," + I(e.ry) + Style(e.presentation));
    return 1;
}

int32_t RecordingCanvas::DrawImage(const WImage& i) {
    Add("image " + std::string(i.href.Text()) + " " + I(i.x) + "," + I(i.y) + " " + I(i.width) + "x" +
        I(i.height) + Style(i.presentation));
    return 1;
}

int32_t RecordingCanvas::DrawText(const WText& t) {
    std::string font;
    if (t.presentation.font) {
        const WFont& f = *t.presentation.font;
        font = " size=" + I(f.size.value) + " weight=" + std::to_string(f.weight) +
               (f.italic ? " italic" : "") +
               (f.family.Empty() ? "" : " family=" + std::string(f.family.Text()));
    }
    Add("text \"" + std::string(t.text.Text()) + "\" " + I(t.x) + "," + I(t.y) + font +
        Style(t.presentation));
    return 1;
}

int32_t RecordingCanvas::DrawPath(const WPath& p) {
    Add("path " + PointsOf(p) + Style(p.presentation));
    return 1;
}

int32_t RecordingCanvas::DrawRectangle(const WRectangle& r) {
    Add("rect " + I(r.x) + "," + I(r.y) + " " + I(r.width) + "x" + I(r.height) +
        (r.corner > 0 ? " corner=" + I(r.corner) : "") + Style(r.presentation));
    return 1;
}

int32_t RecordingCanvas::BeginGroup(const WGroup& g) {
    if (refuseGroups) return 0;
    const WMatrix& m = g.matrix;
    Add("group [" + I(m.a) + " " + I(m.b) + " " + I(m.c) + " " + I(m.d) + " " + I(m.e) + " " + I(m.f) + "]" +
        Style(g.presentation));
    ++depth_;
    ++open;
    return 1;
}

int32_t RecordingCanvas::EndGroup(const WGroup&) {
    --depth_;
    --open;
    Add("end group");
    return 1;
}

int32_t RecordingCanvas::BeginAnchor(const WAnchor& a) {
    Add("anchor " + std::string(a.href.Text()));
    ++depth_;
    ++open;
    return 1;
}

int32_t RecordingCanvas::EndAnchor() {
    --depth_;
    --open;
    Add("end anchor");
    return 1;
}

}  // namespace reader_test
