// The containment and status checks of files a document links.
#include "markup/linked_file.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <string>

namespace markup {

namespace {

// The path with links and ".." resolved; empty when it does not resolve.
std::string Resolved(const char* path) {
    char* real = ::realpath(path, nullptr);
    if (!real) return std::string();
    std::string out(real);
    std::free(real);
    return out;
}

bool Within(const std::string& file, const std::string& folder) {
    if (folder.empty()) return false;
    if (folder == "/") return true;
    return file.size() > folder.size() && file.compare(0, folder.size(), folder) == 0 &&
           file[folder.size()] == '/';
}

}  // namespace

LinkedFileCheck CheckLinkedFile(const String& path, const std::vector<String>& folders, std::uint64_t maxBytes) {
    if (path.IsEmpty()) return LinkedFileCheck::kMissing;
    struct stat st {};
    if (::stat(path.Text(), &st) != 0) return LinkedFileCheck::kMissing;
    const std::string file = Resolved(path.Text());
    bool inside = false;
    for (const String& folder : folders) {
        if (folder.IsEmpty()) continue;
        if (Within(file, Resolved(folder.Text()))) {
            inside = true;
            break;
        }
    }
    if (!inside) return LinkedFileCheck::kOutside;
    if (!S_ISREG(st.st_mode)) return LinkedFileCheck::kNotRegular;
    if (st.st_size < 0 || static_cast<std::uint64_t>(st.st_size) > maxBytes) return LinkedFileCheck::kTooLarge;
    return LinkedFileCheck::kReadable;
}

const char* DescribeLinkedFileCheck(LinkedFileCheck check) {
    switch (check) {
        case LinkedFileCheck::kReadable:
            return "it may be read";
        case LinkedFileCheck::kMissing:
            return "it does not exist";
        case LinkedFileCheck::kOutside:
            return "it lies outside the document's and the dictionaries' folders";
        case LinkedFileCheck::kNotRegular:
            return "it is not a regular file";
        case LinkedFileCheck::kTooLarge:
            return "it is larger than the 16 MB read for a linked file";
    }
    return "";
}

}  // namespace markup
