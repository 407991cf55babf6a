// `svgfilter import DRAWING.svg OUT.json`: imports an SVG document through the
// module, as the host application would, and writes the drawing the host
// received as a drawing description.
#ifndef TOOLS_IMPORT_COMMAND_H
#define TOOLS_IMPORT_COMMAND_H

#include <iosfwd>
#include <string>
#include <vector>

namespace tools {

// Answers the process exit status: 0 when the description was written, 1
// when the import failed (a one-line message names the file and the cause,
// and no output file is left), 2 for bad arguments.
int RunImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tools

#endif  // TOOLS_IMPORT_COMMAND_H
