// The small node kinds; the document type's map of the dictionary's
// entities.
#include "markup/parser/dom/dom_node_kinds.h"

#include "dom_detail.h"
#include "markup/parser/dom/dom_element.h"

namespace markup {

namespace {

constexpr std::uint32_t kKindEntity = 170;

}  // namespace

WDOMDocumentType_WepImp::WDOMDocumentType_WepImp(DocTree* tree, DocElement* node, const IDOMString& name)
    : WDOMNodeImp<WDOMDocumentType>(tree, node), name_(name) {}

WDOMNamedNodeMap* WDOMDocumentType_WepImp::entities() const {
    auto* map = detail::MakeFacade<WDOMNamedNodeMap_WepImp>();
    WDOMNamedNodeMapHandle hold(map);
    DocTree* tree = GetTree();
    const Dictionary* dictionary = detail::DictionaryOf(tree);
    if (!map || !dictionary) return hold.HandOut();
    const EntityTable& table = dictionary->Entities();
    for (std::uint32_t i = 0; i < table.Count(); ++i) {
        const StringEntry* entry = table.EntryAt(i);
        if (!entry) continue;
        const IDOMString name = detail::ToDOM(entry->name);
        DocElement* node = detail::NewTreeNode(*tree, kKindEntity, name);
        if (!node) continue;
        WDOMHandle entity(
            detail::MakeFacade<WDOMEntity_WepImp>(tree, node, name, detail::ToDOM(entry->text), "", ""));
        if (entity.IsNull()) throw MemoryAllocationFault();
        // A later entry of a name held already takes its place.
        WDOMHandle replaced(map->setNamedItem(entity.Get()));
    }
    return hold.HandOut();
}

WDOMNamedNodeMap* WDOMDocumentType_WepImp::notations() const {
    return detail::MakeFacade<WDOMNamedNodeMap_WepImp>();
}

WDOMEntity_WepImp::WDOMEntity_WepImp(DocTree* tree, DocElement* node, const IDOMString& name,
                                     const IDOMString& publicId, const IDOMString& systemId,
                                     const IDOMString& notationName)
    : WDOMNodeImp<WDOMEntity>(tree, node),
      name_(name),
      publicId_(publicId),
      systemId_(systemId),
      notationName_(notationName) {}

WDOMEntityReference_WepImp::WDOMEntityReference_WepImp(DocTree* tree, DocElement* node, const IDOMString& name)
    : WDOMNodeImp<WDOMEntityReference>(tree, node), name_(name) {}

WDOMProcessingInstruction_WepImp::WDOMProcessingInstruction_WepImp(DocTree* tree, DocElement* node,
                                                                   const IDOMString& target,
                                                                   const IDOMString& data)
    : WDOMNodeImp<WDOMProcessingInstruction>(tree, node), target_(target), data_(data) {}

WDOMDocumentFragment_WepImp::WDOMDocumentFragment_WepImp(DocTree* tree, DocElement* node)
    : WDOMNodeImp<WDOMDocumentFragment>(tree, node) {}

}  // namespace markup
