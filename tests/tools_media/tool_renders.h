// The tool run as a user runs it, and its documents rendered by rsvg-convert
// and compared pixel by pixel over white.
#ifndef TESTS_TOOLS_MEDIA_TOOL_RENDERS_H
#define TESTS_TOOLS_MEDIA_TOOL_RENDERS_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "host/media/image.h"
#include "host/media/image_codec.h"
#include "media_fixtures.h"

namespace tool_renders {

using host::media::Image;

inline std::string Quote(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline bool HaveRenderer() {
    return std::system("rsvg-convert --version >/dev/null 2>&1") == 0;
}

// Runs `svgfilter ARGUMENTS` in `folder`; its exit status, and what it wrote
// to standard error in `errors`.
inline int Tool(const media_test::TempFolder& folder, const std::string& arguments,
                std::string* errors = nullptr) {
    const std::string errorFile = folder / "tool-errors.txt";
    const std::string command = "cd " + Quote(folder.path()) + " && " + Quote(SVGFILTER_TOOL) + " " +
                                arguments + " >/dev/null 2>" + Quote(errorFile);
    const int status = std::system(command.c_str());
    if (errors != nullptr) *errors = ReadFile(errorFile);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The document rendered at `size` by `size` pixels (empty when it could not
// be). `switch` elements are rendered for English, as the import reads them.
inline Image Render(const media_test::TempFolder& folder, const std::string& svg, uint32_t size) {
    Image image;
    const std::string png = svg + ".png";
    const std::string command = "cd " + Quote(folder.path()) + " && LANGUAGE=en rsvg-convert -w " +
                                std::to_string(size) + " -h " + std::to_string(size) + " -o " + Quote(png) +
                                " " + Quote(svg) + " 2>/dev/null";
    if (std::system(command.c_str()) != 0 || !host::media::DecodeImageFile(folder / png, image))
        return Image();
    return image;
}

// The share of pixels whose colours over white lie far apart (more than
// `threshold` in a channel): edges a sub-pixel apart stay below it.
inline double Differing(const Image& a, const Image& b, int threshold = 100) {
    if (a.empty() || a.width != b.width || a.height != b.height) return 1.0;
    size_t differing = 0;
    for (size_t i = 0; i < a.rgba.size(); i += 4) {
        const host::media::Rgb ca = host::media::OverWhite(&a.rgba[i]);
        const host::media::Rgb cb = host::media::OverWhite(&b.rgba[i]);
        if (std::abs(ca.r - cb.r) > threshold || std::abs(ca.g - cb.g) > threshold ||
            std::abs(ca.b - cb.b) > threshold)
            ++differing;
    }
    return static_cast<double>(differing) / (a.width * a.height);
}

// Pixels that are not white.
inline double Inked(const Image& image) {
    if (image.empty()) return 0;
    size_t inked = 0;
    for (size_t i = 0; i < image.rgba.size(); i += 4) {
        const host::media::Rgb c = host::media::OverWhite(&image.rgba[i]);
        if (c.r < 235 || c.g < 235 || c.b < 235) ++inked;
    }
    return static_cast<double>(inked) / (image.width * image.height);
}

// A fixture document of the test data (import_fixtures/SUBFOLDER/NAME.svg)
// taken round: copied into the folder, imported, exported again into
// NAME.out.svg, and both documents rendered at `size` pixels.
struct RoundTrip {
    Image original;
    Image imported;
    std::string output;  // the exported document, to show when they differ
};

inline ::testing::AssertionResult RoundTripFixture(const media_test::TempFolder& folder,
                                                   const std::string& subfolder, const std::string& name,
                                                   uint32_t size, RoundTrip* trip) {
    std::filesystem::copy_file(std::string(SVGFILTER_TEST_DATA) + "/import_fixtures/" + subfolder + "/" + name +
                                   ".svg",
                               folder / (name + ".svg"));
    std::string errors;
    if (Tool(folder, "import " + name + ".svg " + name + ".json", &errors) != 0)
        return ::testing::AssertionFailure() << "import failed: " << errors;
    if (Tool(folder, "export " + name + ".json " + name + ".out.svg", &errors) != 0)
        return ::testing::AssertionFailure() << "export failed: " << errors;
    trip->original = Render(folder, name + ".svg", size);
    trip->imported = Render(folder, name + ".out.svg", size);
    trip->output = ReadFile(folder / (name + ".out.svg"));
    if (trip->original.empty()) return ::testing::AssertionFailure() << "the document does not render";
    return ::testing::AssertionSuccess();
}

}  // namespace tool_renders

#endif  // TESTS_TOOLS_MEDIA_TOOL_RENDERS_H
