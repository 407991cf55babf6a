// A drawing description exported through FilterEntry as the tool does it:
// a document that is written is well-formed XML, and a failed export leaves
// nothing behind (no document, no part file, no style sheet, no image
// folder, no temporary file). The JSON cursor reading the same bytes from a
// file through a small window agrees with the cursor reading them from
// memory.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "host/drawing_export.h"
#include "host/json_cursor.h"
#include "host/module_loader.h"
#include "host/stand_in_host.h"

namespace {

[[noreturn]] void Fault(const std::string& what) {
    std::fprintf(stderr, "drawing_export: %s\n", what.c_str());
    std::abort();
}

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(dir);
    }
    return names;
}

// Removes what an export wrote (files and the image folder's files).
void Empty(const std::string& folder) {
    for (const std::string& name : Entries(folder)) {
        const std::string path = folder + "/" + name;
        struct stat st;
        if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            Empty(path);
            ::rmdir(path.c_str());
        } else {
            ::unlink(path.c_str());
        }
    }
}

std::string ReadFile(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char chunk[65536];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, n);
        std::fclose(f);
    }
    return text;
}

// Well-formed XML as the module writes it: declaration, comments, a doctype
// without an internal subset, CDATA sections, elements whose end tags match,
// quoted attributes, entity references; one root element.
bool WellFormed(const std::string& x) {
    std::vector<std::string> open;
    bool rootSeen = false;
    auto isName = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == ':' || c == '_' || c == '-' || c == '.';
    };
    auto entityOk = [&](size_t at) {
        const size_t semi = x.find(';', at);
        if (semi == std::string::npos || semi == at + 1 || semi - at > 12) return false;
        for (size_t k = at + 1; k < semi; ++k) {
            if (!isName(x[k]) && x[k] != '#') return false;
        }
        return true;
    };
    size_t i = 0;
    while (i < x.size()) {
        if (x[i] != '<') {
            if (x[i] == '&' && !entityOk(i)) return false;
            if (open.empty() && !std::isspace(static_cast<unsigned char>(x[i]))) return false;
            ++i;
            continue;
        }
        auto skipTo = [&](const char* end) {
            const size_t at = x.find(end, i);
            if (at == std::string::npos) return false;
            i = at + std::char_traits<char>::length(end);
            return true;
        };
        if (x.compare(i, 4, "<!--") == 0) {
            if (!skipTo("-->")) return false;
        } else if (x.compare(i, 9, "<![CDATA[") == 0) {
            if (open.empty() || !skipTo("]]>")) return false;
        } else if (x.compare(i, 2, "<?") == 0) {
            if (!skipTo("?>")) return false;
        } else if (x.compare(i, 9, "<!DOCTYPE") == 0) {
            if (rootSeen || !skipTo(">")) return false;
        } else if (x.compare(i, 2, "</") == 0) {
            size_t k = i + 2;
            while (k < x.size() && isName(x[k])) ++k;
            const std::string name = x.substr(i + 2, k - i - 2);
            while (k < x.size() && std::isspace(static_cast<unsigned char>(x[k]))) ++k;
            if (k >= x.size() || x[k] != '>' || open.empty() || open.back() != name) return false;
            open.pop_back();
            i = k + 1;
        } else {
            size_t k = i + 1;
            while (k < x.size() && isName(x[k])) ++k;
            const std::string name = x.substr(i + 1, k - i - 1);
            if (name.empty() || (open.empty() && rootSeen)) return false;
            // Attributes: name="value" or name='value', no '<' in a value.
            for (;;) {
                while (k < x.size() && std::isspace(static_cast<unsigned char>(x[k]))) ++k;
                if (k >= x.size()) return false;
                if (x[k] == '>' || x.compare(k, 2, "/>") == 0) break;
                const size_t nameStart = k;
                while (k < x.size() && isName(x[k])) ++k;
                if (k == nameStart || k + 1 >= x.size() || x[k] != '=') return false;
                const char quote = x[++k];
                if (quote != '"' && quote != '\'') return false;
                const size_t end = x.find(quote, k + 1);
                if (end == std::string::npos) return false;
                for (size_t v = k + 1; v < end; ++v) {
                    if (x[v] == '<' || (x[v] == '&' && !entityOk(v))) return false;
                }
                k = end + 1;
                if (k < x.size() && !std::isspace(static_cast<unsigned char>(x[k])) && x[k] != '>' && x[k] != '/')
                    return false;
            }
            rootSeen = true;
            if (x[k] == '>') {
                open.push_back(name);
                i = k + 1;
            } else {
                i = k + 2;
            }
        }
    }
    return rootSeen && open.empty();
}

// Every value of the text, then its end: "ok" or where and why it failed.
std::string Walk(host::JsonCursor& json) {
    try {
        json.Skip();
        json.Finish();
        return "ok";
    } catch (const host::JsonSyntaxError& e) {
        return std::to_string(e.offset) + " " + e.reason;
    }
}

struct Setting {
    std::string root, in, out, temp, description;
    std::unique_ptr<host::ModuleLibrary> module;
};

Setting* g_setting = nullptr;

// The folders go when the fuzzer ends.
void RemoveFolders() {
    Empty(g_setting->root);
    ::rmdir(g_setting->root.c_str());
}

Setting& Set() {
    static Setting* s = [] {
        auto* set = new Setting;
        // In memory where the system offers it: every export ends with fsync.
        struct stat st;
        std::string pattern = ::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm" : "/tmp";
        pattern += "/svgfilter-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) Fault("cannot make a folder");
        set->root = pattern;
        set->in = set->root + "/in";
        set->out = set->root + "/out";
        set->temp = set->root + "/tmp";
        for (const std::string* f : {&set->in, &set->out, &set->temp}) ::mkdir(f->c_str(), 0755);
        set->description = set->in + "/drawing.json";
        ::setenv("TMPDIR", set->temp.c_str(), 1);
        std::string error;
        set->module = host::ModuleLibrary::Open(host::DefaultModulePath(), &error);
        if (!set->module) Fault("cannot load the module: " + error);
        g_setting = set;
        std::atexit(RemoveFolders);
        return set;
    }();
    return *s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Setting& s = Set();
    const std::string text(reinterpret_cast<const char*>(data), size);
    {
        const int fd = ::open(s.description.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
            Fault("cannot write the description");
        }
        ::close(fd);
    }

    // The file read through a window of 1 to 16 bytes agrees with memory.
    {
        host::JsonCursor memory(text);
        const int fd = ::open(s.description.c_str(), O_RDONLY);
        host::JsonCursor windowed(fd, 1 + (size > 0 ? data[0] % 16 : 0));
        const std::string a = Walk(memory);
        const std::string b = Walk(windowed);
        ::close(fd);
        if (a != b) Fault("memory: " + a + "; file: " + b);
    }

    // The export, in one of the three style placements.
    const uint32_t placements[] = {svgf::kCssInternal, svgf::kCssStyleAttribute, svgf::kCssExternal};
    const uint32_t placement = placements[size % 3];
    const std::string output = s.out + "/drawing.svg";
    host::StandInHost standIn(s.module->Entry());
    standIn.Log().SetRecording(false);
    const host::ExportResult result = host::ExportDrawingFile(
        standIn, s.description, output, [&](svgf::SVGExportOptions& o) { o.cssPlacement = placement; });
    if (result.ok) {
        if (!WellFormed(ReadFile(output))) Fault("the document is not well-formed XML");
    } else {
        const std::vector<std::string> left = Entries(s.out);
        if (!left.empty()) Fault("a failed export left " + left[0] + " (" + result.message + ")");
    }
    if (!Entries(s.temp).empty()) Fault("the export left a temporary file");
    Empty(s.out);
    return 0;
}
