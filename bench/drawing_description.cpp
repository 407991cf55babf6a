#include "drawing_description.h"

#include <charconv>
#include <cstdio>
#include <memory>

#include "bench_drawing.h"

namespace bench {
namespace {

class Writer {
  public:
    explicit Writer(std::FILE* file) : file_(file) {}
    ~Writer() { Flush(); }

    Writer& operator<<(const char* text) {
        for (; *text != 0; ++text) Put(*text);
        return *this;
    }
    // A length in host units, written in millimetres (10000 host units each)
    // with the fewest digits that read back exactly.
    Writer& Millimetres(double host) {
        Reserve(32);
        used_ = static_cast<size_t>(std::to_chars(buffer_ + used_, buffer_ + sizeof buffer_, host / 10000.0).ptr -
                                    buffer_);
        return *this;
    }
    Writer& Number(int64_t v) {
        Reserve(24);
        used_ = static_cast<size_t>(std::to_chars(buffer_ + used_, buffer_ + sizeof buffer_, v).ptr - buffer_);
        return *this;
    }
    bool Flush() {
        const bool ok = std::fwrite(buffer_, 1, used_, file_) == used_;
        used_ = 0;
        return ok && ok_;
    }

  private:
    void Put(char c) {
        Reserve(1);
        buffer_[used_++] = c;
    }
    void Reserve(size_t n) {
        if (used_ + n > sizeof buffer_) ok_ = Flush() && ok_;
    }

    std::FILE* file_;
    char buffer_[1 << 16];
    size_t used_ = 0;
    bool ok_ = true;
};

void Colour(Writer& w, const svgf::ColorRecord& c) {
    static const char hex[] = "0123456789ABCDEF";
    char text[10] = {'"', '#', 0, 0, 0, 0, 0, 0, '"', 0};
    const uint8_t rgb[3] = {c.channels[6], c.channels[5], c.channels[4]};
    for (int i = 0; i < 3; ++i) {
        text[2 + 2 * i] = hex[rgb[i] >> 4];
        text[3 + 2 * i] = hex[rgb[i] & 15];
    }
    w << text;
}

void Style(Writer& w, const host::Style& style) {
    if (style.fill) {
        if (style.fill->kind == svgf::kFillUniform) {
            w << ", \"fill\": {\"kind\": \"uniform\", \"colour\": ";
            Colour(w, style.fill->colour);
            w << "}";
        } else {
            w << ", \"fill\": {\"kind\": \"none\"}";
        }
    }
    if (style.outline) {
        static const char* const caps[] = {"butt", "round", "square"};
        static const char* const joins[] = {"miter", "round", "bevel"};
        const host::OutlineStyle& o = *style.outline;
        w << ", \"outline\": {\"kind\": \"solid\", \"colour\": ";
        Colour(w, o.colour);
        w << ", \"width\": ";
        w.Millimetres(o.width) << ", \"cap\": \"" << caps[o.cap] << "\", \"join\": \"" << joins[o.join] << "\"";
        if (!o.dashes.empty()) {
            w << ", \"dashes\": [";
            for (size_t i = 0; i < o.dashes.size(); ++i) (i == 0 ? w : w << ", ").Number(o.dashes[i]);
            w << "]";
        }
        w << "}";
    }
    if (style.transparency) {
        w << ", \"transparency\": {\"kind\": \"uniform\", \"level\": ";
        w.Number(static_cast<int64_t>(style.transparency->start)) << "}";
    }
}

void Point(Writer& w, const char* command, const svgf::HostPoint* points, int count) {
    w << "[\"" << command << "\"";
    for (int i = 0; i < count; ++i) {
        w << ", ";
        w.Millimetres(points[i].x) << ", ";
        w.Millimetres(points[i].y);
    }
    w << "]";
}

}  // namespace

bool WriteDrawingDescription(int64_t count, const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file) return false;
    const StylePool styles;
    bool ok = true;
    {
        Writer w(file.get());
        w << "{\"format\": \"svgfilter-drawing\", \"version\": 1, \"unit\": \"mm\",\n \"page\": {\"width\": ";
        w.Millimetres(kPageSize) << ", \"height\": ";
        w.Millimetres(kPageSize) << "},\n \"layers\": [{\"name\": \"Shapes\", \"objects\": [\n";
        for (int64_t i = 0; i < count; ++i) {
            const Shape s = MakeShape(static_cast<uint64_t>(i));
            w << (i == 0 ? "  {" : ",\n  {");
            switch (s.kind) {
                case ShapeKind::kPath:
                    w << "\"kind\": \"path\", \"nodes\": [";
                    Point(w, "M", &s.points[0], 1);
                    w << ", ";
                    Point(w, "L", &s.points[1], 1);
                    w << ", ";
                    Point(w, "L", &s.points[2], 1);
                    w << ", ";
                    Point(w, "C", &s.points[3], 3);
                    w << ", ";
                    Point(w, "L", &s.points[6], 1);
                    w << ", [\"Z\"]]";
                    break;
                case ShapeKind::kRectangle:
                    w << "\"kind\": \"rectangle\", \"x\": ";
                    w.Millimetres(s.box.left) << ", \"y\": ";
                    w.Millimetres(s.box.bottom) << ", \"width\": ";
                    w.Millimetres(s.width) << ", \"height\": ";
                    w.Millimetres(s.height);
                    break;
                case ShapeKind::kEllipse:
                    w << "\"kind\": \"ellipse\", \"cx\": ";
                    w.Millimetres(s.centre.x) << ", \"cy\": ";
                    w.Millimetres(s.centre.y) << ", \"rx\": ";
                    w.Millimetres(s.width / 2.0) << ", \"ry\": ";
                    w.Millimetres(s.height / 2.0);
                    break;
            }
            Style(w, styles.Style(s.style));
            w << "}";
        }
        w << "\n ]}]}\n";
        ok = w.Flush();
    }
    return ok && std::fflush(file.get()) == 0;
}

}  // namespace bench
