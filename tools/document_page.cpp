// Reads an SVG document's root element alone, through the markup parser and
// the SVG reader, for the size of the page the document asks for.
#include "document_page.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "markup/dtd/registry_hook.h"
#include "markup/parser/input_decoder.h"
#include "markup/parser/xml_parser.h"
#include "platform/inflating_file.h"
#include "platform/messages.h"
#include "platform/text_converter.h"
#include "svgimport/reader.h"

namespace tools {
namespace {

// The root's size needs no styles.
class NoStyles : public SVG::WStyleSource {
  public:
    bool GetStyle(const markup::WDOMHandle&, SVG::WComputedStyle*) override { return false; }
};

// Where a markup declaration or a tag that opens before `from` ends: its ">"
// outside quotes and, with `brackets`, outside the brackets of an internal
// subset; npos when the text ends first.
size_t EndOfMarkup(std::string_view text, size_t from, bool brackets) {
    int depth = 0;
    char quote = 0;
    for (size_t i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (brackets && c == '[') {
            ++depth;
        } else if (brackets && c == ']') {
            --depth;
        } else if (c == '>' && depth <= 0) {
            return i;
        }
    }
    return std::string_view::npos;
}

// The most of a document read for its root: prolog and DOCTYPE together.
constexpr size_t kMaxPrefix = size_t{16} << 20;

// When the text read so far is looked through for the root's tag: each time
// it has doubled. Looking once a block would cost the square of a long
// prolog's length (a DOCTYPE's internal subset can run to megabytes).
class LookSchedule {
  public:
    bool Due(size_t size) {
        if (size < next_) return false;
        next_ = std::max(next_ * 2, size + 1);
        return true;
    }

  private:
    size_t next_ = 1;
};

// The file's bytes up to the end of its root's start tag, read a block at a
// time so that a large document is not read whole; nothing for a file that
// is no regular file (a device would never end).
std::string RootPrefix(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    std::string text;
    LookSchedule look;
    char block[65536];
    // A compressed document's root is read from what it inflates to.
    if (platform::IsGzipFile(path.c_str())) {
        platform::InflatingFile in;
        if (!in.Open(path.c_str())) return {};
        while (text.size() < kMaxPrefix) {
            const long got = in.Read(block, sizeof block);
            if (got <= 0) break;
            text.append(block, static_cast<size_t>(got));
            if (!look.Due(text.size())) continue;
            if (const std::string_view tag = RootStartTag(text); !tag.empty()) return std::string(tag);
        }
        return std::string(RootStartTag(text));
    }
    std::ifstream in(path, std::ios::binary);
    // A sixteen-bit document is looked through as UTF-8, which its
    // declaration no longer names then.
    std::unique_ptr<platform::TextConverter> converter;
    bool first = true;
    while (in && text.size() < kMaxPrefix) {
        in.read(block, sizeof block);
        const std::string_view bytes(block, static_cast<size_t>(in.gcount()));
        if (first) {
            first = false;
            const std::string encoding = markup::detail::SniffEncoding(bytes);
            if (encoding.starts_with("UTF-16")) converter = platform::TextConverter::ToUtf8(encoding);
        }
        if (converter) {
            converter->Convert(bytes, false, text);
        } else {
            text.append(bytes);
        }
        if (!look.Due(text.size())) continue;
        if (const std::string_view tag = RootStartTag(text); !tag.empty()) return std::string(tag);
    }
    return std::string(RootStartTag(text));
}

}  // namespace

std::string_view RootStartTag(std::string_view text) {
    for (size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at)) {
        const std::string_view rest = text.substr(at);
        size_t end;
        if (rest.substr(0, 4) == "<!--") {
            end = text.find("-->", at + 4);
            if (end == std::string_view::npos) return {};
            at = end + 3;
        } else if (rest.substr(0, 2) == "<?") {
            end = text.find("?>", at + 2);
            if (end == std::string_view::npos) return {};
            at = end + 2;
        } else if (rest.substr(0, 2) == "<!") {
            end = EndOfMarkup(text, at + 2, true);
            if (end == std::string_view::npos) return {};
            at = end + 1;
        } else {
            end = EndOfMarkup(text, at + 1, false);
            return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
        }
    }
    return {};
}

std::optional<svgf::HostRect> DocumentPage(const std::string& path, const std::string& dictionaries) {
    const std::string prefix = RootPrefix(path);
    if (prefix.empty()) return std::nullopt;
    const char* tmp = std::getenv("TMPDIR");
    std::string name = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/svgfilter-root-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return std::nullopt;
    const bool written = ::write(fd, prefix.data(), prefix.size()) == static_cast<ssize_t>(prefix.size());
    ::close(fd);

    std::optional<svgf::HostRect> page;
    if (written) {
        // What the parser would report is the import's to say.
        platform::RecordingMessageSink quiet;
        platform::ScopedMessageSink scope(&quiet);
        markup::dtd::InstallRegistryCompiler();
        markup::WXMLParser_WepImp parser;
        parser.Init(markup::String(dictionaries.c_str()));
        try {
            const markup::WDOMHandle document = parser.Parse(name.c_str(), nullptr);
            if (!document.IsNull()) {
                NoStyles styles;
                const SVG::WParser reader(document, &styles);
                if (reader.Rooted() && reader.Width() > 0 && reader.Height() > 0) {
                    page = svgf::HostRect{0, reader.Height(), reader.Width(), 0};
                }
            }
        } catch (...) {
            // No page: the description's page then runs around what was drawn.
        }
    }
    ::unlink(name.c_str());
    return page;
}

}  // namespace tools
