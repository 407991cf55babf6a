// DocTree: the root object of one parsed document.
//
// A NodeTree that also knows the factory that makes its nodes, the
// dictionary it was parsed with, the style-sheet manager attached to it, the
// panes that show it and the time stamp of its local file. It belongs to
// whoever holds the parsed document (the DOM document) and is a member of a
// memory container under key 1. The DOM shares a tree through a
// std::shared_ptr when it owns it, so that every facade over the tree keeps
// it alive; a tree owned otherwise is never deleted by its facades.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_set>

#include "markup/containable.h"
#include "markup/containers.h"
#include "markup/css_base_manager.h"
#include "markup/dictionary_base.h"
#include "markup/doc_element.h"
#include "markup/extra_object.h"
#include "markup/node_tree.h"
#include "markup/string.h"

namespace markup {

class BasePaneDoc;

// Makes the node object for a type id. The parser's and the style engine's
// factories choose the node class; `name` is given to the node through its
// SetText with the dictionary; keepFlags 0 lets the factory mark the node
// as the tree builder's.
class WebElementFactory {
  public:
    virtual ~WebElementFactory();
    // A new free node the caller owns; null when none could be made.
    virtual DocElement* Create(DictionaryBase* dictionary, std::uint32_t typeId, const String* name,
                               int keepFlags) = 0;
};

// Kept for script elements; holds nothing yet.
class ScriptManager {
  public:
    virtual ~ScriptManager();
};

// A last-write time as the two halves of a count of 100-ns intervals since
// 1601-01-01.
struct FileTime {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
};

class DocTree : public NodeTree, public Containable, public std::enable_shared_from_this<DocTree> {
  public:
    static constexpr std::uint32_t kContainableKey = 1;

    // An empty tree. A non-null manager is attached (SetDocument) and kept,
    // not owned: it must outlive the parse and the cascades that use it.
    DocTree(WebElementFactory* nodeFactory, CSSBaseManager* cssManager);
    // Destroys the option object, an owned manager and the script manager,
    // forgets the panes (they stay), leaves its container, then deletes
    // every node, those kept outside the tree included.
    ~DocTree() override;

    // A new free node from the factory, with the tree's dictionary;
    // IllegalUsageFault for a tree without a factory.
    DocElement* CreateNode(std::uint32_t typeId, const String& name, int keepFlags);

    // A node of the tree that stands outside it: made for the tree but not
    // linked (the DOM's new nodes and copies), or taken out of it. When the
    // tree dies it frees, exactly once, every such node that is then still
    // outside it, with the nodes linked below and beside it; a node that
    // went back into the tree goes with the tree. Keeping a node twice, or
    // a node of the tree, is harmless. A kept node must not be deleted in
    // any other way while the tree lives.
    void KeepOutside(Node* node);

    // The parser's diagnostics list, or another engine's object; owned.
    void SetOption(std::unique_ptr<ExtraObject> object) { extraObject_ = std::move(object); }
    ExtraObject* Option() const { return extraObject_.get(); }

    // A pane that shows the tree, once; the list does not own its panes.
    void AddPane(BasePaneDoc* pane);
    const List<Node>& Panes() const { return panes_; }

    // The end-of-parse fix-up of the body's trailing placeholder: with
    // restore false an empty placeholder (nothing, or a lone no-break space)
    // that ends the first element of type 25 is detached and kept; with
    // restore true the kept one goes back to its place (where a new one
    // would go, when that place is gone), or a new placeholder is added.
    // Nested calls do nothing. The cursor stays where it was unless its node
    // was taken out.
    void Evaluate(bool restore);
    // The placeholder Evaluate took out, still owned by the tree; null when
    // none is kept.
    const Node* HeldPlaceholder() const { return heldPlaceholder_; }

    WebElementFactory* NodeFactory() const { return nodeFactory_; }
    CSSBaseManager* StyleManager() const { return styleManager_; }
    // Attaches a manager that has no other owner; the tree destroys it.
    void AdoptStyleManager(std::unique_ptr<CSSBaseManager> manager);
    ScriptManager* Scripts() const { return scriptManager_.get(); }

    // The dictionary of the parse; not owned; null until the parser sets it.
    DictionaryBase* Dictionary() const { return dictionary_; }
    void SetDictionary(DictionaryBase* dictionary) { dictionary_ = dictionary; }

    // Zero until a pane finds the document's local file.
    FileTime GetFileTime() const { return fileTime_; }
    void SetFileTime(FileTime time) { fileTime_ = time; }

  private:
    // Puts the kept placeholder back, or makes a new one, as the last child
    // of the body or after `last`.
    void AddPlaceholder(Node* body, Node* last);
    void HoldPlaceholder(Node* placeholder);
    // Frees the kept nodes that stand outside the tree and the held
    // placeholder.
    void FreeOutsideNodes();

    CSSBaseManager* styleManager_;
    std::unique_ptr<CSSBaseManager> ownedStyleManager_;
    std::unique_ptr<ScriptManager> scriptManager_;
    List<Node> panes_;
    FileTime fileTime_;
    std::unique_ptr<ExtraObject> extraObject_;
    WebElementFactory* nodeFactory_;
    DictionaryBase* dictionary_ = nullptr;
    // What Evaluate took out and where it stood.
    Node* heldPlaceholder_ = nullptr;
    Vector<std::uint32_t> heldPath_;
    std::unordered_set<Node*> outside_;
};

}  // namespace markup
