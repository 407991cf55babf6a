// A DOCTYPE declaration counts only before the first element: one after it
// stays a node of the tree with diagnostic 47, and the elements keep the
// names of the dictionary they were read with.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "file_parse.h"

namespace markup_test {
namespace {

TEST(DoctypePlace, OneAfterTheFirstElementIsKeptButNotApplied) {
    const struct {
        const char* document;
        const char* names;  // the element names the dump shows, in order
        bool told;
    } cases[] = {
        {"<svg><!DOCTYPE svg PUBLIC \"\" \"x\"><rect/></svg>", "svg rect ", true},
        {"<e><!DOCTYPE g PUBLIC \"\"1.", "e ", true},
        {"<svg><g/><!DOCTYPE html><rect/></svg>", "svg g rect ", true},
        {"<!DOCTYPE svg><svg><rect/></svg>", "svg rect ", false},
        {"<!-- c --><!DOCTYPE svg [<!ENTITY a \"b\">]><svg>&a;</svg>", "svg ", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document);
        const std::string dump = "\n" + ParseFileDump(c.document);
        std::string names;
        std::istringstream lines(dump);
        for (std::string line; std::getline(lines, line);) {
            const std::size_t at = line.find_first_not_of(' ');
            if (at == std::string::npos || line.compare(at, 8, "element ") != 0) continue;
            const std::size_t name = line.find("name=\"");
            const std::string value =
                name == std::string::npos ? "?" : line.substr(name + 6, line.find('"', name + 6) - name - 6);
            if (value != "#document") names += value + " ";
        }
        EXPECT_EQ(names, c.names) << dump;
        EXPECT_EQ(dump.find("\n47 ") != std::string::npos, c.told) << dump;
    }
}

}  // namespace
}  // namespace markup_test
