// WXMLParser: the parser facade the SVG import holds. Init readies the
// dictionaries once; each Parse reads one document into a DOM document.
#pragma once

#include <string>

#include "markup/css_base_manager.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/dom/dom_handle.h"
#include "markup/string.h"

namespace markup {

class WXMLParser {
  public:
    virtual ~WXMLParser();
    // The dictionary folder (ending in its separator): "CSS.dic" is loaded
    // from it, and the document dictionary is made.
    virtual void Init(String dictionaryFolder) = 0;
    virtual void Reserved() = 0;
    // The parsed document; a null handle when the document could not be
    // opened or parsed.
    virtual WDOMHandle Parse(const char* fileName, CSSBaseManager* cssManager) = 0;
};

class WXMLParser_WepImp : public WXMLParser {
  public:
    // The document-type name the parser's own dictionary is registered under.
    static constexpr const char* kDictionaryName = "VEDIdaRov";

    WXMLParser_WepImp() = default;
    ~WXMLParser_WepImp() override;

    void Init(String dictionaryFolder) override;
    void Reserved() override {}
    // Parses in XML mode with the dictionary Init made. A failure answers a
    // null handle, never the document of an earlier parse.
    WDOMHandle Parse(const char* fileName, CSSBaseManager* cssManager) override;
    // See Tokenizer::SetKeepTagTexts; kept by default.
    void SetKeepTagTexts(bool keep) { keepTagTexts_ = keep; }

    // The document of the last parse that succeeded.
    const WDOMHandle& LastDocument() const { return document_; }
    Dictionary* GetDictionary() const { return dictionary_; }
    // Why the last parse failed; empty when it succeeded.
    const std::string& FailureCause() const { return failureCause_; }

  private:
    WDOMHandle document_;
    Dictionary* dictionary_ = nullptr;
    std::string failureCause_;
    bool keepTagTexts_ = true;
};

}  // namespace markup
