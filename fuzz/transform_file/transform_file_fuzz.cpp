// A transform file (".PT", an ICC device link) from arbitrary bytes: made
// into a transform by the profile library and, when it is one, evaluated on
// small rows of every channel count it might take. Never a crash, never a
// write past the rows.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/profile_library.h"

namespace {

platform::SpPixelLayout Layout(std::uint8_t* base, int channels, int width, int bytes) {
    platform::SpPixelLayout l{};
    l.sampleFormat = bytes == 2 ? platform::kSpSample16 : platform::kSpSample8;
    l.width = width;
    l.rows = 2;
    l.pixelStep = channels * bytes;
    l.rowStride = width * channels * bytes;
    l.channels = channels;
    for (int i = 0; i < channels; ++i) l.channel[i] = base + i * bytes;
    return l;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const platform::ProfileLibraryModule* library = platform::BuiltInProfileLibrary();
    if (library == nullptr || size > (1u << 20)) return 0;
    auto fromData = reinterpret_cast<platform::SpXformCreateFromDataFn>(library->FindEntry("SpXformCreateFromData"));
    auto evaluate = reinterpret_cast<platform::SpEvaluateFn>(library->FindEntry("SpEvaluate"));
    auto release = reinterpret_cast<platform::SpXformFreeFn>(library->FindEntry("SpXformFree"));
    platform::SpXform* xform = nullptr;
    if (fromData(static_cast<std::int32_t>(size), data, &xform) != platform::kSpOk) return 0;
    constexpr int kWidth = 5;
    std::vector<std::uint8_t> in(2 * kWidth * 10 * 2, 0x80), out(2 * kWidth * 10 * 2);
    for (int bytes : {1, 2}) {
        for (int from = 1; from <= 8; ++from) {
            for (int to : {1, 3, 4, 6}) {
                const platform::SpPixelLayout src = Layout(in.data(), from, kWidth, bytes);
                const platform::SpPixelLayout dst = Layout(out.data(), to, kWidth, bytes);
                evaluate(xform, &src, &dst, nullptr, nullptr);
            }
        }
    }
    release(&xform);
    return 0;
}
