// The exporter's answers to the host's questions (which object kinds it
// takes, information codes) and its use of the host's callback set.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "svg_exp.h"

namespace svgf {
namespace {

uint16_t Halfword(const void* data, size_t offset) {
    uint16_t v;
    std::memcpy(&v, static_cast<const uint8_t*>(data) + offset, sizeof v);
    return v;
}

}  // namespace

int32_t SVGExp::QueryObjectKind(uint32_t mode, const ObjectKindQuery* query) {
    if (mode != 0) return mode == 6 ? 1 : 0;
    return query == nullptr ? 0 : QueryKind(*query);
}

int32_t SVGExp::QueryKind(const ObjectKindQuery& query) {
    const void* data = query.data;
    switch (query.kind) {
        case 3:
        case 8:
        case 10:
        case 11:
        case 20:
        case 26:
            return 1;
        case 5:
        case 31: {
            if (data == nullptr) return 1;
            const uint16_t subKind = Halfword(data, 0);
            if (subKind == 0 || subKind == 1 || (subKind >= 9 && subKind <= 11)) return 1;
            if (subKind == 2) {
                const uint16_t form = Halfword(data, 4);
                return form == 1 || form == 2 ? 1 : 0;
            }
            return 0;
        }
        case 7:
        case 9:
        case 21:
            return options_.textAsText != 0 ? 1 : 0;
        case 18: {
            // An outline the exporter can write itself: no transform of its
            // own and none of the host's further outline effects.
            if (data == nullptr) return 0;
            const auto* outline = static_cast<const HostOutlineRecord*>(data);
            if (outline->value12 != 100) return 0;
            const auto isIdentity = Service<svc::MatrixIsIdentityFn>(svc::kMatrixIsIdentity);
            if (isIdentity == nullptr || isIdentity(&outline->transform) == 0) return 0;
            return outline->word124 == 0 && outline->word128 == 0 ? 1 : 0;
        }
        case 30:
            return static_cast<int32_t>(hostDrawn_);
        default:
            return 0;
    }
}

ColorRecord SVGExp::ConvertColor(const ColorRecord& colour, int32_t model) {
    const auto convert = Service<svc::ConvertColorFn>(svc::kConvertColor);
    if (convert == nullptr) return colour;
    ColorRecord out = colour;
    convert(&out, model, &colour, context_->colourHandle);
    return out;
}

int32_t SVGExp::QueryInformation(int32_t code, void* out, const void* in) {
    switch (code) {
        case 9: {
            if (out == nullptr || context_ == nullptr) return 0;
            const uint32_t handle = context_->colourHandle;
            std::memcpy(out, &handle, sizeof handle);
            return 1;
        }
        case 13: {
            // The pixel size of a host rectangle at 120 dots per inch.
            if (out == nullptr || in == nullptr) return 0;
            int32_t box[4];
            std::memcpy(box, in, sizeof box);
            const double perHostUnit = 120.0 / 254000.0;
            const int32_t size[2] = {
                RoundHalfAway(std::fabs(double(box[2]) - double(box[0])) * perHostUnit) + 1,
                RoundHalfAway(std::fabs(double(box[1]) - double(box[3])) * perHostUnit) + 1,
            };
            std::memcpy(out, size, sizeof size);
            return 1;
        }
        case 16:
        case 18:
        case 21:
            return 1;
        default: {
            const auto information = Service<svc::InformationFn>(svc::kInformation);
            return information == nullptr ? 0 : information(code, out, in);
        }
    }
}

int32_t SVGExp::SetCallbackSet(const HostCallbackSet* newSet, HostCallbackSet* previous) {
    HostCallbackSet* current = HostSet();
    // Without a host set there is nothing to swap.
    if (current == nullptr) return 0;
    if (previous != nullptr) std::memcpy(previous, current, sizeof *current);
    if (newSet != nullptr) std::memcpy(current, newSet, sizeof *current);
    return 1;
}

int32_t SVGExp::CallHostCallback(bool first, HostWord argument) {
    const HostCallbackSet* set = HostSet();
    if (set == nullptr) return 0;
    const HostCallbackFn fn = first ? set->first : set->second;
    if (fn != nullptr) fn(context_->hostHandle, argument, set->userValue);
    return 0;
}

int32_t SVGExp::CallHostCallback1(HostWord, HostWord argument) {
    CallHostCallback(true, argument);
    return 1;
}

int32_t SVGExp::CallHostCallback2(HostWord, HostWord argument) {
    CallHostCallback(false, argument);
    return 0;
}

}  // namespace svgf
