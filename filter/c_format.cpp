// The "C" locale is switched in for the calling thread only, around each
// formatting call, so other threads of the host keep their own locale.
#include "c_format.h"

#include <locale.h>

#include <climits>
#include <clocale>
#include <cstdarg>
#include <cstdio>

namespace svgf {
namespace {

locale_t ClassicLocale() {
    // Made once and kept for the life of the process: every formatting call uses it.
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return classic;
}

class ClassicLocaleScope {
  public:
    ClassicLocaleScope() : previous_(ClassicLocale() ? uselocale(ClassicLocale()) : nullptr) {}
    ~ClassicLocaleScope() {
        if (previous_ != nullptr) uselocale(previous_);
    }
    ClassicLocaleScope(const ClassicLocaleScope&) = delete;
    ClassicLocaleScope& operator=(const ClassicLocaleScope&) = delete;

  private:
    locale_t previous_;
};

void AppendV(std::string& out, const char* format, va_list arguments) {
    ClassicLocaleScope scope;
    char small[128];
    va_list copy;
    va_copy(copy, arguments);
    int length = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (length < 0) return;
    if (static_cast<size_t>(length) < sizeof small) {
        out.append(small, static_cast<size_t>(length));
        return;
    }
    size_t start = out.size();
    out.resize(start + static_cast<size_t>(length) + 1);
    std::vsnprintf(out.data() + start, static_cast<size_t>(length) + 1, format, arguments);
    out.resize(start + static_cast<size_t>(length));
}

}  // namespace

std::string FormatC(const char* format, ...) {
    std::string out;
    va_list arguments;
    va_start(arguments, format);
    AppendV(out, format, arguments);
    va_end(arguments);
    return out;
}

void AppendC(std::string& out, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    AppendV(out, format, arguments);
    va_end(arguments);
}

int RoundHalfAway(double value) {
    const double rounded = value > 0 ? value + 0.5 : value - 0.5;
    // Values beyond the integer range saturate rather than wrap unpredictably.
    if (!(rounded > static_cast<double>(INT_MIN))) return value != value ? 0 : INT_MIN;
    if (!(rounded < static_cast<double>(INT_MAX))) return INT_MAX;
    return static_cast<int>(rounded);
}

}  // namespace svgf
