// Well-formedness checks of written documents with xmllint (libxml2-utils).
#ifndef SVGFILTER_TESTS_XML_CHECK_H
#define SVGFILTER_TESTS_XML_CHECK_H

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace testsupport {

inline bool XmllintAvailable() {
    return std::system("command -v xmllint >/dev/null 2>&1") == 0;
}

// xmllint's complaints about the text, or empty when it is well-formed.
// No DTD is loaded and no network is used.
inline std::string XmlProblems(const std::string& document) {
    char path[] = "/tmp/svgfilter-xmlcheckXXXXXX";
    int descriptor = ::mkstemp(path);
    if (descriptor < 0) return "cannot make a file to check";
    ::close(descriptor);
    {
        std::ofstream out(path, std::ios::binary);
        out << document;
    }
    std::string command = std::string("xmllint --noout --nonet ") + path + " 2>&1";
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
        int status = ::pclose(pipe);
        if (status != 0 && output.empty()) output = "xmllint failed";
    } else {
        output = "cannot run xmllint";
    }
    ::unlink(path);
    return output;
}

}  // namespace testsupport

// Expects the document to be well-formed XML; skips the test without xmllint.
#define EXPECT_WELL_FORMED(document)                                        \
    do {                                                                    \
        if (!testsupport::XmllintAvailable()) GTEST_SKIP() << "no xmllint"; \
        EXPECT_EQ(testsupport::XmlProblems(document), "") << (document);    \
    } while (0)

#endif  // SVGFILTER_TESTS_XML_CHECK_H
