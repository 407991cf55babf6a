// Palette building (exact colours or variance-driven median cut) and
// mapping pixels onto a palette with optional error diffusion.
#include "host/media/quantize.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <unordered_map>

namespace host::media {
namespace {

uint32_t Pack(Rgb c) {
    return uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b;
}
Rgb Unpack(uint32_t v) {
    return {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

// One histogram cell: how many pixels, and the sums of their channels so
// that the palette gets their true mean rather than the cell's centre.
struct Cell {
    uint64_t count = 0;
    uint64_t sum[3] = {0, 0, 0};
    double mean(int c) const { return static_cast<double>(sum[c]) / count; }
};

struct Box {
    size_t begin;
    size_t end;
    double error;  // population-weighted squared spread over the three channels
    int axis;      // channel with the widest spread
};

Box MakeBox(const std::vector<Cell>& cells, size_t begin, size_t end) {
    Box box{begin, end, 0.0, 0};
    double n = 0, s[3] = {0, 0, 0}, q[3] = {0, 0, 0};
    for (size_t i = begin; i < end; ++i) {
        const Cell& cell = cells[i];
        n += cell.count;
        for (int c = 0; c < 3; ++c) {
            const double m = cell.mean(c);
            s[c] += m * cell.count;
            q[c] += m * m * cell.count;
        }
    }
    double widest = -1;
    for (int c = 0; c < 3; ++c) {
        const double spread = q[c] - s[c] * s[c] / n;
        box.error += spread;
        if (spread > widest) {
            widest = spread;
            box.axis = c;
        }
    }
    if (end - begin < 2) box.error = 0;  // a single cell cannot be split
    return box;
}

Rgb MeanColour(const std::vector<Cell>& cells, const Box& box) {
    uint64_t n = 0, s[3] = {0, 0, 0};
    for (size_t i = box.begin; i < box.end; ++i) {
        n += cells[i].count;
        for (int c = 0; c < 3; ++c) s[c] += cells[i].sum[c];
    }
    auto mean = [&](int c) { return static_cast<uint8_t>((s[c] + n / 2) / n); };
    return {mean(0), mean(1), mean(2)};
}

std::vector<Rgb> MedianCut(const Image& image, size_t maxColours) {
    // 6 bits a channel keeps the histogram small while the sums keep the
    // palette's colours exact.
    std::vector<Cell> grid(size_t{1} << 18);
    for (size_t i = 0; i < image.rgba.size(); i += 4) {
        const Rgb c = OverWhite(&image.rgba[i]);
        Cell& cell = grid[(size_t{c.r} >> 2) << 12 | (size_t{c.g} >> 2) << 6 | (c.b >> 2)];
        ++cell.count;
        cell.sum[0] += c.r;
        cell.sum[1] += c.g;
        cell.sum[2] += c.b;
    }
    std::vector<Cell> cells;
    for (const Cell& cell : grid) {
        if (cell.count) cells.push_back(cell);
    }
    std::vector<Box> boxes{MakeBox(cells, 0, cells.size())};
    while (boxes.size() < maxColours) {
        auto worst = std::max_element(boxes.begin(), boxes.end(),
                                      [](const Box& a, const Box& b) { return a.error < b.error; });
        if (worst->error <= 0) break;
        const Box box = *worst;
        const int axis = box.axis;
        std::sort(cells.begin() + box.begin, cells.begin() + box.end,
                  [axis](const Cell& a, const Cell& b) { return a.mean(axis) < b.mean(axis); });
        // Split at the population median, keeping both halves non-empty.
        uint64_t total = 0;
        for (size_t i = box.begin; i < box.end; ++i) total += cells[i].count;
        uint64_t running = 0;
        size_t split = box.begin + 1;
        for (size_t i = box.begin; i < box.end - 1; ++i) {
            running += cells[i].count;
            split = i + 1;
            if (running * 2 >= total) break;
        }
        *worst = MakeBox(cells, box.begin, split);
        boxes.push_back(MakeBox(cells, split, box.end));
    }
    std::vector<Rgb> palette;
    for (const Box& box : boxes) palette.push_back(MeanColour(cells, box));
    return palette;
}

uint8_t Nearest(const std::vector<Rgb>& palette, int r, int g, int b) {
    int best = 0;
    long bestDistance = -1;
    for (size_t i = 0; i < palette.size(); ++i) {
        const long dr = r - palette[i].r, dg = g - palette[i].g, db = b - palette[i].b;
        const long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return static_cast<uint8_t>(best);
}

}  // namespace

std::vector<Rgb> BuildPalette(const Image& image, size_t maxColours) {
    maxColours = std::clamp<size_t>(maxColours, 1, 256);
    std::unordered_map<uint32_t, uint32_t> distinct;
    for (size_t i = 0; i < image.rgba.size() && distinct.size() <= maxColours; i += 4) {
        ++distinct[Pack(OverWhite(&image.rgba[i]))];
    }
    if (distinct.empty()) return {Rgb{255, 255, 255}};
    if (distinct.size() <= maxColours) {
        std::vector<uint32_t> keys;
        for (const auto& entry : distinct) keys.push_back(entry.first);
        std::sort(keys.begin(), keys.end());
        std::vector<Rgb> palette;
        for (uint32_t key : keys) palette.push_back(Unpack(key));
        return palette;
    }
    return MedianCut(image, maxColours);
}

std::vector<uint8_t> MapToPalette(const Image& image, const std::vector<Rgb>& palette, bool dither) {
    std::vector<uint8_t> indices(size_t{image.width} * image.height, 0);
    if (palette.empty()) return indices;
    std::unordered_map<uint32_t, uint8_t> cache;
    auto lookup = [&](int r, int g, int b) {
        const uint32_t key = Pack({uint8_t(r), uint8_t(g), uint8_t(b)});
        auto [it, added] = cache.try_emplace(key, 0);
        if (added) it->second = Nearest(palette, r, g, b);
        return it->second;
    };
    // Error rows in sixteenths, one pixel of margin each side.
    const size_t w = image.width;
    std::vector<std::array<int, 3>> current(w + 2), next(w + 2);
    for (uint32_t y = 0; y < image.height; ++y) {
        std::fill(next.begin(), next.end(), std::array<int, 3>{0, 0, 0});
        for (uint32_t x = 0; x < image.width; ++x) {
            const Rgb c = OverWhite(image.pixel(x, y));
            int want[3] = {c.r, c.g, c.b};
            if (dither) {
                for (int k = 0; k < 3; ++k) want[k] = std::clamp(want[k] + current[x + 1][k] / 16, 0, 255);
            }
            const uint8_t index = lookup(want[0], want[1], want[2]);
            indices[y * w + x] = index;
            if (!dither) continue;
            const Rgb got = palette[index];
            const int error[3] = {want[0] - got.r, want[1] - got.g, want[2] - got.b};
            for (int k = 0; k < 3; ++k) {
                current[x + 2][k] += error[k] * 7;
                next[x][k] += error[k] * 3;
                next[x + 1][k] += error[k] * 5;
                next[x + 2][k] += error[k];
            }
        }
        std::swap(current, next);
    }
    return indices;
}

}  // namespace host::media
