// The svgfilter command-line tool: drives the filter module through the
// stand-in host.
#include <iostream>
#include <string>
#include <vector>

#include "export_command.h"
#include "import_command.h"
#include "options_command.h"
#include "parse_command.h"

namespace {

void PrintHelp(std::ostream& out) {
    out << "Usage: svgfilter COMMAND [FLAGS]\n"
           "\n"
           "Drives the SVG filter module (libsvgfilter.so) as its host application would.\n"
           "The module is $SVGFILTER_MODULE, else libsvgfilter.so beside this program,\n"
           "else the one this build made.\n"
           "\n"
           "Commands:\n"
           "  options [FLAGS]   run the export options command and print the options\n"
           "  export DRAWING.json OUT.svg [FLAGS]\n"
           "                    export the drawing that DRAWING.json describes\n"
           "                    (docs/drawing-format.md) into OUT.svg; the flags\n"
           "                    below but --ask and --no-ui set the export options\n"
           "  import DRAWING.svg OUT.json [--dictionaries DIR]\n"
           "                    import the SVG document DRAWING.svg through the module\n"
           "                    and describe the drawing it gave the host in OUT.json\n"
           "  parse FILE [--html] [--dictionaries DIR]\n"
           "                    parse FILE as the SVG import does and print its\n"
           "                    document tree and diagnostics\n"
           "  --help            show this text; COMMAND --help shows the command's\n"
           "\n"
           "Flags of options (they play the options dialog and press OK):\n"
        << tools::kOptionChoicesHelp << tools::kDialogFlagsHelp;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintHelp(std::cerr);
        return 2;
    }
    const std::string& command = args.front();
    if (command == "--help" || command == "-h" || command == "help") {
        PrintHelp(std::cout);
        return 0;
    }
    if (command == "options") {
        return tools::RunOptionsCommand({args.begin() + 1, args.end()}, std::cin, std::cout, std::cerr);
    }
    if (command == "export") {
        return tools::RunExportCommand({args.begin() + 1, args.end()}, std::cout, std::cerr);
    }
    if (command == "import") {
        return tools::RunImportCommand({args.begin() + 1, args.end()}, std::cout, std::cerr);
    }
    if (command == "parse") {
        return tools::RunParseCommand({args.begin() + 1, args.end()}, std::cout, std::cerr);
    }
    std::cerr << "svgfilter: unknown command " << command << " (see svgfilter --help)\n";
    return 2;
}
