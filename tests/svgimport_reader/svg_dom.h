// SVG text to a DOM, for the reader's tests: a small XML reader (elements,
// attributes, character data, comments, the five entities and character
// references) building the document tree as the parser does, handed to
// the DOM. Not a parser of the system: what it cannot read it stops at,
// and says so in Error().
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "markup/parser/dom/dom_handle.h"

namespace reader_test {

class SvgDom {
  public:
    explicit SvgDom(std::string_view text);
    ~SvgDom();
    SvgDom(const SvgDom&) = delete;
    SvgDom& operator=(const SvgDom&) = delete;

    const markup::WDOMHandle& Document() const { return document_; }
    // Empty when the whole text was read.
    const std::string& Error() const { return error_; }
    // The first element with this id attribute; null when none.
    markup::WDOMHandle ById(std::string_view id) const;

  private:
    struct Names;
    std::unique_ptr<Names> names_;  // outlives the document
    markup::WDOMHandle document_;
    std::string error_;
};

// An SVG document of `content` in a root of `side` user units square.
std::string Svg(std::string_view content, int side = 192);

}  // namespace reader_test
