// Splitting and joining URL paths, and resolving relative URLs.
#include "markup/url.h"

namespace markup {

namespace {

bool IsStep(const String& segment, const char* step, char separator) {
    String expected(step);
    expected += separator;
    return segment == expected;
}

}  // namespace

void SplitSegments(const String& path, char separator, Vector<String>& segments) {
    String work(path);
    // A trailing "." or ".." is a step like any other, so it gets its
    // separator before the cut.
    const std::int32_t last = work.ReverseFind(separator);
    const String tail = work.Mid(last < 0 ? 0 : static_cast<std::uint32_t>(last) + 1);
    if (tail == "." || tail == "..") work += separator;

    const char* p = work.Text();
    std::uint32_t start = 0;
    for (std::uint32_t i = 0; i < work.Length(); ++i) {
        if (p[i] == separator) {
            segments.Add(work.Mid(start, i - start + 1));
            start = i + 1;
        }
    }
    if (start < work.Length()) segments.Add(work.Mid(start));
}

bool JoinPath(const String& relative, String& base, char separator) {
    Vector<String> steps;
    Vector<String> kept;
    SplitSegments(relative, separator, steps);
    SplitSegments(base, separator, kept);
    String lone;
    lone += separator;
    for (std::uint32_t i = 0; i < steps.Count(); ++i) {
        const String* step = steps.At(i);
        if (!step) continue;
        if (IsStep(*step, "..", separator)) {
            if (kept.Count() == 0) {
                base.Empty();
                return false;
            }
            kept.DeleteLast();
        } else if (!IsStep(*step, ".", separator) && !(*step == lone)) {
            kept.Add(*step);
        }
    }
    base.Empty();
    for (std::uint32_t i = 0; i < kept.Count(); ++i) {
        if (const String* segment = kept.At(i)) base += *segment;
    }
    return true;
}

bool ResolveRelative(const String& relative, String& baseText) {
    std::uint32_t cut = relative.Length();
    for (std::uint32_t i = 0; i < relative.Length(); ++i) {
        const char c = *relative.CharPtrAt(i);
        if (c == ';' || c == '#' || c == '?') {
            cut = i;
            break;
        }
    }
    const String rest = relative.Left(cut);
    const String tail = relative.Mid(cut);
    if (!JoinPath(rest, baseText, '/')) return false;
    baseText += tail;
    return true;
}

bool MakeAbsolute(String& url, const URLSpec& base) {
    URLSpec spec;
    if (!spec.Parse(url)) return false;
    if (spec.HasScheme()) return true;
    if (spec.IsRootRelative()) {
        String absolute = URLSpec::SchemeText(base.Kind(), base.SchemeTextRef());
        if (absolute.IsEmpty()) absolute = URLSpec::SchemeText(kSchemeFile, String());
        absolute += "//";
        absolute += base.HostRef();
        absolute += spec.FullText();
        url = absolute;
        return true;
    }
    String resolved = base.FullText();
    const bool ok = ResolveRelative(spec.FullText(), resolved);
    url = resolved;
    return ok;
}

}  // namespace markup
