// WXMLParser_WepImp: the dictionaries of the XML front end, and one parse
// into a DOM document.
#include "markup/parser/xml_parser.h"

#include <memory>
#include <string>
#include <vector>

#include "markup/parser/dictionary_registry.h"
#include "markup/parser/dom/dom_document.h"
#include "markup/parser/parser.h"
#include "markup/parser/xml_element_factory.h"

namespace markup {

namespace {

// SVG's elements whose content holds elements and no character data: the
// line breaks and indents between their children are never drawn, in
// whatever xml:space. Texts, titles, descriptions, style sheets, scripts,
// links and foreign objects keep every text node.
const std::vector<std::string>& SvgElementOnlyNames() {
    static const std::vector<std::string> names = {
        "svg", "g", "defs", "symbol", "use", "switch", "image", "rect", "circle", "ellipse", "line",
        "polyline", "polygon", "path", "marker", "clipPath", "mask", "pattern", "linearGradient",
        "radialGradient", "stop", "filter", "font", "glyph", "missing-glyph", "font-face", "view", "cursor"};
    return names;
}

}  // namespace

WXMLParser::~WXMLParser() = default;

WXMLParser_WepImp::~WXMLParser_WepImp() = default;

void WXMLParser_WepImp::Init(String dictionaryFolder) {
    DictionaryRegistry& registry = DictionaryRegistry::Instance();
    registry.Init(dictionaryFolder);
    // Every XML document may use the five predefined entities without
    // declaring them; a document without a DOCTYPE keeps this dictionary, so
    // it must know them (an "&amp;" otherwise stood for nothing).
    dictionary_ = registry.CreateDictionary(kDictionaryName, true);
}

WDOMHandle WXMLParser_WepImp::Parse(const char* fileName, CSSBaseManager* cssManager) {
    // The factory lives with the tree: the DOM makes its new nodes with it.
    auto factory = std::make_unique<XMLElementFactory>();
    Parser parser;
    parser.SetXmlMode(1);
    parser.GetTokenizer().SetKeepTagTexts(keepTagTexts_);
    parser.GetTreeBuilder().SetElementOnlyNames(&SvgElementOnlyNames());
    std::unique_ptr<DocTree> tree =
        parser.LoadDocument(String(fileName ? fileName : ""), factory.get(), dictionary_, cssManager, 0);
    failureCause_ = parser.FailureCause();
    if (!tree) return WDOMHandle();
    document_ = WDOMDocument_WepImp::Adopt(std::move(tree), std::move(factory));
    return document_;
}

}  // namespace markup
