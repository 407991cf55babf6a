// Linked images without the host's images: the format letter of a link,
// the path it is asked for under, a refused link that asks the host for
// nothing, and the size a picture's header declares.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include "canvas_fixtures.h"
#include "import_calls.h"
#include "svgimport/canvas.h"

namespace {

using namespace SVG;

struct FormatRow {
    const char* link;
    uint32_t format;
};

void PrintTo(const FormatRow& row, std::ostream* out) {
    *out << '"' << row.link << '"';
}

class Formats : public ::testing::TestWithParam<FormatRow> {};

TEST_P(Formats, ByTheExtensionsFirstLetter) {
    EXPECT_EQ(ImageFormatOf(GetParam().link), GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(Rows, Formats,
                         ::testing::Values(FormatRow{"photo.JPG", svgf::kFormatJpeg},
                                           FormatRow{"photo.jpeg", svgf::kFormatJpeg},
                                           FormatRow{"a/b.c/anim.gif", svgf::kFormatGif},
                                           FormatRow{"icon.png", svgf::kFormatPng},
                                           FormatRow{"file:///tmp/x.Png", svgf::kFormatPng},
                                           FormatRow{"picture.bmp", 0},
                                           FormatRow{"noextension", 0},
                                           FormatRow{"trailing.", 0},
                                           // A dot in a folder's name is no extension.
                                           FormatRow{"my.pictures/photo", 0},
                                           FormatRow{"", 0}));

struct PathRow {
    const char* document;
    const char* link;
    const char* path;
};

void PrintTo(const PathRow& row, std::ostream* out) {
    *out << '"' << (row.document != nullptr ? row.document : "null") << "\" + \"" << row.link << '"';
}

class Paths : public ::testing::TestWithParam<PathRow> {};

TEST_P(Paths, JoinTheDocumentsFolder) {
    EXPECT_EQ(LinkedImagePath(GetParam().document, GetParam().link), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Paths,
    ::testing::Values(PathRow{"/home/u/drawings/a.svg", "q.png", "/home/u/drawings/q.png"},
                      PathRow{"/home/u/drawings/a.svg", "img/q.png", "/home/u/drawings/img/q.png"},
                      PathRow{"C:\\drawings\\a.svg", "q.png", "C:\\drawings\\q.png"},
                      PathRow{"a.svg", "q.png", "q.png"},
                      PathRow{nullptr, "q.png", "q.png"},
                      PathRow{"/home/u/a.svg", "/srv/q.png", "/srv/q.png"},
                      PathRow{"/home/u/a.svg", "\\\\server\\q.png", "\\\\server\\q.png"},
                      PathRow{"/home/u/a.svg", "file:///srv/q.png", "file:///srv/q.png"},
                      PathRow{"/home/u/a.svg", "C:\\q.png", "C:\\q.png"},
                      PathRow{"/home/u/a.svg", "https://example.org/q.png", "https://example.org/q.png"}));

TEST(LinkedImageTest, ARefusedLinkAsksTheHostForNothing) {
    host::StandInHost host{&import_test::NoModule};
    host::import::ImportHost import{host};
    canvas_test::WithCanvas(host, [](WCanvas_UDI& canvas) {
        for (const char* link : {"picture.bmp", "noextension", ""}) {
            WImage image;
            image.width = image.height = 1000;
            image.href.Assign(link);
            svgf::HostWord a = 7, b = 7;
            EXPECT_EQ(canvas.LoadLinkedImage(image, &a, &b), 0) << link;
            EXPECT_EQ(a, 7u);
            EXPECT_EQ(canvas.DrawImage(image), 1);
        }
    });
    const std::string log = import.Log().Text();
    EXPECT_EQ(log.find("SubContext"), std::string::npos) << log;
    EXPECT_EQ(log.find("ImageImport"), std::string::npos) << log;
    EXPECT_EQ(log.find("Image handle"), std::string::npos) << log;
    EXPECT_TRUE(import.Balance().Balanced());
}

TEST(LinkedImageTest, TheLoadCallbackKeepsThePictureAndTheFourthWord) {
    svgf::HostImageCallbackBlock block{};
    EXPECT_EQ(ImageLoadCallback(&block, 1, 0x30001, 9, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(block.result1, 0u);  // no services: no picture
    EXPECT_EQ(block.result2, 9u);
    EXPECT_EQ(ImageLoadCallback(nullptr, 0, 0, 0, 0, 0, 0, 0, 0), 0);
}

}  // namespace

namespace {

// A picture's size is read from the file a link names (a path or a local
// file: URL, a JPEG after a large metadata segment too), from a data: URI,
// and from nothing that is not a regular file: a pipe is never opened.
TEST(LinkedImageTest, PictureSizesComeFromTheHeader) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("svgimport-sizes-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto write = [&](const char* name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return (folder / name).string();
    };
    const std::string png = write("wide.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x50\0\0\0\x28", 24));
    // A JPEG whose frame header lies past the first 64 KB.
    std::string jpeg("\xFF\xD8", 2);
    for (int i = 0; i < 2; ++i) jpeg += std::string("\xFF\xE1\xFF\xFF", 4) + std::string(0xFFFD, 'm');
    jpeg += std::string("\xFF\xC0\0\x0b\x08\0\x0c\0\x22\x03", 10);
    const std::string deep = write("deep.jpg", jpeg);
    const std::string fifo = (folder / "pipe.png").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    host::StandInHost host{&import_test::NoModule};
    host::import::ImportHost import{host};
    canvas_test::WithCanvas(host, [&](WCanvas_UDI& canvas) {
        const auto size = [&](const std::string& link) {
            const auto s = canvas.PictureSize(link);
            return s ? std::to_string(s->width) + "x" + std::to_string(s->height) : std::string("none");
        };
        EXPECT_EQ(size(png), "80x40");
        EXPECT_EQ(size("file://" + png), "80x40");
        EXPECT_EQ(size(deep), "34x12");
        EXPECT_EQ(size("data:image/gif;base64,R0lGODlhAwAFAIAAAP///wAAACwAAAAAAQABAAACAkQBADs="), "3x5");
        EXPECT_EQ(size(fifo), "none");
        EXPECT_EQ(size((folder / "missing.png").string()), "none");
        EXPECT_EQ(size("data:,not a picture"), "none");
    });
    std::filesystem::remove_all(folder);
}

}  // namespace
