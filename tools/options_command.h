// `svgfilter options [flags]`: runs the module's options command through the
// stand-in host and prints the options it ends with.
#ifndef TOOLS_OPTIONS_COMMAND_H
#define TOOLS_OPTIONS_COMMAND_H

#include <iosfwd>
#include <string>
#include <vector>

namespace tools {

// The help texts of the flags that choose options (both commands take
// them) and of the two that only the options command takes.
extern const char* const kOptionChoicesHelp;
extern const char* const kDialogFlagsHelp;

// True when the arguments ask for a command's help.
bool AsksForHelp(const std::vector<std::string>& args);

struct OptionChoices;

// Parses the option flags that the export command shares with this one
// (neither --ask nor --no-ui); answers what is wrong, empty when all is well.
std::string ParseOptionChoices(const std::vector<std::string>& args, OptionChoices& choices);

// Answers the process exit status: 0 when the options stand (or the help was
// asked for), 1 when the command failed or was cancelled, 2 for bad flags.
int RunOptionsCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                      std::ostream& err);

}  // namespace tools

#endif  // TOOLS_OPTIONS_COMMAND_H
