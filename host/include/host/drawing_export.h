// Exports a drawing through the module the way the host application does:
// options command, begin export, the drawing walk, end export, and the
// output file put in place only when all of it succeeded.
#ifndef SVGFILTER_HOST_DRAWING_EXPORT_H
#define SVGFILTER_HOST_DRAWING_EXPORT_H

#include <functional>
#include <optional>
#include <string>

#include "host/drawing.h"
#include "host/drawing_reader.h"
#include "host/stand_in_host.h"
#include "svgfilter/filter_abi.h"

namespace host {

struct ExportResult {
    bool ok = false;
    std::string message;  // why not, for the user
    // Set when the drawing's description is at fault: the place in the file.
    std::optional<DrawingError> description;
};

// Sets the options record after command 9 has filled it with the defaults.
using OptionsEditor = std::function<void(svgf::SVGExportOptions&)>;

// Writes the document into a temporary file beside outputPath and renames it
// over outputPath on success; on failure nothing is left at outputPath, nor
// an external style sheet that the export created.
ExportResult ExportDrawing(StandInHost& host, const Drawing& drawing, const std::string& outputPath,
                           const OptionsEditor& editOptions = {});

// The same for a description file, read as it is exported: each object is
// reported as soon as it is read, so no drawing is ever held whole. The
// export begins once the file's header (format, version, unit, page) is
// read; an error in the description after that ends the export where it
// stands, with the same outcome: nothing left at outputPath.
ExportResult ExportDrawingFile(StandInHost& host, const std::string& drawingPath, const std::string& outputPath,
                               const OptionsEditor& editOptions = {});

}  // namespace host

#endif  // SVGFILTER_HOST_DRAWING_EXPORT_H
