// The document facade: the parsed document's hand-off, the factories, the
// search by tag name, the document type and element; the node list and the
// implementation object.
#include "markup/parser/dom/dom_document.h"

#include <vector>

#include "dom_detail.h"
#include "markup/parser/dom/dom_builder.h"
#include "markup/parser/dom/dom_character_data.h"
#include "markup/parser/dom/dom_element.h"
#include "markup/parser/dom/dom_node_kinds.h"

namespace markup {

namespace detail {

void CollectByTagName(const WDOMNode& start, const IDOMString& name, WDOMNodeList_WepImp& list) {
    auto visit = [&](const WDOMNode& node) {
        if (node.nodeType() == kDOMElementNode && node.nodeName() == name.View()) list.Add(node.cloneNode(false));
    };
    visit(start);
    // The nodes whose subtrees the walk is in, outermost first; iterative,
    // so that a deep document cannot exhaust the stack.
    std::vector<WDOMHandle> path;
    WDOMHandle next(start.firstChild());
    for (;;) {
        if (next.IsNull()) {
            if (path.empty()) break;
            next = WDOMHandle(path.back()->nextSibling());
            path.pop_back();
            continue;
        }
        visit(*next.Get());
        WDOMHandle child(next->firstChild());
        path.push_back(std::move(next));
        next = std::move(child);
    }
}

}  // namespace detail

namespace {

constexpr std::uint32_t kKindCreated = 170;

// The tree and the factory its nodes come from, destroyed in that order.
struct TreeDeleter {
    WebElementFactory* factory;
    void operator()(DocTree* tree) const {
        delete tree;
        delete factory;
    }
};

// A new free node of the tree and a facade over it, made from the node
// and the arguments. A node for character data keeps no text: the data
// lives in the facade.
template <class Facade, class... Args>
Facade* MakeOverNewNode(DocTree* tree, std::uint32_t typeId, const IDOMString& nodeName, bool emptyText,
                        Args&&... args) {
    DocElement* node = tree ? detail::NewTreeNode(*tree, typeId, nodeName) : nullptr;
    if (!node) return nullptr;
    if (emptyText) node->SetText(tree->Dictionary(), String());
    return detail::MakeFacade<Facade>(tree, node, std::forward<Args>(args)...);
}

}  // namespace

WDOMDocument_WepImp::WDOMDocument_WepImp(DocTree* tree, DocElement* root) : WDOMNodeImp<WDOMDocument>(tree, root) {}

WDOMHandle WDOMDocument_WepImp::Adopt(std::unique_ptr<DocTree> tree, std::unique_ptr<WebElementFactory> factory) {
    if (!tree) return WDOMHandle();
    // Released first: should the shared pointer fail to be made, it frees
    // both through the deleter.
    DocTree* adopted = tree.release();
    std::shared_ptr<DocTree> shared(adopted, TreeDeleter{factory.release()});
    auto* root = DocElement::Of(shared->GoRoot());
    return WDOMHandle(new WDOMDocument_WepImp(adopted, root));
}

WDOMElement* WDOMDocument_WepImp::createElement(const IDOMString& tagName) {
    return MakeOverNewNode<WDOMElement_WepImp>(GetTree(), kKindCreated, tagName, false, tagName);
}

WDOMDocumentFragment* WDOMDocument_WepImp::createDocumentFragment() {
    return MakeOverNewNode<WDOMDocumentFragment_WepImp>(GetTree(), kKindCreated, "#document-fragment", false);
}

WDOMText* WDOMDocument_WepImp::createTextNode(const IDOMString& data) {
    return MakeOverNewNode<WDOMText_WepImp>(GetTree(), kKindText, "#text", true, data);
}

WDOMComment* WDOMDocument_WepImp::createComment(const IDOMString& data) {
    return MakeOverNewNode<WDOMComment_WepImp>(GetTree(), kKindText, "#comment", true, data);
}

WDOMCDATASection* WDOMDocument_WepImp::createCDATASection(const IDOMString& data) {
    return MakeOverNewNode<WDOMCDATASection_WepImp>(GetTree(), kKindCData, "#cdata-section", true, data);
}

WDOMProcessingInstruction* WDOMDocument_WepImp::createProcessingInstruction(const IDOMString& target,
                                                                            const IDOMString& data) {
    DocTree* tree = GetTree();
    DocElement* node = tree ? detail::NewTreeNode(*tree, kKindCreated, target) : nullptr;
    if (!node) return nullptr;
    node->SetText(tree->Dictionary(), detail::ToMarkup(data));
    return detail::MakeFacade<WDOMProcessingInstruction_WepImp>(tree, node, target, data);
}

WDOMAttr* WDOMDocument_WepImp::createAttribute(const IDOMString& name) {
    return MakeOverNewNode<WDOMAttr_WepImp>(GetTree(), kKindCreated, name, false, name, IDOMString(""), true,
                                            true);
}

WDOMEntityReference* WDOMDocument_WepImp::createEntityReference(const IDOMString& name) {
    return MakeOverNewNode<WDOMEntityReference_WepImp>(GetTree(), kKindCreated, name, false, name);
}

WDOMNodeList* WDOMDocument_WepImp::getElementsByTagName(const IDOMString& name) const {
    auto* list = detail::MakeFacade<WDOMNodeList_WepImp>();
    WDOMNodeListHandle hold(list);
    if (list) detail::CollectByTagName(*this, name, *list);
    return hold.HandOut();
}

WDOMDocumentType* WDOMDocument_WepImp::doctype() {
    const IDOMString name = detail::ToDOM(WDOMBuilder::NameOf(detail::DictionaryOf(GetTree())));
    return MakeOverNewNode<WDOMDocumentType_WepImp>(GetTree(), kKindCreated, name, false, name);
}

WDOMElement* WDOMDocument_WepImp::documentElement() {
    DocTree* tree = GetTree();
    Node* root = tree ? tree->GoRoot() : nullptr;
    if (!root) return nullptr;
    for (Node* child = root->FirstChild(); child; child = child->NextSibling()) {
        WDOMHandle facade(WDOMBuilder::CreateNode(tree, DocElement::Of(child)));
        if (facade.GetNodeType() == kDOMElementNode) return dynamic_cast<WDOMElement*>(facade.HandOut());
    }
    return nullptr;
}

std::unique_ptr<WDOMImplementation> WDOMDocument_WepImp::implementation() const {
    return std::make_unique<WDOMImplementation_WepImp>();
}

void WDOMNodeList_WepImp::Add(WDOMNode* node) {
    WDOMHandle held(node);  // frees a fresh node should the list fail to grow
    if (!held.IsNull()) nodes_.push_back(std::move(held));
}

bool WDOMImplementation_WepImp::hasFeature(const IDOMString& feature, const IDOMString& version) const {
    return feature == "XML" && version == "1.0";
}

}  // namespace markup
