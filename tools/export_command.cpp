// Arguments, the drawing description, and the export run.
#include "export_command.h"

#include <memory>
#include <ostream>

#include "host/drawing_export.h"
#include "host/module_loader.h"
#include "host/stand_in_host.h"
#include "options_command.h"
#include "options_flags_driver.h"

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

}  // namespace

int RunExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
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
    const host::ExportResult result =
        host::ExportDrawingFile(standIn, drawingPath, outputPath,
                                [&](svgf::SVGExportOptions& options) { ApplyOptionChoices(choices, options); });
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
