// dicgen: writes the engine's binary dictionaries from their sources.
//
//   dicgen css TABLE -o FILE    the CSS property dictionary from its table
//   dicgen dtd DTD -o FILE      a markup dictionary compiled from a DTD
//
// Every dictionary is written with the engine's own writer and read back
// with its reader; the tool fails unless the reread dictionary is the one
// it wrote.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "css_table.h"
#include "markup/dtd/dtd_compiler.h"
#include "markup/parser/css_dictionary.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/dictionary_dump.h"

namespace {

constexpr const char* kUsage =
    "usage: dicgen css TABLE -o FILE   write the CSS property dictionary of a table\n"
    "       dicgen dtd DTD -o FILE     compile a DTD and write its markup dictionary\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

// Writes the dictionary and reads it back; false, with the file removed,
// when either fails or the reread dictionary differs.
template <class D, class Load, class Dump>
bool SaveChecked(const D& dictionary, const std::string& output, Load load, Dump dump) {
    if (const markup::ReturnCodeEnum status = dictionary.Save(output.c_str()); status != markup::kErr_None) {
        std::fprintf(stderr, "dicgen: cannot write %s (status %d)\n", output.c_str(),
                     static_cast<int>(status));
        std::remove(output.c_str());
        return false;
    }
    D reread;
    const markup::ReturnCodeEnum status = load(reread, output);
    if (status != markup::kErr_None || dump(reread) != dump(dictionary)) {
        std::fprintf(stderr, "dicgen: %s does not read back as written (status %d)\n", output.c_str(),
                     static_cast<int>(status));
        std::remove(output.c_str());
        return false;
    }
    return true;
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
    auto load = [](markup::CSSDictionary& d, const std::string& path) { return d.Load(path.c_str()); };
    return SaveChecked(dictionary, output, load, markup::DumpCSSDictionary) ? 0 : 1;
}

int Dtd(const std::string& dtd, const std::string& output) {
    // The compiler's reports go to standard output.
    const std::unique_ptr<markup::Dictionary> dictionary = markup::dtd::CompileDtdFromFile(dtd.c_str());
    if (!dictionary) {
        std::fprintf(stderr, "dicgen: cannot read %s\n", dtd.c_str());
        return 1;
    }
    std::fflush(stdout);
    // A compiled dictionary compares names with case; it is read back so.
    auto load = [](markup::Dictionary& d, const std::string& path) { return d.Load(path.c_str(), true); };
    return SaveChecked(*dictionary, output, load, markup::DumpDictionary) ? 0 : 1;
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
    if (argc == 5 && std::strcmp(argv[1], "dtd") == 0 && std::strcmp(argv[3], "-o") == 0) {
        return Dtd(argv[2], argv[4]);
    }
    return Usage();
}
