// InflatingFileStream over files the gzip tool made: a whole document, one
// cut at the bound, and damaged data, each ending its reads as it should.
#include "markup/inflating_file_stream.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/inflating_file.h"
#include "temp_dir.h"

namespace markup {
namespace {

using markup_test::TempDir;

// All the stream gives, and the status that ended it.
std::string ReadThrough(InflatingFileStream& stream, ReturnCodeEnum& last) {
    std::string out;
    char buffer[1000];
    for (;;) {
        std::uint32_t count = sizeof buffer;
        last = stream.Read(buffer, count);
        out.append(buffer, count);
        if (last != kErr_None || count == 0) return out;
    }
}

TEST(InflatingFileStream, ReadsWhatTheFileInflatesToUpToTheBound) {
    if (!platform::InflatingFile::Available()) GTEST_SKIP() << "no zlib in this build";
    TempDir dir;
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "<rect width='" + std::to_string(i) + "'/>";
    dir.Write("doc.svg", text);
    ASSERT_EQ(std::system(("gzip -kn \"" + dir.File("doc.svg") + "\"").c_str()), 0);
    const std::string packed = markup_test::ReadAll(dir.File("doc.svg.gz"));
    dir.Write("cut.svgz", packed.substr(0, packed.size() / 2));
    EXPECT_TRUE(platform::IsGzipFile(dir.File("doc.svg.gz").c_str()));
    EXPECT_FALSE(platform::IsGzipFile(dir.File("doc.svg").c_str()));
    EXPECT_FALSE(platform::IsGzipFile(dir.Path().c_str()));

    const struct {
        const char* file;
        std::uint64_t bound;
        ReturnCodeEnum last;
        bool passed;
        std::size_t size;  // of what was handed out
    } kCases[] = {
        {"doc.svg.gz", text.size(), kErr_StreamRead, false, text.size()},
        {"doc.svg.gz", text.size() - 1, kErr_StreamHardwareIO, true, 0},
        {"cut.svgz", text.size(), kErr_StreamHardwareIO, false, 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.file) + " bound " + std::to_string(c.bound));
        InflatingFileStream stream(c.bound);
        ASSERT_EQ(stream.SetPath(dir.File(c.file).c_str()), kErr_None);
        ASSERT_EQ(stream.Open(-1, kStreamRead), kErr_None);
        ReturnCodeEnum last = kErr_None;
        const std::string out = ReadThrough(stream, last);
        EXPECT_EQ(last, c.last);
        EXPECT_EQ(stream.PassedTheBound(), c.passed);
        if (c.size != 0) {
            EXPECT_EQ(out, text);
        } else {
            EXPECT_LE(out.size(), c.bound);
        }
        EXPECT_EQ(platform::InflatedSizeUpTo(dir.File(c.file).c_str(), c.bound) > static_cast<std::int64_t>(c.bound),
                  c.passed);
    }
}

}  // namespace
}  // namespace markup
