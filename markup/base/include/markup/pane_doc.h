// BasePaneDoc: the document behind one view pane.
//
// It points to a document tree (not owned), holds the document's URL, and
// maps the URLs the document links to onto local files through the URL
// mapper, remembering each answer. Panes are nodes so that frames can form
// a tree of panes.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "markup/doc_tree.h"
#include "markup/node.h"
#include "markup/string.h"
#include "markup/url.h"

namespace markup {

class BasePaneDoc : public Node {
  public:
    BasePaneDoc() = default;
    // Destroys the URL and the cache, never the tree.
    ~BasePaneDoc() override;

    // A pane on the same tree (and in its pane list) with a copy of the URL
    // and the same frame nodes; the cache starts empty.
    BasePaneDoc* Clone() const override;
    // Stores the tree and, when a URL is set, takes the local file's
    // last-write time into the tree.
    virtual void SetTree(DocTree* tree);
    // Keeps a copy of the URL (null clears), then the same time-stamp update.
    void SetURL(const URLSpec* url);

    DocTree* Tree() const { return tree_; }
    const URLSpec* URL() const { return url_.get(); }

    // Kept only when null or of the frame type (58), resp. frameset type (57).
    void SetFrameNode(Node* node);
    void SetFramesetNode(Node* node);
    Node* FrameNode() const { return frameNode_; }
    Node* FramesetNode() const { return framesetNode_; }

    // The local file of the document's URL; false without a URL or when the
    // URL maps to none.
    bool LocalPath(String& out) const;
    // The target of the document's first base element (type 16, attribute
    // 80 with a value); false when there is none or it is empty.
    bool FindBaseHref(String& out) const;
    // The folder URL links resolve against: the document's own, or that of
    // its base element's target.
    URLSpec GetBaseURL() const;
    // The local folder of the base URL, ending in its separator.
    bool GetLocalFolder(String& out) const;
    // The local file for a URL met in the document, resolved against the
    // local folder; each URL text is mapped once and remembered.
    bool MapURLToLocalFile(const String& url, String& out);

    // Documents that the document's style loads by URL (paint servers,
    // clip paths in other files), kept by absolute URL and destroyed with
    // the pane. Null when that URL has not been loaded.
    DocTree* LoadedDocument(const String& url) const;
    DocTree* KeepLoadedDocument(const String& url, std::shared_ptr<DocTree> tree);

  private:
    void UpdateFileTime();

    DocTree* tree_ = nullptr;
    std::unique_ptr<URLSpec> url_;
    Node* frameNode_ = nullptr;
    Node* framesetNode_ = nullptr;
    std::map<std::string, std::string> localFiles_;
    std::map<std::string, std::shared_ptr<DocTree>> loadedDocuments_;
};

}  // namespace markup
