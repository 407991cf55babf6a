// Separable resampling: each output pixel is a weighted sum of source pixels
// along one axis, then the other.
#include "host/media/resample.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

namespace host::media {
namespace {

// The source pixels one output pixel draws from, with their weights.
struct Taps {
    std::vector<uint32_t> first;   // per output pixel: first source index
    std::vector<uint32_t> count;   // per output pixel: number of taps
    std::vector<uint32_t> offset;  // per output pixel: start in weight
    std::vector<float> weight;
};

Taps BuildTaps(uint32_t source, uint32_t target) {
    Taps taps;
    taps.first.resize(target);
    taps.count.resize(target);
    taps.offset.resize(target);
    const double scale = static_cast<double>(source) / target;
    for (uint32_t i = 0; i < target; ++i) {
        taps.offset[i] = static_cast<uint32_t>(taps.weight.size());
        if (target < source) {
            // Shrinking: every source pixel counts by how much of it the
            // output pixel's span covers.
            const double x0 = i * scale;
            const double x1 = (i + 1) * scale;
            const auto j0 = static_cast<uint32_t>(std::floor(x0));
            const auto j1 = std::min<uint32_t>(source, static_cast<uint32_t>(std::ceil(x1)));
            taps.first[i] = j0;
            for (uint32_t j = j0; j < j1; ++j) {
                const double cover = std::min<double>(x1, j + 1) - std::max<double>(x0, j);
                taps.weight.push_back(static_cast<float>(std::max(0.0, cover) / scale));
            }
            taps.count[i] = j1 - j0;
        } else {
            // Growing (or equal): linear between the two nearest centres.
            const double centre = std::clamp((i + 0.5) * scale - 0.5, 0.0, source - 1.0);
            const auto j = static_cast<uint32_t>(std::floor(centre));
            const double t = centre - j;
            taps.first[i] = j;
            if (j + 1 < source && t > 0) {
                taps.weight.push_back(static_cast<float>(1 - t));
                taps.weight.push_back(static_cast<float>(t));
                taps.count[i] = 2;
            } else {
                taps.weight.push_back(1.0f);
                taps.count[i] = 1;
            }
        }
    }
    return taps;
}

uint8_t ToByte(float v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

}  // namespace

Status Resample(const Image& source, uint32_t width, uint32_t height, Image& out) {
    if (source.empty() || source.rgba.size() != size_t{source.width} * source.height * 4) {
        return Status::Error("cannot scale an empty image");
    }
    // The intermediate holds source rows at the target width.
    if (!ImageSizeAllowed(width, source.height)) {
        return Status::Error("cannot scale to " + std::to_string(width) + " x " + std::to_string(height));
    }
    Image result;
    if (Status s = Image::Allocate(width, height, result); !s) return s;

    const Taps across = BuildTaps(source.width, width);
    const Taps down = BuildTaps(source.height, height);
    std::vector<float> rows;
    try {
        rows.assign(size_t{source.height} * width * 4, 0.0f);
    } catch (const std::bad_alloc&) {
        return Status::Error("no memory to scale the image");
    }

    // Across, premultiplying so that transparent pixels add no colour.
    for (uint32_t y = 0; y < source.height; ++y) {
        float* dst = rows.data() + size_t{y} * width * 4;
        for (uint32_t x = 0; x < width; ++x, dst += 4) {
            float acc[4] = {0, 0, 0, 0};
            const float* w = across.weight.data() + across.offset[x];
            for (uint32_t k = 0; k < across.count[x]; ++k) {
                const uint8_t* px = source.pixel(across.first[x] + k, y);
                const float a = px[3] * w[k];
                acc[0] += px[0] * a;
                acc[1] += px[1] * a;
                acc[2] += px[2] * a;
                acc[3] += a;
            }
            std::copy(acc, acc + 4, dst);
        }
    }
    // Down, then back to straight alpha.
    for (uint32_t y = 0; y < height; ++y) {
        const float* w = down.weight.data() + down.offset[y];
        for (uint32_t x = 0; x < width; ++x) {
            float acc[4] = {0, 0, 0, 0};
            for (uint32_t k = 0; k < down.count[y]; ++k) {
                const float* src = rows.data() + (size_t{down.first[y] + k} * width + x) * 4;
                for (int c = 0; c < 4; ++c) acc[c] += src[c] * w[k];
            }
            uint8_t* px = result.pixel(x, y);
            if (acc[3] > 0) {
                for (int c = 0; c < 3; ++c) px[c] = ToByte(acc[c] / acc[3]);
            }
            px[3] = ToByte(acc[3]);
        }
    }
    result.sourceType = source.sourceType;
    result.palette = source.palette;
    out = std::move(result);
    return {};
}

}  // namespace host::media
