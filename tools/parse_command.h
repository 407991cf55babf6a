// `svgfilter parse FILE [--html] [--dictionaries DIR]`: parses a document as
// the SVG import does and prints its tree and its diagnostics.
#ifndef TOOLS_PARSE_COMMAND_H
#define TOOLS_PARSE_COMMAND_H

#include <iosfwd>
#include <string>
#include <vector>

namespace tools {

extern const char* const kParseHelp;

// Answers the process exit status: 0 when the document parsed, 1 when it
// did not (a one-line message names the file and the cause), 2 for bad
// arguments.
int RunParseCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tools

#endif  // TOOLS_PARSE_COMMAND_H
