// Character data: the text, CDATA section and comment facades.
//
// Each keeps its own copy of its text; the editing operations change that
// copy only. A text facade over a parsed text node stands for the node's
// whole run of text (the node and the text and entity-reference nodes that
// follow it); it reads the run from the tree when its data is first asked
// for, so walking past text nodes costs nothing for their length.
#pragma once

#include <cstdint>

#include "markup/parser/dom/dom_interfaces.h"
#include "markup/parser/dom/dom_node_imp.h"

namespace markup {

// The data of a text facade is the run of text that starts at its node.
struct WDOMJoinedRun {};

template <class Interface>
class WDOMCharacterDataImp : public WDOMNodeImp<Interface> {
  public:
    IDOMString nodeValue() const override { return data(); }
    void setNodeValue(const IDOMString& value) override { setData(value); }

    IDOMString substringData(std::uint32_t offset, std::uint32_t count) const override;
    void appendData(const IDOMString& text) override;
    void insertData(std::uint32_t offset, const IDOMString& text) override;
    void deleteData(std::uint32_t offset, std::uint32_t count) override;
    void replaceData(std::uint32_t offset, std::uint32_t count, const IDOMString& text) override;
    IDOMString data() const override { return Data(); }
    void setData(const IDOMString& text) override;
    std::uint32_t length() const override { return Data().Length(); }

  protected:
    WDOMCharacterDataImp(DocTree* tree, DocElement* node, const IDOMString& data);
    WDOMCharacterDataImp(DocTree* tree, DocElement* node, WDOMJoinedRun);

    const IDOMString& Data() const;

  private:
    mutable IDOMString data_;
    mutable bool runPending_ = false;
};

template <class Interface>
class WDOMTextImp : public WDOMCharacterDataImp<Interface> {
  public:
    WDOMText* splitText(std::uint32_t offset) override;

  protected:
    using WDOMCharacterDataImp<Interface>::WDOMCharacterDataImp;
};

class WDOMText_WepImp : public WDOMTextImp<WDOMText> {
  public:
    WDOMText_WepImp(DocTree* tree, DocElement* node, const IDOMString& data);
    WDOMText_WepImp(DocTree* tree, DocElement* node, WDOMJoinedRun run);

    IDOMString nodeName() const override { return IDOMString("#text"); }
    std::uint16_t nodeType() const override { return kDOMTextNode; }
};

class WDOMCDATASection_WepImp : public WDOMTextImp<WDOMCDATASection> {
  public:
    WDOMCDATASection_WepImp(DocTree* tree, DocElement* node, const IDOMString& data);

    IDOMString nodeName() const override { return IDOMString("#cdata-section"); }
    std::uint16_t nodeType() const override { return kDOMCDATASectionNode; }
};

class WDOMComment_WepImp : public WDOMCharacterDataImp<WDOMComment> {
  public:
    WDOMComment_WepImp(DocTree* tree, DocElement* node, const IDOMString& data);

    IDOMString nodeName() const override { return IDOMString("#comment"); }
    std::uint16_t nodeType() const override { return kDOMCommentNode; }
};

extern template class WDOMCharacterDataImp<WDOMText>;
extern template class WDOMCharacterDataImp<WDOMCDATASection>;
extern template class WDOMCharacterDataImp<WDOMComment>;
extern template class WDOMTextImp<WDOMText>;
extern template class WDOMTextImp<WDOMCDATASection>;

}  // namespace markup
