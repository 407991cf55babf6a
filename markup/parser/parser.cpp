// Parser: opening the document, the token loop, and failure handling.
#include "markup/parser/parser.h"

#include <new>

#include "markup/faults.h"
#include "markup/indicator.h"
#include "markup/parser/dictionary_registry.h"
#include "markup/parser/stream_manager.h"
#include "platform/messages.h"

namespace markup {

namespace {

constexpr std::int32_t kDocumentBuffer = 4096;

// The progress indicator for one parse: shown for a long document, or
// borrowed from an outer parse and given back as it was.
class ProgressScope {
  public:
    ProgressScope(bool enabled, std::int32_t length, const String& name) : enabled_(enabled) {
        if (!enabled_) return;
        Indicator& indicator = Indicator::Instance();
        if (indicator.IsShown()) {
            wasShown_ = true;
            savedRange_ = indicator.GetRange();
            savedPosition_ = indicator.GetPosition();
            savedText_ = indicator.GetTextBuffer();
        } else if (length >= Parser::kProgressThreshold) {
            indicator.Show();
        }
        if (!wasShown_ && !indicator.IsShown()) return;
        String caption;
        caption.LoadString(kStr_ParsingCaption);
        const std::int32_t slash = name.ReverseFind('/');
        const std::int32_t backslash = name.ReverseFind('\\');
        const std::int32_t cut = slash > backslash ? slash : backslash;
        caption += cut >= 0 ? name.Mid(static_cast<std::uint32_t>(cut + 1)) : name;
        indicator.SetText(caption);
        indicator.SetRange(length);
    }
    ~ProgressScope() {
        if (!enabled_) return;
        Indicator& indicator = Indicator::Instance();
        if (wasShown_) {
            indicator.SetText(savedText_);
            indicator.SetRange(savedRange_);
            indicator.SetPosition(savedPosition_);
        } else if (indicator.IsShown()) {
            indicator.Close();
        }
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    void Follow(const Stream& stream) {
        if (enabled_ && Indicator::Instance().IsShown()) {
            Indicator::Instance().SetPosition(static_cast<std::int32_t>(stream.CurrentPosition()));
        }
    }

  private:
    bool enabled_;
    bool wasShown_ = false;
    std::int32_t savedRange_ = 0;
    std::int32_t savedPosition_ = 0;
    String savedText_;
};

std::string CauseOfCurrentException() {
    try {
        throw;
    } catch (const ReadFault&) {
        return "the file could not be read";
    } catch (const BadAllocationFault&) {
        return "there was not enough memory";
    } catch (const std::bad_alloc&) {
        return "there was not enough memory";
    } catch (const InvalidArgumentFault&) {
        return "its tree could not be built";
    } catch (const LogicFault&) {
        return "the parser met an internal error";
    } catch (...) {
        return "an unexpected error stopped the parse";
    }
}

}  // namespace

Parser::Parser() = default;

Parser::~Parser() {
    InstallErrors(nullptr);
}

void Parser::InstallErrors(ErrorList* errors) {
    SetErrors(errors);
    tokenizer_.SetErrors(errors);
    treeBuilder_.SetErrors(errors);
}

std::unique_ptr<DocTree> Parser::LoadDocument(const String& name, WebElementFactory* factory, Dictionary* dict,
                                              CSSBaseManager* cssManager, int showProgress) {
    failureCause_.clear();
    StreamManager& manager = StreamManager::Instance();
    ReturnCodeEnum status = kErr_None;
    ManagedStream stream(manager, manager.OpenStream(name, status));
    if (status != kErr_None || !stream.Get() || stream.Get()->Open(kDocumentBuffer, kStreamRead) != kErr_None) {
        failureCause_ = "the file could not be opened";
        return nullptr;
    }
    std::unique_ptr<DocTree> tree = Run(stream.Get(), factory, dict, cssManager, name, showProgress);
    stream.Get()->Close();
    return tree;
}

std::unique_ptr<DocTree> Parser::Run(InStream* stream, WebElementFactory* factory, Dictionary* dict,
                                     CSSBaseManager* cssManager, const String& name, int showProgress) {
    failureCause_.clear();
    tree_.reset();
    auto diagnostics = std::make_unique<ParseDiagnostics>();
    InstallErrors(&diagnostics->errors);
    try {
        Parse(stream, factory, dict, cssManager, name, showProgress);
    } catch (...) {
        failureCause_ = CauseOfCurrentException();
        tokenizer_.Reset();
        // The builder must not point into the tree that goes now.
        treeBuilder_.Begin(nullptr, xmlMode_);
        tree_.reset();
        String failed;
        failed.LoadString(kStr_ParseFailed);
        const std::string text = std::string(name.Text()) + ": " + failed.Text() + ": " + failureCause_;
        platform::ShowMessage(platform::MessageKind::Error, std::string(), text);
    }
    InstallErrors(nullptr);
    if (tree_) tree_->SetOption(std::move(diagnostics));
    return std::move(tree_);
}

void Parser::StartDocument(InStream* stream, WebElementFactory* factory, CSSBaseManager* cssManager,
                           Dictionary* dict, const String& name) {
    if (!dict) {
        dict = DictionaryRegistry::Instance().GetDefault();
        dict->SetCaseSensitive(xmlMode_ != 0);
    }
    tree_.reset();
    tree_ = std::make_unique<DocTree>(factory, cssManager);
    tree_->SetDictionary(dict);
    treeBuilder_.Begin(tree_.get(), xmlMode_);
    tokenizer_.Begin(stream, &treeBuilder_, tree_.get(), name, xmlMode_);
}

void Parser::Parse(InStream* stream, WebElementFactory* factory, Dictionary* dict, CSSBaseManager* cssManager,
                   const String& name, int showProgress) {
    const std::int32_t length = stream ? stream->UpdateLength() : 0;
    StartDocument(stream, factory, cssManager, dict, name);
    ProgressScope progress(showProgress != 0, length, stream ? stream->NameRef() : name);
    for (;;) {
        if (stream) progress.Follow(*stream);
        Token* token = tokenizer_.NextToken();
        if (!token) break;
        if (token->IsStartTag()) {
            // A start without a node (a tree without a factory) places nothing.
            if (token->node) treeBuilder_.InsertElement(token);
        } else {
            treeBuilder_.EndTag(token);
        }
    }
    treeBuilder_.CloseAll();
    // The evaluation tends the body (type 25) alone: a document the walk
    // found none in is not walked again for it.
    if (treeBuilder_.AttachRoot()) tree_->Evaluate(true);
    Finish();
}

bool Parser::Finish() {
    tokenizer_.Reset();
    return true;
}

}  // namespace markup
