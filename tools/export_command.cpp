// Arguments, the drawing description, and the export run.
#include "export_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <ostream>

#include "host/drawing_export.h"
#include "host/module_loader.h"
#include "host/stand_in_host.h"
#include "options_command.h"
#include "options_flags_driver.h"
#include "progress_line.h"

namespace tools {
namespace {

// The host sets the record the options command left with its defaults.
void ApplyOptionChoices(const OptionChoices& c, svgf::SVGExportOptions& options) {
    if (c.textAsText) options.textAsText = *c.textAsText ? 1 : 0;
    if (c.embedFonts) options.embedFonts = *c.embedFonts ? 1 : 0;
    if (c.embeddedFontsFirst) options.embeddedFontsFirst = *c.embeddedFontsFirst ? 1 : 0;
    if (c.bitmapType) options.bitmapType = *c.bitmapType;
    if (c.precision) options.precision = *c.precision;
    if (c.cssPlacement) options.cssPlacement = *c.cssPlacement;
}

void PrintHelp(std::ostream& out) {
    out << "Usage: svgfilter export DRAWING.json OUT.svg [FLAGS]\n"
           "\n"
           "Exports the drawing that DRAWING.json describes (docs/drawing-format.md)\n"
           "into OUT.svg. The document is written beside OUT.svg and put in place only\n"
           "when the whole export succeeded; an OUT.svg that is there already must be a\n"
           "regular file. The flags set the export options:\n"
        << kOptionChoicesHelp;
}

// Only a regular file is replaced: a device, a pipe or a folder at the
// output's name is the user's mistake, and renaming over it would destroy it.
std::string OutputProblem(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return {};
    return S_ISDIR(st.st_mode) ? "is a folder" : "is not a regular file";
}

}  // namespace

int RunExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (AsksForHelp(args)) {
        PrintHelp(out);
        return 0;
    }
    // The two paths come first, the option flags after them.
    if (args.size() < 2 || args[0].rfind("--", 0) == 0 || args[1].rfind("--", 0) == 0) {
        err << "svgfilter export: expected DRAWING.json OUT.svg [FLAGS] (see svgfilter --help)\n";
        return 2;
    }
    const std::vector<std::string> flags(args.begin() + 2, args.end());
    OptionChoices choices;
    if (std::string problem = ParseOptionChoices(flags, choices); !problem.empty()) {
        err << "svgfilter export: " << problem << '\n';
        return 2;
    }

    const std::string& drawingPath = args[0];
    const std::string& outputPath = args[1];
    if (std::string problem = OutputProblem(outputPath); !problem.empty()) {
        err << "svgfilter: " << outputPath << ": " << problem << "; only a regular file is replaced\n";
        return 1;
    }

    std::string error;
    std::unique_ptr<host::ModuleLibrary> module =
        host::ModuleLibrary::Open(host::ResolveModulePath(), &error);
    if (!module) {
        err << "svgfilter: cannot load the module: " << error << '\n';
        return 1;
    }
    host::StandInHost standIn(module->Entry());
    standIn.Log().SetRecording(false);
    // The description is read as it is exported, so a drawing of any size
    // takes no more memory than its largest object.
    ProgressLine progress(STDERR_FILENO, "svgfilter export " + drawingPath, drawingPath);
    const host::ExportResult result =
        host::ExportDrawingFile(standIn, drawingPath, outputPath,
                                [&](svgf::SVGExportOptions& options) { ApplyOptionChoices(choices, options); });
    progress.Stop();
    if (result.description) {
        err << "svgfilter: " << result.description->Describe(drawingPath) << '\n';
        return 1;
    }
    if (!result.ok) {
        err << "svgfilter: " << outputPath << ": " << result.message << '\n';
        return 1;
    }
    out << "wrote " << outputPath << '\n';
    return 0;
}

}  // namespace tools
