// BasePaneDoc: the document URL, its base, its local folder and the cache
// of linked URLs mapped to local files.
#include "markup/pane_doc.h"

#include "markup/attr_element.h"
#include "markup/node_finder.h"
#include "markup/node_iterators.h"
#include "markup/url_mapper.h"

namespace markup {

namespace {

constexpr std::uint32_t kBaseElement = 16;
constexpr std::uint32_t kBaseTarget = PackAttributeId(kBaseElement, 80);
constexpr std::uint32_t kFrameset = 57;
constexpr std::uint32_t kFrame = 58;

bool HasStoredType(const Node* node, std::uint32_t type) {
    const auto* element = DocElement::Of(node);
    return element && element->TypeId() == type;
}

std::string Key(const String& text) {
    return std::string(text.Text(), text.Length());
}

// The text up to and including its last "/" (all of it without one).
String UpToLastSlash(const String& text) {
    const std::int32_t at = text.ReverseFind('/');
    return at < 0 ? text : text.Left(static_cast<std::uint32_t>(at) + 1);
}

}  // namespace

BasePaneDoc::~BasePaneDoc() = default;

BasePaneDoc* BasePaneDoc::Clone() const {
    auto clone = std::make_unique<BasePaneDoc>();
    clone->tree_ = tree_;
    if (url_) clone->url_ = std::make_unique<URLSpec>(*url_);
    clone->frameNode_ = frameNode_;
    clone->framesetNode_ = framesetNode_;
    if (tree_) tree_->AddPane(clone.get());
    return clone.release();
}

void BasePaneDoc::SetTree(DocTree* tree) {
    tree_ = tree;
    UpdateFileTime();
}

void BasePaneDoc::SetURL(const URLSpec* url) {
    url_.reset();
    if (url) url_ = std::make_unique<URLSpec>(*url);
    UpdateFileTime();
}

void BasePaneDoc::UpdateFileTime() {
    if (!tree_ || !url_) return;
    String local;
    FileTime time;
    if (LocalPath(local) && FindFileTimes(local, time.low, time.high)) tree_->SetFileTime(time);
}

void BasePaneDoc::SetFrameNode(Node* node) {
    if (!node || HasStoredType(node, kFrame)) frameNode_ = node;
}

void BasePaneDoc::SetFramesetNode(Node* node) {
    if (!node || HasStoredType(node, kFrameset)) framesetNode_ = node;
}

bool BasePaneDoc::LocalPath(String& out) const {
    out.Empty();
    if (!url_) return false;
    return URLMapper::Instance().Resolve(url_->FullText(), url_->HostRef(), String(), out, true) &&
           !out.IsEmpty();
}

bool BasePaneDoc::FindBaseHref(String& out) const {
    out.Empty();
    if (!tree_ || !tree_->Root()) return false;
    SubtreeIterator walk(tree_, tree_->Root());
    const AttrElementEvaluator isBase(kBaseElement, 0, String());
    NodeFinder finder(walk, isBase);
    const AttrElement* base = AsAttrElement(finder.First());
    if (!base) return false;
    if (const Attribute* target = base->FindAttribute(kBaseTarget, true)) out = target->value;
    return !out.IsEmpty();
}

URLSpec BasePaneDoc::GetBaseURL() const {
    URLSpec base;
    base.Parse(url_ ? UpToLastSlash(url_->FullText()) : String());
    String href;
    if (FindBaseHref(href) && MakeAbsolute(href, base)) {
        URLSpec target;
        target.Parse(UpToLastSlash(href));
        return target;
    }
    return base;
}

bool BasePaneDoc::GetLocalFolder(String& out) const {
    const URLSpec base = GetBaseURL();
    String local;
    URLMapper::Instance().Resolve(base.FullText(), base.HostRef(), String(), local, false);
    out = StripFileName(local);
    return !out.IsEmpty();
}

bool BasePaneDoc::MapURLToLocalFile(const String& url, String& out) {
    const std::string key = Key(url);
    if (auto hit = localFiles_.find(key); hit != localFiles_.end()) {
        out = hit->second.c_str();
        return true;
    }
    String folder;
    GetLocalFolder(folder);
    const URLSpec base = GetBaseURL();
    if (!URLMapper::Instance().Resolve(url, base.HostRef(), folder, out, true) || out.IsEmpty()) return false;
    localFiles_[key] = Key(out);
    return true;
}

DocTree* BasePaneDoc::LoadedDocument(const String& url) const {
    auto hit = loadedDocuments_.find(std::string(url.Text(), url.Length()));
    return hit == loadedDocuments_.end() ? nullptr : hit->second.get();
}

DocTree* BasePaneDoc::KeepLoadedDocument(const String& url, std::shared_ptr<DocTree> tree) {
    DocTree* kept = tree.get();
    loadedDocuments_[std::string(url.Text(), url.Length())] = std::move(tree);
    return kept;
}

}  // namespace markup
