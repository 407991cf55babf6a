// What every one-step converter does first and last: check the input model
// (a wrong one gives a model-0 record) and start its result.
#pragma once

#include <algorithm>

#include "colour/color_record.h"

namespace colour::detail {

inline bool Accept(ColorRecord* out, const ColorRecord* in, std::uint16_t model) {
    if (in->Model() == model) return true;
    out->BeginResult(kModelNone);
    return false;
}

// Models 3 and 17 share one layout.
inline bool AcceptCMYK(ColorRecord* out, const ColorRecord* in) {
    if (in->Model() == kModelCMYK || in->Model() == kModelCMYK2) return true;
    out->BeginResult(kModelNone);
    return false;
}

// A result record: the model, palette kind 5 and bytes 4..11 zero, ready for
// its channels. The input is read before this is called, so the two may be
// one record.
inline ColorRecord& Start(ColorRecord* out, std::uint16_t model) {
    out->BeginClearResult(model);
    return *out;
}

inline std::uint8_t ClampByte(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

}  // namespace colour::detail
