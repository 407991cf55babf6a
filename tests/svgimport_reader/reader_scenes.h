// Small documents, one feature each, for the reader on the stand-in host:
// their call logs are kept as golden files, and the media build exports
// what the host was given back to SVG and renders it beside the document.
#pragma once

#include <string>
#include <vector>

namespace reader_test {

struct Scene {
    const char* name;
    // The elements inside a two-inch root of 180 user units.
    std::string svg;
    // What the host can show of it when that is not the document itself
    // (empty: the document).
    std::string reference;
    // Scenes with texts or pictures need the host's fonts and images: no
    // golden log, rendered only.
    bool media = false;
    double tolerance = 0.01;
};

const std::vector<Scene>& Scenes();

// The whole document of the scene's elements (or of its reference).
std::string SceneDocument(const std::string& elements);

}  // namespace reader_test
