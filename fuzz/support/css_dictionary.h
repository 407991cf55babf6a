// The CSS.dic the build generates, loaded once for the CSS fuzz targets; a
// dictionary that does not load stops the run.
#pragma once

#include <string>

#include "markup/parser/css_dictionary.h"

namespace fuzz_support {

inline const markup::CSSDictionary& Css() {
    static const markup::CSSDictionary* css = [] {
        auto* d = new markup::CSSDictionary();
        if (d->Load((std::string(SVGFILTER_DICTIONARY_DIR) + markup::CSSDictionary::kFileName).c_str()) !=
            markup::kErr_None) {
            __builtin_trap();
        }
        return d;
    }();
    return *css;
}

}  // namespace fuzz_support
