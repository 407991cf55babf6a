// Character data: the editing operations on a facade's copy of its text,
// the run of text a parsed text node stands for, and splitText.
#include "markup/parser/dom/dom_character_data.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "dom_detail.h"
#include "markup/parser/dom/dom_builder.h"

namespace markup {

namespace {

// The texts of the node and of the text and entity-reference nodes that
// follow it, joined.
IDOMString JoinRun(const DocElement* first) {
    std::string joined;
    for (const Node* node = first; node; node = node->NextSibling()) {
        const auto* element = DocElement::Of(node);
        if (!element || (element->TypeId() != kKindText && element->TypeId() != kKindEntityReference)) break;
        joined.append(element->Text().Text(), element->Text().Length());
    }
    return IDOMString(std::string_view(joined));
}

// Positions past the end stop at the end.
std::uint32_t Clamp(std::uint32_t value, std::uint32_t limit) {
    return std::min(value, limit);
}

// The data with count characters from offset replaced by the text.
IDOMString Spliced(std::string_view data, std::uint32_t offset, std::uint32_t count, std::string_view text) {
    const std::uint32_t length = static_cast<std::uint32_t>(data.size());
    offset = Clamp(offset, length);
    count = Clamp(count, length - offset);
    std::string out;
    out.reserve(data.size() - count + text.size());
    out.append(data.substr(0, offset)).append(text).append(data.substr(offset + count));
    return IDOMString(std::string_view(out));
}

}  // namespace

template <class Interface>
WDOMCharacterDataImp<Interface>::WDOMCharacterDataImp(DocTree* tree, DocElement* node, const IDOMString& data)
    : WDOMNodeImp<Interface>(tree, node), data_(data) {}

template <class Interface>
WDOMCharacterDataImp<Interface>::WDOMCharacterDataImp(DocTree* tree, DocElement* node, WDOMJoinedRun)
    : WDOMNodeImp<Interface>(tree, node), runPending_(true) {}

template <class Interface>
const IDOMString& WDOMCharacterDataImp<Interface>::Data() const {
    if (runPending_) {
        data_ = JoinRun(this->GetNode());
        runPending_ = false;
    }
    return data_;
}

template <class Interface>
IDOMString WDOMCharacterDataImp<Interface>::substringData(std::uint32_t offset, std::uint32_t count) const {
    const std::string_view data = Data().View();
    const std::uint32_t length = static_cast<std::uint32_t>(data.size());
    offset = Clamp(offset, length);
    return IDOMString(data.substr(offset, Clamp(count, length - offset)));
}

template <class Interface>
void WDOMCharacterDataImp<Interface>::appendData(const IDOMString& text) {
    data_ = Spliced(Data().View(), Data().Length(), 0, text.View());
}

template <class Interface>
void WDOMCharacterDataImp<Interface>::insertData(std::uint32_t offset, const IDOMString& text) {
    data_ = Spliced(Data().View(), offset, 0, text.View());
}

template <class Interface>
void WDOMCharacterDataImp<Interface>::deleteData(std::uint32_t offset, std::uint32_t count) {
    data_ = Spliced(Data().View(), offset, count, {});
}

template <class Interface>
void WDOMCharacterDataImp<Interface>::replaceData(std::uint32_t offset, std::uint32_t count,
                                                  const IDOMString& text) {
    data_ = Spliced(Data().View(), offset, count, text.View());
}

template <class Interface>
void WDOMCharacterDataImp<Interface>::setData(const IDOMString& text) {
    data_ = text;
    runPending_ = false;
}

template <class Interface>
WDOMText* WDOMTextImp<Interface>::splitText(std::uint32_t offset) {
    DocTree* tree = this->GetTree();
    DocElement* node = this->GetNode();
    if (!tree || !node) return nullptr;
    const std::string_view data = this->Data().View();
    offset = Clamp(offset, static_cast<std::uint32_t>(data.size()));
    DocElement* rest = detail::NewTreeNode(*tree, kKindText, IDOMString("#text"));
    if (!rest) return nullptr;
    rest->SetText(tree->Dictionary(), detail::ToMarkup(IDOMString(data.substr(offset))));
    node->InsertAfter(rest);
    this->setData(IDOMString(data.substr(0, offset)));
    return dynamic_cast<WDOMText*>(WDOMBuilder::CreateNode(tree, rest));
}

WDOMText_WepImp::WDOMText_WepImp(DocTree* tree, DocElement* node, const IDOMString& data)
    : WDOMTextImp<WDOMText>(tree, node, data) {}

WDOMText_WepImp::WDOMText_WepImp(DocTree* tree, DocElement* node, WDOMJoinedRun run)
    : WDOMTextImp<WDOMText>(tree, node, run) {}

WDOMCDATASection_WepImp::WDOMCDATASection_WepImp(DocTree* tree, DocElement* node, const IDOMString& data)
    : WDOMTextImp<WDOMCDATASection>(tree, node, data) {}

WDOMComment_WepImp::WDOMComment_WepImp(DocTree* tree, DocElement* node, const IDOMString& data)
    : WDOMCharacterDataImp<WDOMComment>(tree, node, data) {}

template class WDOMCharacterDataImp<WDOMText>;
template class WDOMCharacterDataImp<WDOMCDATASection>;
template class WDOMCharacterDataImp<WDOMComment>;
template class WDOMTextImp<WDOMText>;
template class WDOMTextImp<WDOMCDATASection>;

}  // namespace markup
