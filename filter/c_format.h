// printf-style formatting whose numbers always read as in the "C" locale:
// SVG and CSS want "1.5", never "1,5", whatever locale the host runs in.
#ifndef SVGFILTER_C_FORMAT_H
#define SVGFILTER_C_FORMAT_H

#include <string>

namespace svgf {

// The formatted text.
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Appends the formatted text to out.
void AppendC(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

// R(v): v rounded half away from zero to an integer; values beyond the
// integer range give its nearest end, and NaN gives 0.
int RoundHalfAway(double value);

}  // namespace svgf

#endif  // SVGFILTER_C_FORMAT_H
