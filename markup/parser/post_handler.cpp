// PostHandler: style elements and linked style sheets for the CSS manager.
#include "markup/parser/post_handler.h"

#include <memory>
#include <new>

#include "markup/attr_element.h"
#include "markup/doc_element.h"
#include "markup/faults.h"
#include "markup/linked_file.h"
#include "markup/parser/dictionary_registry.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/stream_manager.h"
#include "markup/parser/tokenizer.h"
#include "markup/url.h"
#include "markup/url_mapper.h"
#include "platform/latin1_text.h"

namespace markup {

namespace {

bool CaseSensitive(const DictionaryBase* dictionary) {
    const auto* full = dynamic_cast<const Dictionary*>(dictionary);
    return full && full->CaseSensitive();
}

bool SameName(const String& a, const char* b, bool caseSensitive) {
    return (caseSensitive ? platform::lstrcmpA(a.Text(), b) : platform::lstrcmpiA(a.Text(), b)) == 0;
}

}  // namespace

PostHandler::~PostHandler() = default;

std::uint32_t PostHandler::StyleId(const DocTree& tree) {
    const DictionaryBase* dictionary = tree.Dictionary();
    if (dictionary == styleDictionary_ && dictionary) return styleId_;
    styleDictionary_ = dictionary;
    styleId_ = 0;
    if (const auto* full = dynamic_cast<const Dictionary*>(dictionary)) {
        std::uint32_t id = 0;
        if (full->ElementIdByName("style", id) == kDict_Ok) styleId_ = id;
    }
    return styleId_;
}

void PostHandler::Enter(Node* node, DocTree* tree) {
    auto* element = DocElement::Of(node);
    if (!element || !tree) return;
    CSSBaseManager* manager = tree->StyleManager();
    if (!manager) return;
    const std::uint32_t style = StyleId(*tree);
    if (style != 0 && element->TypeId() == style) manager->SetContext(node, tree);
    if (element->TypeId() == kKindDeclaration) LoadLinkedStyleSheet(node, tree);
}

void PostHandler::Leave(Node* node, DocTree* tree) {
    auto* element = DocElement::Of(node);
    if (!element || !tree || !tree->StyleManager()) return;
    const std::uint32_t style = StyleId(*tree);
    if (style != 0 && element->TypeId() == style) tree->StyleManager()->CollectStyleElements();
}

String PostHandler::LinkedFile(const AttrElement& element, const DocTree& tree, String& documentFolder) const {
    const DictionaryBase* dictionary = tree.Dictionary();
    const bool caseSensitive = CaseSensitive(dictionary);
    const Attribute* href = nullptr;
    for (std::uint32_t i = 0; i < element.AttributeCount() && !href; ++i) {
        const Attribute* attribute = element.AttributeAt(i);
        if (attribute && SameName(attribute->GetName(dictionary), "href", caseSensitive)) href = attribute;
    }
    if (!href || href->value.IsEmpty()) return String();

    // The document's address is on the document node; its links resolve
    // against the folder of the file that address names.
    const AttrElement* document = AsAttrElement(tree.Root());
    const Attribute* address =
        document ? document->FindAttribute(Tokenizer::kAddressAttributeId, false) : nullptr;
    if (!address || address->value.IsEmpty()) return String();
    URLSpec base;
    if (!base.Parse(address->value)) return String();
    URLMapper& mapper = URLMapper::Instance();
    String documentFile;
    mapper.URLToLocalPath(base, documentFile, false);
    if (documentFile.IsEmpty()) return String();
    String local;
    documentFolder = StripFileName(documentFile);
    if (!mapper.Resolve(href->value, base.HostRef(), documentFolder, local, false)) return String();
    return local;
}

void PostHandler::LoadLinkedStyleSheet(Node* node, DocTree* tree) {
    const AttrElement* element = AsAttrElement(node);
    if (!element || !tree || !tree->StyleManager()) return;
    String file;
    String documentFolder;
    try {
        file = LinkedFile(*element, *tree, documentFolder);
    } catch (const InvalidArgumentFault&) {
        return;  // an address or link the URL rules refuse names no sheet
    }
    if (file.IsEmpty()) return;
    // Checked before opening: a FIFO would block the open, a device would be
    // read without end, and a path elsewhere on the disk is not the
    // document's to read.
    const LinkedFileCheck check = CheckLinkedFile(
        file, {documentFolder, DictionaryRegistry::Instance().Folder(), URLMapper::Instance().RootFolder()},
        kMaxLinkedSheetBytes);
    if (check == LinkedFileCheck::kMissing) return;
    if (check != LinkedFileCheck::kReadable) {
        if (reporter_) {
            String why = file;
            why += " was not read: ";
            why += DescribeLinkedFileCheck(check);
            reporter_->ReportText(check == LinkedFileCheck::kTooLarge ? kDiag_SheetTooLarge : kDiag_LinkedFileRefused,
                                  nullptr, why);
        }
        return;
    }

    StreamManager& manager = StreamManager::Instance();
    ReturnCodeEnum status = kErr_None;
    ManagedStream stream(manager, manager.OpenStream(file, status));
    if (status != kErr_None || !stream.Get() || stream.Get()->Open(-1, kStreamRead) != kErr_None) return;
    const std::int32_t length = stream.Get()->UpdateLength();
    if (length < 0 || static_cast<std::uint32_t>(length) > kMaxLinkedSheetBytes) {
        if (reporter_) reporter_->ReportCode(kDiag_SheetTooLarge);
        return;
    }
    const std::uint32_t size = static_cast<std::uint32_t>(length);
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[size + 1]);
    if (!buffer) throw MemoryAllocationFault();
    std::uint32_t total = 0;
    while (total < size) {
        std::uint32_t count = size - total;
        const ReturnCodeEnum read = stream.Get()->Read(buffer.get() + total, count);
        if (count == 0 || count > size - total) break;
        total += count;
        if (read != kErr_None) break;
    }
    buffer[total] = 0;
    String text;
    text.Append(buffer.get(), total);
    buffer.reset();
    tree->StyleManager()->AddStyleText(text, 0);
}

}  // namespace markup
