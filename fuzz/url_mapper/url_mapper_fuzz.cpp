// The URL mapper on arbitrary URLs: a URL of a host, and a link met in that
// host's document, must map to a file inside the cache root, never above it,
// and never to a name the system would read differently (a NUL in it).
//
// Input: the document's URL, then after the first line feed a link in it.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "markup/string.h"
#include "markup/url.h"
#include "markup/url_mapper.h"
#include "two_texts.h"

namespace {

const std::string& Root() {
    static const std::string root = [] {
        char folder[] = "/tmp/svgfilter-fuzz-urlXXXXXX";
        if (::mkdtemp(folder) == nullptr) std::abort();
        return std::string(folder) + "/cache/";
    }();
    return root;
}

// A mapped path of a host must lie below the root, with no segment that
// climbs and no byte the system would cut the name at.
void CheckInsideRoot(const markup::String& out, const char* what) {
    const std::string path(out.Text(), out.Length());
    if (path.empty()) return;
    const std::string& root = Root();
    bool bad = path.compare(0, root.size(), root) != 0 || path.find('\0') != std::string::npos;
    for (std::size_t at = root.size(); !bad && at <= path.size();) {
        std::size_t end = path.find('/', at);
        if (end == std::string::npos) end = path.size();
        const std::string segment = path.substr(at, end - at);
        bad = segment == "..";
        at = end + 1;
    }
    if (bad) {
        std::fprintf(stderr, "%s maps outside the cache root %s: %s\n", what, root.c_str(), path.c_str());
        std::abort();
    }
}

bool IsHostScheme(std::int32_t kind) {
    return kind == markup::kSchemeHttp || kind == markup::kSchemeFtp;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return -1;
    markup::URLMapper& mapper = markup::URLMapper::Instance();
    mapper.SetRootFolder(Root().c_str());
    mapper.RemoveAllServers();

    const fuzzsupport::TwoTexts input = fuzzsupport::SplitAtLineFeed(data, size);
    const markup::String& documentText = input.first;
    const markup::String& linkText = input.second;

    markup::URLSpec document;
    document.Parse(documentText);
    markup::String documentFile;
    mapper.URLToLocalPath(document, documentFile, true);
    if (IsHostScheme(document.Kind())) CheckInsideRoot(documentFile, "the document");

    // The link as the document's reader resolves it: against the folder of
    // the document's file, for the document's host.
    if (!documentFile.IsEmpty()) {
        const markup::String folder = markup::StripFileName(documentFile);
        markup::String linked;
        if (mapper.Resolve(linkText, document.HostRef(), folder, linked, true)) {
            markup::URLSpec link;
            link.Parse(linkText);
            const bool ownHost = !link.HasScheme() && IsHostScheme(document.Kind());
            if (ownHost || IsHostScheme(link.Kind())) CheckInsideRoot(linked, "the link");
        }
        bool isHttp = false;
        markup::String back;
        mapper.LocalPathToURL(back, documentFile, folder, false, isHttp);
    }

    // The host folders made for this input go again (they are empty: the
    // mapper only names files), so that a long run does not fill the disk.
    std::vector<std::string> folders;
    for (std::uint32_t i = 0; i < mapper.Count(); ++i) folders.emplace_back(mapper.At(i)->folder.Text());
    mapper.RemoveAllServers();
    for (const std::string& folder : folders) {
        if (folder != Root()) ::rmdir(folder.c_str());
    }
    return 0;
}
