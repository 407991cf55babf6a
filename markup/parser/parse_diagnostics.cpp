// The report slots of ParseErrorHandler and the text form of a list.
#include "markup/parser/parse_diagnostics.h"

#include "markup/faults.h"
#include "markup/parser/token.h"
#include "markup/tree_dump.h"
#include "platform/latin1_text.h"

namespace markup {

namespace {

// Control characters would break the one-line form a viewer shows.
void BlankControls(String& text) {
    char* bytes = nullptr;
    if (!text.GetBuffer(bytes)) return;
    for (std::uint32_t i = 0; i < text.Length(); ++i) {
        if (static_cast<signed char>(bytes[i]) >= 0 && bytes[i] < 32) bytes[i] = ' ';
    }
}

void UpperCase(String& text) {
    char* bytes = nullptr;
    if (text.GetBuffer(bytes)) platform::CharUpperA(bytes);
}

ErrorSpec FromToken(std::uint32_t code, const Token* token) {
    ErrorSpec entry;
    entry.code = code;
    if (token) {
        entry.line = token->line;
        entry.endLine = token->endLine;
        entry.context = token->text;
    }
    return entry;
}

}  // namespace

ParseErrorHandler::~ParseErrorHandler() = default;

bool ParseErrorHandler::MayRecord(std::uint32_t code, Token* token) {
    // A fatal code raises whatever the list holds: a full list must not turn
    // a failed read into a parse that goes on over an empty buffer.
    CheckFatal(code);
    if (!errors_ || errors_->Count() >= kMaxErrors) return false;
    if (token) {
        if (token->reported) return false;
        token->reported = 1;
    }
    return true;
}

void ParseErrorHandler::Record(ErrorSpec& entry) {
    try {
        BlankControls(entry.context);
        BlankControls(entry.element);
        BlankControls(entry.attribute);
        BlankControls(entry.value);
        UpperCase(entry.element);
        UpperCase(entry.attribute);
        errors_->Add(entry);
    } catch (const BadAllocationFault&) {
        return;  // a diagnostic the heap cannot hold is dropped; the parse goes on
    }
    // A copy the heap could not hold is stored as null: nothing is recorded.
    if (!errors_->At(errors_->Count() - 1)) errors_->RemoveAt(errors_->Count() - 1);
}

void ParseErrorHandler::ReportAtToken(std::uint32_t code, Token* token, std::uint8_t isWarning) {
    if (!MayRecord(code, token)) return;
    ErrorSpec entry = FromToken(code, token);
    entry.isWarning = isWarning;
    Record(entry);
}

void ParseErrorHandler::ReportOnElement(const DictionaryBase* dictionary, std::uint32_t code, Token* token,
                                        DocElement* element) {
    if (!MayRecord(code, token)) return;
    ErrorSpec entry = FromToken(code, token);
    if (element) {
        if (element->TypeId() == kKindPlaceholder || element->HasFlag(DocElement::kFlagQuiet)) return;
        try {
            entry.element = element->GetName(dictionary);
        } catch (const InvalidArgumentFault&) {
            // An element whose id nothing names is reported without a name.
        }
        entry.value = element->Text();
    }
    Record(entry);
}

void ParseErrorHandler::ReportOnAttribute(const DictionaryBase* dictionary, std::uint32_t code, Token* token,
                                          const Attribute* attribute) {
    if (!MayRecord(code, token)) return;
    ErrorSpec entry = FromToken(code, token);
    if (attribute) {
        entry.attribute = attribute->GetName(dictionary);
        entry.value = attribute->value;
    }
    Record(entry);
}

void ParseErrorHandler::ReportCode(std::uint32_t code) {
    if (!MayRecord(code, nullptr)) return;
    ErrorSpec entry = FromToken(code, nullptr);
    Record(entry);
}

void ParseErrorHandler::Report(std::uint32_t code, Token* token) {
    if (!MayRecord(code, token)) return;
    ErrorSpec entry = FromToken(code, token);
    Record(entry);
}

void ParseErrorHandler::ReportText(std::uint32_t code, Token* token, const String& value) {
    if (!MayRecord(code, token)) return;
    ErrorSpec entry = FromToken(code, token);
    entry.value = value;
    Record(entry);
}

void ParseErrorHandler::CheckFatal(std::uint32_t code) {
    switch (code) {
        case kDiag_InputFailed:
        case kDiag_ReadFailed:
            throw ReadFault();
        case kDiag_OutOfMemory:
            throw MemoryAllocationFault();
        case kDiag_UndefinedState:
        case kDiag_Internal:
            throw LogicFault();
        default:
            return;
    }
}

std::string DumpDiagnostics(const ErrorList& errors) {
    std::string out;
    for (std::uint32_t i = 0; i < errors.Count(); ++i) {
        const ErrorSpec* entry = errors.At(i);
        if (!entry) continue;
        out += std::to_string(entry->code) + ' ' + std::to_string(entry->line) + '-' +
               std::to_string(entry->endLine);
        const std::pair<const char*, const String*> fields[] = {{"context", &entry->context},
                                                                {"element", &entry->element},
                                                                {"attribute", &entry->attribute},
                                                                {"value", &entry->value}};
        for (const auto& [label, text] : fields) {
            if (text->IsEmpty()) continue;
            out += ' ';
            out += label;
            out += '=';
            out += QuoteForDump(*text);
        }
        if (entry->isWarning) out += " warning";
        out += '\n';
    }
    return out;
}

}  // namespace markup
