// Documents made to hurt the import, each imported through FilterEntry on the
// stand-in host's import side: every one ends with a drawing or a failure,
// the host balanced either way.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include "import_fixture.h"
#include "platform/inflating_file.h"

namespace {

constexpr const char* kHead =
    R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="100" height="100">)";

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Repeat(const std::string& text, int times) {
    std::string out;
    out.reserve(text.size() * static_cast<size_t>(times));
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// Nine levels of ten references each: a billion "lol" when expanded.
std::string Laughs(const std::string& doctype, const std::string& body) {
    std::string entities = "<!ENTITY lol0 \"lol\">";
    for (int i = 1; i < 10; ++i) {
        entities += "<!ENTITY lol" + std::to_string(i) + " \"" +
                    Repeat("&lol" + std::to_string(i - 1) + ";", 10) + "\">";
    }
    return "<?xml version=\"1.0\"?><!DOCTYPE " + doctype + " [" + entities + "]>" + body;
}

struct Hostile {
    const char* name;
    std::function<std::string()> document;
    int32_t answer;
    const char* cause;  // for a failure
};

std::ostream& operator<<(std::ostream& out, const Hostile& h) {
    return out << h.name;
}

const Hostile kHostile[] = {
    {"deep_nesting",
     [] {
         return kHead + Repeat("<g>", 100000) + "<rect width='1' height='1'/>" + Repeat("</g>", 100000) +
                "</svg>";
     },
     1, nullptr},
    {"huge_numbers",
     [] {
         return std::string(kHead) + R"svg(
<rect x="1e308" y="-1e308" width="1e308" height="1e308" stroke="#000" stroke-width="1e300"/>
<circle cx="3.4e38" cy="NaN" r="1e30"/><ellipse rx="1e999" ry="-0"/>
<path d="M1e308 1e308 L-1e308 -1e308 C1e999 1 2 3 4 5 A1e308 1e308 1e308 1 1 1e30 1e30z"/>
<g transform="scale(1e308) rotate(1e308) translate(1e308 1e308) matrix(1e308 0 0 1e308 1e308 1e308)">
<rect width="1" height="1"/></g><text x="1e308" y="1e308" font-size="1e308">big</text>
<polygon points="2147483648,2147483648 -2147483649,1 99999999999999999999,1"/>
<linearGradient id="g" x1="1e308" x2="-1e308"><stop offset="1e308" stop-color="#f00"/></linearGradient>
<rect width="10" height="10" fill="url(#g)"/></svg>)svg";
     },
     1, nullptr},
    {"huge_root",
     [] {
         return std::string(R"svg(<svg width="1e308" height="1e308"><rect width="1" height="1"/></svg>)svg");
     },
     1, nullptr},
    {"vanishing_view_box",
     [] { return std::string(R"svg(<svg width="1e308" height="1e308" viewBox="0 0 1e-300 1e-300"/>)svg"); },
     0, "view box has no width"},
    {"reference_cycles",
     [] {
         return std::string(kHead) + R"svg(
<defs><linearGradient id="a" xlink:href="#b"/><linearGradient id="b" xlink:href="#a"/>
<pattern id="p" width="10" height="10" patternUnits="userSpaceOnUse"><rect width="5" height="5" fill="url(#p)"/></pattern>
<clipPath id="c" clip-path="url(#c)"><rect width="5" height="5" clip-path="url(#c)"/></clipPath>
<mask id="m"><rect width="5" height="5" mask="url(#m)"/></mask></defs>
<g id="u1"><use xlink:href="#u2"/></g><g id="u2"><use xlink:href="#u1"/></g><use id="self" xlink:href="#self"/>
<rect width="50" height="50" fill="url(#a)" clip-path="url(#c)" mask="url(#m)"/>
<rect width="50" height="50" fill="url(#p)"/></svg>)svg";
     },
     1, nullptr},
    // Another document type compiles its internal subset; the compiler's
    // expansion bound stops the laughter, and the root is no svg.
    {"entity_expansion", [] { return Laughs("lolz", "<lolz>&lol9;</lolz>"); }, 0, "not an SVG drawing"},
    // An svg DOCTYPE takes the open dictionary; the entities expand until
    // the expansion bound, and the rest stay as written.
    {"entity_expansion_in_svg",
     [] {
         return Laughs(
             "svg", "<svg width='10' height='10'><text>&lol9;</text><rect width='&lol9;' height='5'/></svg>");
     },
     1, nullptr},
    {"missing_linked_files",
     [] {
         return std::string(R"svg(<?xml version="1.0"?>
<?xml-stylesheet href="missing.css" type="text/css"?>
<!DOCTYPE drawing SYSTEM "missing.dtd">
<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="100" height="100">
<style>@import url(missing2.css);</style>
<image width="50" height="50" xlink:href="missing.png"/><image width="50" height="50" xlink:href="file:///nonexistent/x.jpg"/>
<rect width="10" height="10" fill="url(missing.svg#a)"/><use xlink:href="missing.svg#b"/></svg>)svg");
     },
     1, nullptr},
};

class HostileDocument : public ImportFixture, public ::testing::WithParamInterface<Hostile> {
  protected:
    // The import's answer, after checking what every import must leave: a
    // balanced host, and one error box for a failure.
    int32_t Import(const std::string& path) {
        const int32_t answer = ImportFixture::Import(path);
        const host::import::ImportBalance balance = import_.Balance();
        EXPECT_TRUE(balance.Balanced()) << balance.problems.front();
        if (answer == 0) {
            EXPECT_EQ(messages_.entries.size(), 1u);
        } else {
            EXPECT_FALSE(import_.Description().empty());
        }
        return answer;
    }
};

TEST_P(HostileDocument, EndsWithADrawingOrAFailure) {
    const Hostile& h = GetParam();
    EXPECT_EQ(Import(Write("hostile.svg", h.document())), h.answer);
    if (h.cause != nullptr && !messages_.entries.empty()) {
        EXPECT_NE(messages_.entries.front().text.find(h.cause), std::string::npos)
            << messages_.entries.front().text;
    }
}

INSTANTIATE_TEST_SUITE_P(Documents, HostileDocument, ::testing::ValuesIn(kHostile),
                         [](const auto& info) { return std::string(info.param.name); });

// A document of gigabytes (an attribute of 2 GB, say) is refused before it
// is read; so is a device, which would be read without end.
TEST_F(HostileDocument, OversizedDocumentsAndDevicesAreNotRead) {
    const std::string path = folder_ + "/huge.svg";
    {
        std::ofstream out(path, std::ios::binary);
        out << kHead << "<rect x=\"";
    }
    // Sparse: the size counts, not the bytes.
    ASSERT_EQ(::truncate64(path.c_str(), off64_t{2} << 30), 0);
    EXPECT_EQ(Import(path), 0);
    ASSERT_EQ(messages_.entries.size(), 1u);
    EXPECT_NE(messages_.entries[0].text.find("larger than the 256 MB the import reads"), std::string::npos)
        << messages_.entries[0].text;

    messages_.entries.clear();
    EXPECT_EQ(Import("/dev/zero"), 0);
    ASSERT_EQ(messages_.entries.size(), 1u);
    EXPECT_NE(messages_.entries[0].text.find("not a regular file"), std::string::npos)
        << messages_.entries[0].text;
}

// A gzip-compressed document is read as what it inflates to, and its size
// bound counts the inflated bytes: a bomb stops at 256 MB with one line.
TEST_F(HostileDocument, CompressedDocumentsInflateWithinTheBound) {
    if (!platform::InflatingFile::Available()) GTEST_SKIP() << "no zlib in this build";
    Write("drawing.svg", std::string(kHead) + "<rect width='5' height='5'/></svg>");
    ASSERT_EQ(std::system(("gzip -c \"" + folder_ + "/drawing.svg\" > \"" + folder_ + "/drawing.svgz\"").c_str()), 0);
    EXPECT_EQ(Import(folder_ + "/drawing.svgz"), 1);
    EXPECT_NE(import_.Description().find("\"kind\": \"rectangle\""), std::string::npos) << import_.Description();

    ASSERT_EQ(std::system(("head -c 300M /dev/zero | gzip -1 > \"" + folder_ + "/bomb.svgz\"").c_str()), 0);
    const std::string packed = ReadAll(folder_ + "/bomb.svgz");
    Write("cut.svgz", packed.substr(0, 4096));
    const struct {
        const char* file;
        const char* cause;
    } kRefused[] = {
        {"bomb.svgz", "inflates to more than the 256 MB the import reads"},
        {"cut.svgz", "compressed data is damaged"},
    };
    for (const auto& refused : kRefused) {
        messages_.entries.clear();
        EXPECT_EQ(Import(folder_ + "/" + refused.file), 0);
        ASSERT_EQ(messages_.entries.size(), 1u);
        EXPECT_NE(messages_.entries[0].text.find(refused.cause), std::string::npos) << messages_.entries[0].text;
    }
}

// A DTD or style sheet the document names on a device, a FIFO or a path
// elsewhere on the disk is refused before it is opened (the import would
// block or read without end): the drawing comes, with one warning each.
TEST_F(HostileDocument, LinkedDevicesAndFilesElsewhereAreNotRead) {
    const std::string fifo = folder_ + "/pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        const char* head;
        const char* told;
    } kLinks[] = {
        {"<!DOCTYPE x0 SYSTEM \"/dev/zero\">", "/dev/zero was not read: it lies outside"},
        {"<!DOCTYPE x1 SYSTEM \"/dev/urandom\">", "/dev/urandom was not read: it lies outside"},
        {"<!DOCTYPE x2 SYSTEM \"/etc/passwd\">", "/etc/passwd was not read: it lies outside"},
        {"<!DOCTYPE x3 SYSTEM \"pipe\">", "pipe was not read: it is not a regular file"},
        {"<?xml-stylesheet href=\"pipe\" type=\"text/css\"?>", "pipe was not read: it is not a regular file"},
        {"<?xml-stylesheet href=\"/dev/zero\" type=\"text/css\"?>", "/dev/zero was not read"},
    };
    // Each names its own document type: a registered one is not looked up again.
    for (const auto& link : kLinks) {
        SCOPED_TRACE(link.head);
        messages_.entries.clear();
        EXPECT_EQ(Import(Write("linked.svg", std::string(link.head) + "\n" + kHead + "<rect width='5' height='5'/></svg>")),
                  1);
        ASSERT_EQ(messages_.entries.size(), 1u);
        EXPECT_NE(messages_.entries[0].text.find(link.told), std::string::npos) << messages_.entries[0].text;
    }
}

}  // namespace
