// Tokenizer: binding a document, reading characters, the token loop and the
// switches of the tree's dictionary.
#include "markup/parser/tokenizer.h"

#include <algorithm>
#include <filesystem>
#include <new>

#include "markup/attr_element.h"
#include "markup/faults.h"
#include "markup/parser/attribute_values.h"
#include "markup/parser/dictionary_registry.h"
#include "markup/url_mapper.h"

namespace markup {

XmlModeListener::~XmlModeListener() = default;

Tokenizer::Tokenizer() : buffer_(new unsigned char[kBufferSize]) {}

Tokenizer::~Tokenizer() {
    DropToken();
}

void Tokenizer::Begin(InStream* stream, XmlModeListener* builder, DocTree* tree, const String& name,
                      std::uint32_t xmlMode) {
    if (stream_) throw InvalidArgumentFault();
    DropToken();
    stream_ = stream;
    treeBuilder_ = builder;
    tree_ = tree;
    // A dictionary of an earlier document may have left its address to
    // one of another kind.
    dictionaryCast_ = DictionaryCast();
    documentName_ = name;
    xmlMode_ = xmlMode;
    documentKind_ = kDocumentHtml;
    state_ = kStateInitial;
    tokenReady_ = false;
    selfClosing_ = 0;
    pushback_ = 0;
    line_ = 0;
    readPos_ = 0;
    available_ = 0;
    inputEnded_ = false;
    decoder_.Reset();
    inInstruction_ = false;
    ownsDictionaryUse_ = false;
    entities_.Clear();
    entityLimitReported_ = false;
    dictionaryFullReported_ = false;
    elementSeen_ = false;
    text_.clear();
    attributeName_.clear();
    ForgetFoundIds();
    editor_.reset();
    if (Dictionary* dictionary = GetDictionary()) editor_ = std::make_unique<DictionaryEditor>(*dictionary);
}

void Tokenizer::Reset() {
    stream_ = nullptr;
    Begin(nullptr, nullptr, nullptr, String(), 0);
}

unsigned char Tokenizer::ReadCharSlowly() {
    if (pushback_) {
        const unsigned char c = pushback_;
        pushback_ = 0;
        return c;
    }
    if (inputEnded_) {
        EndInput();
        return 0;
    }
    if (readPos_ >= available_) {
        readPos_ = 0;
        available_ = 0;
        if (!stream_) {
            EndInput();
            return 0;
        }
        std::uint32_t count = bufferSize_;
        const ReturnCodeEnum status = decoder_.Read(*stream_, buffer_.get(), count);
        if (status != kErr_None && status != kErr_StreamRead) ReportCode(kDiag_ReadFailed);
        // A stream that gives nothing more has ended, whatever its end test
        // says: waiting for more would never end.
        if (count == 0 || count > bufferSize_) {
            EndInput();
            return 0;
        }
        available_ = count;
    }
    const unsigned char c = buffer_[readPos_++];
    if (c == 0) {
        // One diagnostic per token: when this token has one already, the
        // cut still shows, as an entry of its own.
        if (token_ && !token_->reported) {
            Diagnose(kDiag_NulByte);
        } else {
            ReportCode(kDiag_NulByte);
        }
        EndInput();
        return 0;
    }
    if (c == '\n' || c == '\r') ++line_;
    return c;
}

void Tokenizer::EndInput() {
    NoteUnterminatedState();
    inputEnded_ = true;
    tokenReady_ = true;
    if (token_) token_->SetEndLine(line_);
    state_ = kStateInputEnded;
}

Token* Tokenizer::NextToken() {
    if (state_ == kStateFinished) throw InvalidArgumentFault();
    tokenReady_ = false;
    DropToken();
    if (state_ == kStateInitial) return MakeInitialToken();
    if (state_ == kStateInputEnded) {
        state_ = kStateFinished;
        return nullptr;
    }
    token_ = FreshToken();
    token_->Begin(line_);
    text_.clear();
    inInstruction_ = false;
    unterminated_ = nullptr;
    while (!tokenReady_) {
        const unsigned char c = ReadChar();
        if (c == 0) {
            // The input ended between two steps of a token. What it holds so
            // far is the last token; a start without a node holds nothing.
            if (token_->isStartTag && !token_->node) {
                DropToken();
                state_ = kStateInputEnded;
                return nullptr;
            }
            break;
        }
        Dispatch(c);
    }
    if (Ended()) {
        // A tag whose name was the input's last word ends in its list.
        NoteUnterminatedState();
        if (unterminated_) DiagnoseUnterminated();
        state_ = kStateInputEnded;
    }
    CommitText();
    AttrElement* element = AsAttrElement(token_->node);
    if (element) element->Attributes().Fit();
    if (element && !keepTagTexts_ && token_->isStartTag && NamedByDictionary(*element)) {
        String& text = nameScratch_;
        text.Empty();
        text.Append(text_.data(), std::min(nameEnd_, static_cast<std::uint32_t>(text_.size())));
        element->SetText(GetDictionary(), text);
    } else {
        token_->Finish(GetDictionary());
    }
    token_->SetEndLine(line_);
    return token_;
}

bool Tokenizer::NamedByDictionary(const DocElement& element) {
    const Dictionary* dictionary = GetDictionary();
    return dictionary && element.TypeId() != 0 && dictionary->FindElement(element.TypeId()) != nullptr;
}

Token* Tokenizer::FreshToken() {
    Token& token = plainToken_;
    token.text.Empty();
    token.name.Empty();
    token.node = nullptr;
    token.isStartTag = 1;
    token.typeId = 0;
    return &token;
}

Token* Tokenizer::MakeInitialToken() {
    auto* initial = new InitialToken(stream_);
    token_ = initial;
    initial->Begin(line_);
    text_.clear();
    initial->node = MakeNode(kKindDocument, String());
    initial->typeId = kKindDocument;
    String address;
    const String& fileName = stream_ ? stream_->NameRef() : documentName_;
    if (!fileName.IsEmpty()) {
        try {
            String path = fileName;
            // A name relative to the working directory maps only once it is
            // a whole path; the address is the base of the document's links.
            if (!IsLocalPath(path)) {
                std::error_code error;
                const std::filesystem::path whole = std::filesystem::absolute(fileName.Text(), error);
                if (!error) path = whole.string().c_str();
            }
            bool isHttp = false;
            URLMapper::Instance().LocalPathToURL(address, path, String(), false, isHttp);
        } catch (const Fault&) {
            address.Empty();
            Diagnose(kDiag_NoAddress);
        }
    }
    if (AttrElement* document = AsAttrElement(initial->node)) {
        auto attribute = std::make_unique<Attribute>(kAddressAttributeId);
        SetAttributeValue(*attribute, GetDictionary(), address);
        document->AddAttribute(std::move(attribute));
    }
    state_ = kStateTokenStart;
    initial->Finish(GetDictionary());
    return initial;
}

void Tokenizer::DropToken() {
    if (!token_) return;
    // A node nobody took goes with its token; one in the tree stays.
    if (DocElement* node = token_->TakeNode()) {
        if (node->IsFree() && !(tree_ && tree_->Root() == node)) node->DeleteSubtree();
    }
    if (token_ != &plainToken_) delete token_;
    token_ = nullptr;
}

void Tokenizer::CommitText() {
    if (!token_) return;
    token_->text.Empty();
    token_->text.Append(text_.data(), static_cast<std::uint32_t>(text_.size()));
}

void Tokenizer::NoteUnterminatedState() {
    // The state the input ended in tells which construct it cut.
    switch (state_) {
        case kStateAttributeValue:
            NoteUnterminated(inInstruction_ ? "a processing instruction" : "an attribute value");
            break;
        case kStateAttributeList:
        case kStateAttributeName:
        case kStateAfterAttributeName:
            NoteUnterminated(inInstruction_ ? "a processing instruction" : "a tag");
            break;
        case kStateEndTag:
            NoteUnterminated("an end tag");
            break;
        default:
            break;
    }
}

void Tokenizer::DiagnoseUnterminated() {
    String why;
    why.Format("the input ends inside %s opened on line %u", unterminated_, token_->line + 1);
    unterminated_ = nullptr;
    CommitText();
    // Told even when the token was told of before: nothing else says that
    // the rest of the document went into it.
    token_->reported = 0;
    ReportText(kDiag_InputEndsInside, token_, why);
}

void Tokenizer::Diagnose(std::uint32_t code, const Attribute* attribute) {
    // The token's text is copied for the entry only when one is recorded:
    // a tag of many unknown attributes must not copy its growing text for
    // each of them.
    CheckFatal(code);
    const ErrorList* errors = Errors();
    if (!errors || errors->Count() >= kMaxErrors || (token_ && token_->reported)) return;
    CommitText();
    if (attribute) {
        ReportOnAttribute(GetDictionary(), code, token_, attribute);
    } else {
        Report(code, token_);
    }
}

DocElement* Tokenizer::MakeNode(std::uint32_t typeId, const String& name) {
    if (!tree_ || !tree_->NodeFactory()) return nullptr;
    DocElement* node = tree_->CreateNode(typeId, name, 1);
    if (!node) throw MemoryAllocationFault();
    return node;
}

void Tokenizer::SetTokenNode(std::uint32_t typeId, const String& name, bool declaredEmpty) {
    if (DocElement* old = token_->TakeNode()) old->DeleteSubtree();
    token_->typeId = typeId;
    token_->node = MakeNode(typeId, name);
    if (token_->node && declaredEmpty) token_->SetNodeEmpty(true);
}

void Tokenizer::Dispatch(unsigned char c) {
    switch (state_) {
        case kStateWhitespace:
            return ScanWhitespace(c);
        case kStateText:
            return ScanText(c);
        case kStateEntity:
            return ScanEntity(c);
        case kStateTokenStart:
            return ScanTokenStart(c);
        case kStateAttributeValue:
            return ScanAttributeValue(c);
        case kStateAttributeList:
            return ScanAttributeList(c);
        case kStateAttributeName:
            return ScanAttributeName(c);
        case kStateEndTag:
            return ScanEndTag(c);
        case kStateServerBlock:
            return ScanServerBlock(c);
        case kStateAfterAttributeName:
            return ScanAfterAttributeName(c);
        case kStateInstruction:
            return ScanInstruction(c);
        case kStateDeclaration:
            return ScanDeclaration(c);
        default:
            Diagnose(kDiag_UndefinedState);
    }
}

// Dictionary switches.

void Tokenizer::InstallDictionary(Dictionary* dictionary) {
    if (!tree_ || !dictionary) return;
    Dictionary* previous = GetDictionary();
    editor_ = std::make_unique<DictionaryEditor>(*dictionary);
    tree_->SetDictionary(dictionary);
    // What the old dictionary found says nothing of the new one (which may
    // even take the old one's place in memory).
    ForgetFoundIds();
    // Only a use this tokenizer took is given back: the dictionary the
    // caller started the tree with may still be the caller's.
    if (ownsDictionaryUse_ && previous) DictionaryRegistry::Instance().Release(previous);
    ownsDictionaryUse_ = true;
}

void Tokenizer::SwitchToXml() {
    documentKind_ = kDocumentXml;
    xmlMode_ = 1;
    if (treeBuilder_) treeBuilder_->EnterXmlMode();
    if (!tree_) return;
    Dictionary* dictionary = DictionaryRegistry::Instance().CreateDictionary(documentName_);
    dictionary->SetOpen(true);
    InstallDictionary(dictionary);
}

void Tokenizer::LoadDoctype() {
    if (!tree_) return;
    CommitText();
    // A document type comes before the first element. One after it would
    // give the elements read so far the ids of another dictionary (and
    // elements of ids the new one does not name); it stays a node.
    if (elementSeen_) {
        ReportText(kDiag_DoctypeAfterElement, token_,
                   String("a DOCTYPE declaration after the first element is not applied"));
        return;
    }
    // The subset's general entities serve this document whatever dictionary
    // it gets; they are never written into a shared dictionary.
    if (xmlMode_) {
        const String subset = DictionaryRegistry::InternalSubset(token_->text);
        entities_.Declare(std::string_view(subset.Text(), subset.Length()));
    }
    Dictionary* dictionary =
        DictionaryRegistry::Instance().LoadForDoctype(token_->text, documentName_, documentKind_);
    String refused;
    if (const LinkedFileCheck check = DictionaryRegistry::Instance().TakeRefusal(&refused);
        check != LinkedFileCheck::kReadable) {
        refused += " was not read: ";
        refused += DescribeLinkedFileCheck(check);
        ReportText(kDiag_LinkedFileRefused, token_, refused);
    }
    if (!dictionary) return;
    dictionary->SetCaseSensitive(xmlMode_ != 0);
    InstallDictionary(dictionary);
}

}  // namespace markup
