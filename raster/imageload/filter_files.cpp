// File callbacks over the context's open file, and the default row callback
// over a buffer of the whole frame.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "filter_files.h"
#include "imageload/filter_callbacks.h"

namespace imageload {
namespace {

int Descriptor(const FilterContext* context) {
    return context && context->file >= 0 ? static_cast<int>(context->file) : -1;
}

std::int32_t WriteToFile(FilterContext* context, const void* buffer, std::uint32_t count, std::int32_t value) {
    const int fd = Descriptor(context);
    if (fd < 0 || (!buffer && count)) return 0;
    if (count && ::write(fd, buffer, count) != static_cast<ssize_t>(count)) return 0;
    if (context->progress && context->progress(value, context->progressWord) == 0) {
        context->error = kErrorStoppedByProgress;
        return 0;
    }
    return 1;
}

std::int32_t ReadBackRow(FilterContext* context, std::int32_t row, void* buffer) {
    if (!context || !context->rowBuffer || !buffer || row < 0 || row >= context->height) return 0;
    const std::uint32_t stride = FrameStride(*context);
    std::memcpy(buffer, context->rowBuffer + std::size_t{stride} * static_cast<std::uint32_t>(row), stride);
    return 1;
}

std::int32_t SeekFile(FilterContext* context, std::int32_t distance, std::int32_t method) {
    const int fd = Descriptor(context);
    const int whence = method == 1 ? SEEK_CUR : method == 2 ? SEEK_END : SEEK_SET;
    if (fd < 0) return -1;
    return static_cast<std::int32_t>(::lseek(fd, distance, whence));
}

std::int32_t ReadFile(FilterContext* context, void* buffer, std::uint32_t count) {
    const int fd = Descriptor(context);
    if (fd < 0 || !buffer) return 0;
    const ssize_t got = ::read(fd, buffer, count);
    return got < 0 ? 0 : static_cast<std::int32_t>(got);
}

// Called without rows it makes the buffer; with rows it copies them into it
// (a negative count runs downwards from row y) and reports progress.
std::int32_t DefaultRows(const std::uint8_t* rows, std::int32_t y, std::int32_t, std::int32_t rowCount,
                         std::int32_t, std::int32_t stride, std::int32_t, void*) {
    FilterContext* context = CurrentFilterContext();
    if (!context) return 0;
    const std::uint32_t frameStride = FrameStride(*context);
    if (frameStride == 0 || context->height <= 0) return 0;
    const std::size_t bytes = std::size_t{frameStride} * static_cast<std::uint32_t>(context->height);
    if (!rows) {
        std::free(context->rowBuffer);
        context->rowBuffer = static_cast<std::uint8_t*>(std::calloc(1, bytes));
        return context->rowBuffer ? 1 : 0;
    }
    if (!context->rowBuffer) return 0;
    const std::int32_t step = rowCount < 0 ? -1 : 1;
    const std::int32_t count = rowCount < 0 ? -rowCount : rowCount;
    const std::size_t copy = std::min<std::size_t>(frameStride, static_cast<std::size_t>(stride < 0 ? 0 : stride));
    for (std::int32_t k = 0; k < count; ++k) {
        const std::int32_t row = y + k * step;
        if (row < 0 || row >= context->height) continue;
        std::memcpy(context->rowBuffer + std::size_t{frameStride} * static_cast<std::uint32_t>(row),
                    rows + static_cast<std::size_t>(k) * static_cast<std::size_t>(stride), copy);
    }
    if (context->progress) {
        const std::int32_t done = (y + count) * 100 / context->height;
        if (context->progress(done, context->progressWord) == 0) return 0;
    }
    return 1;
}

}  // namespace

std::uint32_t FrameStride(const FilterContext& context) {
    if (context.width <= 0 || context.bitsPerPixel == 0 || context.bitsPerPixel > 32) return 0;
    const std::uint64_t bits = std::uint64_t{static_cast<std::uint32_t>(context.width)} * context.bitsPerPixel;
    const std::uint64_t stride = (bits + 31) / 32 * 4;
    return stride > 0x7FFFFFFF ? 0 : static_cast<std::uint32_t>(stride);
}

void InstallFileCallbacks(FilterContext* context) {
    context->write = WriteToFile;
    context->rowRead = ReadBackRow;
    context->seek = SeekFile;
    context->read = ReadFile;
    context->rowCallback = DefaultRows;
}

}  // namespace imageload
