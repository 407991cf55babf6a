// Parser: the road from a document's name to its document tree.
//
// It opens the document through the stream manager, binds its tokenizer and
// tree builder to a new tree, runs the token loop (with the progress
// indicator, when asked, following the stream position), closes the open
// elements, runs the post-processing walk and the tree's end-of-parse
// fix-up. The three share one diagnostics list, which the finished tree
// keeps as its option object. Any fault during the parse ends it: the
// partial tree is dropped, the user is told (host message 10031, through
// the platform's message sink) and no tree comes back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "markup/css_base_manager.h"
#include "markup/doc_tree.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/parse_diagnostics.h"
#include "markup/parser/tokenizer.h"
#include "markup/parser/tree_builder.h"
#include "markup/parser/xml_element_factory.h"
#include "markup/stream.h"
#include "markup/string.h"

namespace markup {

// Host texts the parser shows: the failure message (shown after the
// document's name, before the cause) and the progress caption's prefix.
constexpr unsigned kStr_ParseFailed = 10031;
constexpr unsigned kStr_ParsingCaption = 10032;

class Parser : public ParseErrorHandler {
  public:
    // Documents shorter than this show no progress indicator.
    static constexpr std::int32_t kProgressThreshold = 10000;

    Parser();
    ~Parser() override;

    // The parsed tree, which the caller owns, or null: for a stream that
    // does not open (nothing shown, nothing recorded) and for a parse that
    // failed. dict null takes the registry's default dictionary.
    std::unique_ptr<DocTree> LoadDocument(const String& name, WebElementFactory* factory, Dictionary* dict,
                                          CSSBaseManager* cssManager, int showProgress);
    // Parses an open stream; the same answers.
    std::unique_ptr<DocTree> Run(InStream* stream, WebElementFactory* factory, Dictionary* dict,
                                 CSSBaseManager* cssManager, const String& name, int showProgress);

    // 0 for HTML parsing, nonzero for XML.
    std::uint32_t XmlMode() const { return xmlMode_; }
    void SetXmlMode(std::uint32_t mode) { xmlMode_ = mode; }

    // Why the last parse failed ("could not be read", ...); empty after a
    // parse that succeeded or never ran. A stream that did not open gives
    // "could not be opened".
    const std::string& FailureCause() const { return failureCause_; }

    Tokenizer& GetTokenizer() { return tokenizer_; }
    TreeBuilder& GetTreeBuilder() { return treeBuilder_; }

  private:
    void StartDocument(InStream* stream, WebElementFactory* factory, CSSBaseManager* cssManager, Dictionary* dict,
                       const String& name);
    void Parse(InStream* stream, WebElementFactory* factory, Dictionary* dict, CSSBaseManager* cssManager,
               const String& name, int showProgress);
    bool Finish();
    void InstallErrors(ErrorList* errors);

    String unused_;
    Tokenizer tokenizer_;
    TreeBuilder treeBuilder_;
    std::unique_ptr<DocTree> tree_;
    std::uint32_t xmlMode_ = 0;
    std::string failureCause_;
};

}  // namespace markup
