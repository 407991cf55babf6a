// The large generated SVG of the read benchmarks.
#include "large_svg.h"

#include <cstdio>

namespace bench {
namespace {

constexpr int kClasses = 300;

}  // namespace

std::string MakeLargeSvg(long elements) {
    std::string out;
    out.reserve(static_cast<std::size_t>(elements) * 75 + 65536);
    out +=
        "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n"
        "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 20000303 Stylable//EN\" "
        "\"http://www.w3.org/TR/2000/03/WD-SVG-20000303/DTD/svg-20000303-stylable.dtd\">\r\n"
        "<!-- Creator: Lumavecta -->\r\n"
        "<svg xml:space=\"preserve\" width=\"4in\" height=\"6in\" viewBox=\"0 0 4000 6000\">\r\n"
        " <defs>\r\n  <style type=\"text/css\">\r\n   <![CDATA[\r\n";
    char line[160];
    for (int i = 0; i < kClasses; ++i) {
        std::snprintf(line, sizeof line, "    .fil%d {fill:#%06X;stroke:#000000;stroke-width:%d}\r\n", i,
                      (i * 2654435761u) & 0xFFFFFFu, 1 + i % 20);
        out += line;
    }
    out += "   ]]>\r\n  </style>\r\n </defs>\r\n";
    long made = 0;
    for (long group = 0; made < elements; ++group) {
        std::snprintf(line, sizeof line, " <g id=\"g%ld\">\r\n", group);
        out += line;
        ++made;
        for (int i = 0; i < 20 && made < elements; ++i, ++made) {
            const long n = made;
            switch (n % 3) {
                case 0:
                    std::snprintf(
                        line, sizeof line,
                        "  <rect class=\"fil%ld\" x=\"%ld\" y=\"%ld\" width=\"40\" height=\"30\"/>\r\n",
                        n % kClasses, n % 4000, n % 6000);
                    break;
                case 1:
                    std::snprintf(line, sizeof line,
                                  "  <path class=\"fil%ld\" d=\"M%ld %ld l20 0 0 20z\"/>\r\n", n % kClasses,
                                  n % 4000, n % 6000);
                    break;
                default:
                    std::snprintf(line, sizeof line, "  <text x=\"%ld\" y=\"%ld\">t%ld</text>\r\n", n % 4000,
                                  n % 6000, n);
                    break;
            }
            out += line;
        }
        out += " </g>\r\n";
    }
    out += "</svg>\r\n";
    return out;
}

}  // namespace bench
