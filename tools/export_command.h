// `svgfilter export DRAWING.json OUT.svg [flags]`: exports a drawing
// description through the module, as the host application would.
#ifndef TOOLS_EXPORT_COMMAND_H
#define TOOLS_EXPORT_COMMAND_H

#include <iosfwd>
#include <string>
#include <vector>

namespace tools {

// Answers the process exit status: 0 when the document was written, 1 when
// the description or the export failed (no output file is then left), 2 for
// bad arguments.
int RunExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tools

#endif  // TOOLS_EXPORT_COMMAND_H
