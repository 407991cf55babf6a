// Exports a drawing through the module the way the host application does:
// options command, begin export, the drawing walk, end export, and the
// output file put in place only when all of it succeeded.
#ifndef SVGFILTER_HOST_DRAWING_EXPORT_H
#define SVGFILTER_HOST_DRAWING_EXPORT_H

#include <functional>
#include <string>

#include "host/drawing.h"
#include "host/stand_in_host.h"
#include "svgfilter/filter_abi.h"

namespace host {

struct ExportResult {
    bool ok = false;
    std::string message;  // why not, for the user
};

// Sets the options record after command 9 has filled it with the defaults.
using OptionsEditor = std::function<void(svgf::SVGExportOptions&)>;

// Writes the document into a temporary file beside outputPath and renames it
// over outputPath on success; on failure nothing is left at outputPath, nor
// an external style sheet that the export created.
ExportResult ExportDrawing(StandInHost& host, const Drawing& drawing, const std::string& outputPath,
                           const OptionsEditor& editOptions = {});

}  // namespace host

#endif  // SVGFILTER_HOST_DRAWING_EXPORT_H
