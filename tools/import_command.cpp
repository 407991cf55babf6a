// Arguments, the import run through the module, and the drawing description.
#include "import_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <utility>

#include "document_page.h"
#include "module_messages.h"
#include "progress_line.h"
#include "host/import/import_host.h"
#include "host/module_loader.h"
#include "host/stand_in_host.h"

namespace tools {
namespace {

void PrintHelp(std::ostream& out) {
    out << "Usage: svgfilter import DRAWING.svg OUT.json [--dictionaries DIR]\n"
           "\n"
           "Imports the SVG document DRAWING.svg through the module (import set-up,\n"
           "import, end import) and writes the drawing the host received as a drawing\n"
           "description (docs/drawing-format.md) into OUT.json, on the page the\n"
           "document's root asks for; `svgfilter export` turns it into SVG again.\n"
           "  --dictionaries DIR  the markup dictionaries' folder (CSS.dic), which the\n"
           "                      host names to the module; default\n"
           "                      $SVGFILTER_DICTIONARIES, else the installed or\n"
           "                      built ones\n"
           "Exit status 0 when the description was written, 1 when the import failed\n"
           "(one line names the file and the cause; nothing is written).\n";
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The folder given, else $SVGFILTER_DICTIONARIES, else the installed one
// beside the tool (../share/svgfilter/dictionaries), else the build's.
std::string ImportDictionaries(const std::string& given) {
    std::string folder = given;
    if (folder.empty()) {
        if (const char* env = std::getenv("SVGFILTER_DICTIONARIES")) folder = env;
    }
    if (folder.empty()) {
        char self[4096];
        const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
        if (n > 0) {
            std::string exe(self, static_cast<size_t>(n));
            const std::string installed = exe.substr(0, exe.rfind('/')) + "/../share/svgfilter/dictionaries";
            if (IsDirectory(installed)) folder = installed;
        }
    }
#ifdef SVGFILTER_BUILD_DICTIONARIES
    if (folder.empty()) folder = SVGFILTER_BUILD_DICTIONARIES;
#endif
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

// The import's own error box ("error: SVG import: FILE: cause") gives the
// failure's text; empty when the module showed none.
constexpr std::string_view kImportErrorBox = "error: SVG import: ";

}  // namespace

int RunImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> paths;
    std::string folderFlag;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            PrintHelp(out);
            return 0;
        }
        if (arg == "--dictionaries" && i + 1 < args.size()) {
            folderFlag = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            err << "svgfilter import: unknown flag " << arg << " (see svgfilter import --help)\n";
            return 2;
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.size() != 2) {
        err << "svgfilter import: expected DRAWING.svg OUT.json (see svgfilter import --help)\n";
        return 2;
    }
    const std::string& svgPath = paths[0];
    const std::string& outputPath = paths[1];
    struct stat st {};
    if (::stat(outputPath.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        err << "svgfilter: " << outputPath << ": "
            << (S_ISDIR(st.st_mode) ? "is a folder" : "is not a regular file")
            << "; only a regular file is replaced\n";
        return 1;
    }
    const std::string folder = ImportDictionaries(folderFlag);

    std::string error;
    std::unique_ptr<host::ModuleLibrary> module =
        host::ModuleLibrary::Open(host::ResolveModulePath(), &error);
    if (!module) {
        err << "svgfilter: cannot load the module: " << error << '\n';
        return 1;
    }
    host::StandInHost standIn(module->Entry());
    standIn.Log().SetRecording(false);
    host::import::ImportHost import(standIn);
    import.Log().SetRecording(false);
    import.SetSpilling(true);
    import.SetDocument(svgPath);
    import.SetDictionaryFolder(folder);
    if (const std::optional<svgf::HostRect> page = DocumentPage(svgPath, folder)) import.SetPage(*page);

    // For the import benchmark: the module's part and the host's apart.
    const bool timing = std::getenv("SVGFILTER_IMPORT_TIMING") != nullptr;
    import.SetTiming(timing);
    const auto started = std::chrono::steady_clock::now();
    int32_t imported = 0;
    std::vector<std::string> messages;
    {
        ModuleMessages capture;
        ProgressLine progress(ModuleMessages::TerminalFd(), "svgfilter import " + svgPath, svgPath,
                              [&import] { return import.Drawn(); });
        if (standIn.Call(svgf::kCmdImportSetup) != 0) imported = standIn.Call(svgf::kCmdImport);
        standIn.Call(svgf::kCmdEndImport);
        progress.Stop();
        messages = capture.Stop();
    }
    const double importSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::string failure;
    for (const std::string& line : messages) {
        if (line.compare(0, kImportErrorBox.size(), kImportErrorBox) == 0) {
            failure = line.substr(kImportErrorBox.size());
        } else {
            err << line << '\n';
        }
    }
    if (imported == 0) {
        if (failure.empty()) {
            failure = svgPath + ": the module could not import the document";
            if (standIn.Context().errorCode != 0)
                failure += " (error " + std::to_string(standIn.Context().errorCode) + ")";
        }
        err << "svgfilter: " << failure << '\n';
        return 1;
    }
    if (const host::import::ImportBalance balance = import.Balance(); !balance.Balanced()) {
        err << "svgfilter: " << svgPath
            << ": the import left the host unbalanced: " << balance.problems.front() << '\n';
        return 1;
    }
    const auto writing = std::chrono::steady_clock::now();
    if (!import.WriteDescription(outputPath, &error)) {
        err << "svgfilter: " << error << '\n';
        return 1;
    }
    if (timing) {
        const double written = std::chrono::duration<double>(std::chrono::steady_clock::now() - writing).count();
        char line[200];
        std::snprintf(line, sizeof line,
                      "svgfilter import: timing: module %.3f s, host drawing calls %.3f s, description written %.3f s\n",
                      importSeconds - import.HostSeconds(), import.HostSeconds(), written);
        err << line;
    }
    // A warning met many times (each of thousands of nested groups) is told once.
    std::vector<std::pair<std::string, size_t>> warnings;
    for (const std::string& warning : import.Warnings()) {
        auto same =
            std::find_if(warnings.begin(), warnings.end(), [&](const auto& w) { return w.first == warning; });
        if (same == warnings.end()) {
            warnings.emplace_back(warning, 1);
        } else {
            ++same->second;
        }
    }
    for (const auto& [warning, times] : warnings) {
        err << "svgfilter: " << svgPath << ": " << warning;
        if (times > 1) err << " (" << times << " times)";
        err << '\n';
    }
    out << "wrote " << outputPath << '\n';
    return 0;
}

}  // namespace tools
