// Data files with sections, for the text-in/text-out engines: each case is
//
//   #data NAME
//   the input text (C escapes \\ \n \r \t \xHH are decoded; the line break
//   before the next marker is not part of it)
//   #expected
//   the expected output, line by line
//
// Lines before the first "#data" are comments. A driver runs every case of
// a file and compares its output with the expected lines; with
// SVGFILTER_REGENERATE=1 it writes the produced outputs back into the file
// instead (review the difference before committing it).
#ifndef SVGFILTER_TESTS_SECTIONS_H
#define SVGFILTER_TESTS_SECTIONS_H

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace testsupport {

struct SectionCase {
    std::string name;
    std::string rawData;  // as written in the file
    std::string data;     // decoded
    std::string expected;
};

inline std::string DecodeEscapes(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        switch (c) {
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'x':
                if (i + 2 < text.size()) {
                    out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
                    i += 2;
                }
                break;
            default: out += c; break;
        }
    }
    return out;
}

// C escapes for the bytes a data file cannot show plainly.
inline std::string EscapeText(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '"') {
            out += "\\\"";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

inline std::vector<SectionCase> ReadSections(const std::string& path, std::string* preamble = nullptr) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << "no data file " << path;
    std::vector<SectionCase> cases;
    std::string line;
    enum { kNone, kData, kExpected } part = kNone;
    auto trimLastBreak = [](std::string& s) {
        if (!s.empty() && s.back() == '\n') s.pop_back();
    };
    while (std::getline(in, line)) {
        if (line.rfind("#data", 0) == 0) {
            if (!cases.empty()) trimLastBreak(cases.back().expected);
            SectionCase c;
            c.name = line.size() > 6 ? line.substr(6) : std::to_string(cases.size() + 1);
            cases.push_back(c);
            part = kData;
        } else if (line == "#expected" && part == kData) {
            trimLastBreak(cases.back().rawData);
            part = kExpected;
        } else if (part == kData) {
            cases.back().rawData += line + "\n";
        } else if (part == kExpected) {
            cases.back().expected += line + "\n";
        } else if (preamble) {
            *preamble += line + "\n";
        }
    }
    if (!cases.empty()) trimLastBreak(cases.back().expected);
    for (SectionCase& c : cases) c.data = DecodeEscapes(c.rawData);
    return cases;
}

// Runs `produce` over every case of the file under tests/data and compares.
inline void RunSections(const std::string& name, const std::function<std::string(const std::string&)>& produce) {
    const std::string path = std::string(SVGFILTER_TEST_DATA) + "/" + name;
    std::string preamble;
    std::vector<SectionCase> cases = ReadSections(path, &preamble);
    ASSERT_FALSE(cases.empty()) << path;
    const char* regenerate = std::getenv("SVGFILTER_REGENERATE");
    const bool write = regenerate != nullptr && std::string(regenerate) == "1";
    std::string rewritten = preamble;
    for (SectionCase& c : cases) {
        std::string actual = produce(c.data);
        if (!actual.empty() && actual.back() == '\n') actual.pop_back();
        if (write) {
            rewritten += "#data " + c.name + "\n" + c.rawData + "\n#expected\n" + actual + "\n";
        } else {
            EXPECT_EQ(actual, c.expected) << "case \"" << c.name << "\" of " << path;
        }
    }
    if (write) std::ofstream(path, std::ios::binary) << rewritten;
}

}  // namespace testsupport

#endif  // SVGFILTER_TESTS_SECTIONS_H
