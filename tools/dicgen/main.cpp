// dicgen: writes the engine's binary dictionaries from their sources.
//
//   dicgen css TABLE -o FILE    the CSS property dictionary from its table
//
// Every dictionary is written with the engine's own writer and read back
// with its reader; the tool fails unless the reread dictionary is the one
// it wrote.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "css_table.h"
#include "markup/parser/css_dictionary.h"
#include "markup/parser/dictionary_dump.h"

namespace {

constexpr const char* kUsage =
    "usage: dicgen css TABLE -o FILE   write the CSS property dictionary of a table\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

int Css(const std::string& table, const std::string& output) {
    std::ifstream in(table);
    if (!in) {
        std::fprintf(stderr, "dicgen: cannot read %s\n", table.c_str());
        return 1;
    }
    markup::CSSDictionary dictionary;
    std::vector<std::string> errors;
    if (!dicgen::ReadCSSTable(in, table, dictionary, errors)) {
        for (const std::string& e : errors) std::fprintf(stderr, "%s\n", e.c_str());
        return 1;
    }
    if (const markup::ReturnCodeEnum status = dictionary.Save(output.c_str()); status != markup::kErr_None) {
        std::fprintf(stderr, "dicgen: cannot write %s (status %d)\n", output.c_str(),
                     static_cast<int>(status));
        std::remove(output.c_str());
        return 1;
    }
    markup::CSSDictionary reread;
    const markup::ReturnCodeEnum status = reread.Load(output.c_str());
    if (status != markup::kErr_None ||
        markup::DumpCSSDictionary(reread) != markup::DumpCSSDictionary(dictionary)) {
        std::fprintf(stderr, "dicgen: %s does not read back as written (status %d)\n", output.c_str(),
                     static_cast<int>(status));
        std::remove(output.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc == 5 && std::strcmp(argv[1], "css") == 0 && std::strcmp(argv[3], "-o") == 0) {
        return Css(argv[2], argv[4]);
    }
    return Usage();
}
