// Flag parsing, the choice of dialog driver, and the printout.
#include "options_command.h"

#include <charconv>
#include <istream>
#include <memory>
#include <ostream>

#include "host/module_loader.h"
#include "host/stand_in_host.h"
#include "options_flags_driver.h"
#include "platform/text_mode_dialog_driver.h"

namespace tools {

const char* const kOptionChoicesHelp =
    "  --text | --curves          export text as text (default) or as curves\n"
    "  --embed-fonts              embed the fonts in the document\n"
    "  --font-priority            embedded fonts take priority (needs --embed-fonts)\n"
    "  --jpeg | --gif | --png     bitmap type (default JPEG); also --bitmap jpeg|gif|png\n"
    "  --precision N              user units per inch: 1000 (default), 2540, 10000,\n"
    "                             25400, 100000 or 254000\n"
    "  --css internal|external|style\n"
    "                             CSS in an internal style sheet (default), in an\n"
    "                             external .css file, or in style attributes\n";
const char* const kDialogFlagsHelp =
    "  --ask                      ask for the options on the terminal instead\n"
    "  --no-ui                    take the defaults without showing the dialog\n";

bool AsksForHelp(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") return true;
    }
    return false;
}

namespace {

struct OptionsRequest {
    OptionChoices choices;
    bool ask = false;
    bool noUserInterface = false;
    bool anyChoice = false;
};

bool ParseNumber(const std::string& text, uint32_t& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end;
}

bool ParseBitmap(const std::string& name, uint32_t& type) {
    if (name == "jpeg" || name == "jpg")
        type = 0;
    else if (name == "gif")
        type = 1;
    else if (name == "png")
        type = 2;
    else
        return false;
    return true;
}

bool ParseCss(const std::string& name, uint32_t& placement) {
    if (name == "internal")
        placement = 0;
    else if (name == "external")
        placement = 1;
    else if (name == "style")
        placement = 2;
    else
        return false;
    return true;
}

// Fills `request`; answers an error message, empty when the flags are good.
std::string ParseFlags(const std::vector<std::string>& args, OptionsRequest& request) {
    OptionChoices& c = request.choices;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& flag = args[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string text;
        uint32_t number = 0;
        if (flag == "--ask") {
            request.ask = true;
            continue;
        }
        if (flag == "--no-ui") {
            request.noUserInterface = true;
            continue;
        }
        request.anyChoice = true;
        if (flag == "--text" || flag == "--curves") {
            c.textAsText = flag == "--text";
        } else if (flag == "--embed-fonts") {
            c.embedFonts = true;
        } else if (flag == "--font-priority") {
            c.embeddedFontsFirst = true;
        } else if (flag == "--jpeg" || flag == "--gif" || flag == "--png") {
            ParseBitmap(flag.substr(2), number);
            c.bitmapType = number;
        } else if (flag == "--bitmap") {
            if (!value(text) || !ParseBitmap(text, number)) return "--bitmap takes jpeg, gif or png";
            c.bitmapType = number;
        } else if (flag == "--precision") {
            if (!value(text) || !ParseNumber(text, number)) return "--precision takes a number";
            switch (number) {
                case 1000:
                case 2540:
                case 10000:
                case 25400:
                case 100000:
                case 254000:
                    break;
                default:
                    return "--precision takes 1000, 2540, 10000, 25400, 100000 or 254000";
            }
            c.precision = number;
        } else if (flag == "--css") {
            if (!value(text) || !ParseCss(text, number)) return "--css takes internal, external or style";
            c.cssPlacement = number;
        } else {
            return "unknown flag " + flag;
        }
    }
    if (c.embeddedFontsFirst && !c.embedFonts) return "--font-priority needs --embed-fonts";
    if (request.ask && request.noUserInterface) return "--ask and --no-ui exclude each other";
    if (request.anyChoice && (request.ask || request.noUserInterface)) {
        return "--ask and --no-ui take no option flags";
    }
    return {};
}

const char* BitmapName(uint32_t type) {
    switch (type) {
        case 0:
            return "JPEG";
        case 1:
            return "GIF";
        case 2:
            return "PNG";
        default:
            return "unknown";
    }
}

const char* CssName(uint32_t placement) {
    switch (placement) {
        case 0:
            return "internal style sheet";
        case 1:
            return "external style sheet";
        case 2:
            return "style attribute";
        default:
            return "unknown";
    }
}

void PrintOptions(const svgf::SVGExportOptions& options, std::ostream& out) {
    out << "text as text:         " << options.textAsText << '\n'
        << "embed fonts:          " << options.embedFonts << '\n'
        << "embedded fonts first: " << options.embeddedFontsFirst << '\n'
        << "bitmap type:          " << options.bitmapType << " (" << BitmapName(options.bitmapType) << ")\n"
        << "precision:            " << options.precision << '\n'
        << "CSS placement:        " << options.cssPlacement << " (" << CssName(options.cssPlacement) << ")\n";
}

const char* ErrorText(uint32_t code) {
    switch (code) {
        case svgf::kErrNoMemory:
            return "out of memory";
        case svgf::kErrDialogFailed:
            return "the options dialog could not be shown";
        case svgf::kErrDialogCancelled:
            return "the options dialog was cancelled";
        default:
            return "failed";
    }
}

}  // namespace

std::string ParseOptionChoices(const std::vector<std::string>& args, OptionChoices& choices) {
    OptionsRequest request;
    std::string problem = ParseFlags(args, request);
    if (problem.empty() && (request.ask || request.noUserInterface)) problem = "--ask and --no-ui are options flags only";
    choices = request.choices;
    return problem;
}

int RunOptionsCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                      std::ostream& err) {
    if (AsksForHelp(args)) {
        out << "Usage: svgfilter options [FLAGS]\n"
               "\n"
               "Runs the module's export options command and prints the options it ends\n"
               "with. The flags play the options dialog and press OK:\n"
            << kOptionChoicesHelp << kDialogFlagsHelp;
        return 0;
    }
    OptionsRequest request;
    if (std::string problem = ParseFlags(args, request); !problem.empty()) {
        err << "svgfilter options: " << problem << '\n';
        return 2;
    }

    std::string error;
    const std::string path = host::ResolveModulePath();
    std::unique_ptr<host::ModuleLibrary> module = host::ModuleLibrary::Open(path, &error);
    if (!module) {
        err << "svgfilter: cannot load the module: " << error << '\n';
        return 1;
    }

    OptionsFlagsDriver flagsDriver(request.choices);
    platform::TextModeDialogDriver askDriver(in, err);
    platform::Window window;
    window.driver = request.ask ? static_cast<platform::DialogDriver*>(&askDriver) : &flagsDriver;

    host::StandInHost host(module->Entry());
    host.SetParentWindow(&window);
    host.SetNoUserInterface(request.noUserInterface);
    const int32_t answer = host.Call(svgf::kCmdOptions);
    const svgf::FilterContext& context = host.Context();
    if (!flagsDriver.Problem().empty()) {
        err << "svgfilter options: " << flagsDriver.Problem() << '\n';
        return 1;
    }
    if (answer == 0 || context.exportOptions == nullptr) {
        err << "svgfilter options: " << ErrorText(context.errorCode) << " (error " << context.errorCode
            << ")\n";
        return 1;
    }
    PrintOptions(*context.exportOptions, out);
    return 0;
}

}  // namespace tools
