// The tokenizer from data files: each case is a document and the token dump
// it must give (tests/data/markup/parser/tokens/*.dat). Every case is also
// scanned from a stream that hands out one byte per read, which must give
// the same dump: no token may depend on where the buffer is refilled.
//
// A file holds cases of this form:
//
//   #name NAME
//   #mode html | xml
//   #dictionary token | open | none
//   #data            (or "#data escaped": \r \n \t \0 \xHH \\ are read as bytes)
//   the document, over as many lines as it takes
//   #expected
//   the dump
//
// SVGFILTER_UPDATE_GOLDEN=1 makes the test Rewrite put the dumps the
// tokenizer gives now into the files; review the diff before committing.
#include "markup/parser/token_dump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "temp_dir.h"
#include "token_fixtures.h"

namespace markup {
namespace {

struct DumpCase {
    std::string file;
    std::string name;
    std::string mode = "html";
    std::string dictionary = "token";
    bool escaped = false;
    std::string data;
    std::string expected;
};

std::string Folder() {
    return std::string(SVGFILTER_TEST_DATA) + "/markup/parser/tokens";
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        switch (c) {
            case 'r':
                out += '\r';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case '0':
                out += '\0';
                break;
            case 'x':
                out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
                i += 2;
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::vector<DumpCase> ReadCases(const std::string& file) {
    std::vector<DumpCase> cases;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    enum { kNone, kData, kExpected } section = kNone;
    while (std::getline(in, line)) {
        if (line.rfind("#name ", 0) == 0) {
            DumpCase next;
            next.file = std::filesystem::path(file).filename().string();
            next.name = line.substr(6);
            cases.push_back(std::move(next));
            section = kNone;
        } else if (cases.empty()) {
            continue;
        } else if (line.rfind("#mode ", 0) == 0) {
            cases.back().mode = line.substr(6);
        } else if (line.rfind("#dictionary ", 0) == 0) {
            cases.back().dictionary = line.substr(12);
        } else if (line.rfind("#data", 0) == 0) {
            cases.back().escaped = line == "#data escaped";
            section = kData;
        } else if (line == "#expected") {
            if (!cases.back().data.empty()) cases.back().data.pop_back();  // the line end before the mark
            section = kExpected;
        } else if (section == kData) {
            cases.back().data += line + "\n";
        } else if (section == kExpected && !line.empty()) {
            cases.back().expected += line + "\n";
        }
    }
    for (DumpCase& c : cases) {
        if (c.escaped) c.data = Unescape(c.data);
    }
    return cases;
}

std::vector<std::string> CaseFiles() {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(Folder(), error)) {
        if (entry.path().extension() == ".dat") files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<DumpCase> AllCases() {
    std::vector<DumpCase> all;
    for (const std::string& file : CaseFiles()) {
        for (DumpCase& c : ReadCases(file)) all.push_back(std::move(c));
    }
    return all;
}

// The dump of one case, read in pieces of the size given.
std::string DumpOf(const DumpCase& c, std::uint32_t piece) {
    markup_test::FreshRegistry registry;  // an empty dictionary folder: no .dic files, no CSS.dic
    std::unique_ptr<Dictionary> dictionary;
    if (c.dictionary == "token") dictionary = markup_test::BuildTokenDictionary();
    if (c.dictionary == "open") dictionary = markup_test::BuildOpenDictionary();
    markup_test::MemoryInStream stream(c.data, piece);
    return DumpTokens(stream, "", dictionary.get(), c.mode == "xml");
}

class TokenDumpTest : public testing::TestWithParam<DumpCase> {};

TEST_P(TokenDumpTest, GivesItsDump) {
    if (std::getenv("SVGFILTER_UPDATE_GOLDEN")) GTEST_SKIP() << "the Rewrite test rewrites the files";
    const DumpCase& c = GetParam();
    const std::string whole = DumpOf(c, 1u << 20);
    EXPECT_EQ(whole, c.expected) << c.file << ": " << c.name;
    EXPECT_EQ(DumpOf(c, 1), whole) << c.file << ": " << c.name << " read one byte at a time";
}

INSTANTIATE_TEST_SUITE_P(Files, TokenDumpTest, testing::ValuesIn(AllCases()),
                         [](const testing::TestParamInfo<DumpCase>& info) {
                             std::string name = info.param.file.substr(0, info.param.file.find('.')) + "_" +
                                                info.param.name;
                             for (char& ch : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             }
                             return name;
                         });

// Puts the current dumps into the files, keeping everything else as it is.
TEST(TokenDumpFiles, Rewrite) {
    if (!std::getenv("SVGFILTER_UPDATE_GOLDEN")) GTEST_SKIP() << "set SVGFILTER_UPDATE_GOLDEN=1 to rewrite";
    for (const std::string& file : CaseFiles()) {
        const std::vector<DumpCase> cases = ReadCases(file);
        std::ifstream in(file, std::ios::binary);
        std::ostringstream out;
        std::string line;
        std::size_t index = 0;
        bool skipping = false;
        while (std::getline(in, line)) {
            if (line == "#expected") {
                out << line << "\n" << DumpOf(cases[index++], 1u << 20) << "\n";
                skipping = true;
                continue;
            }
            if (line.rfind("#name ", 0) == 0) skipping = false;
            if (!skipping) out << line << "\n";
        }
        in.close();
        std::ofstream(file, std::ios::binary) << out.str();
    }
}

}  // namespace
}  // namespace markup
