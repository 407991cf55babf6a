// Parse diagnostics told as the import's warnings.
#include "parse_warnings.h"

#include "markup/parser/dom/dom_document.h"
#include "markup/parser/parse_diagnostics.h"
#include "platform/messages.h"
#include "svgimport/svg_import_handle.h"

namespace svgf::detail {

void ShowParseWarnings(const markup::WDOMHandle& document, const std::string& fileName) {
    auto* imp = dynamic_cast<markup::WDOMDocument_WepImp*>(document.Get());
    const markup::DocTree* tree = imp ? imp->GetTree() : nullptr;
    auto* diagnostics = tree ? dynamic_cast<const markup::ParseDiagnostics*>(tree->Option()) : nullptr;
    if (!diagnostics) return;
    for (std::uint32_t i = 0; i < diagnostics->errors.Count(); ++i) {
        const markup::ErrorSpec* entry = diagnostics->errors.At(i);
        if (!entry) continue;
        switch (entry->code) {
            case markup::kDiag_SheetTooLarge:
            case markup::kDiag_LinkedFileRefused:
            case markup::kDiag_EntityLimit:
            case markup::kDiag_InputEndsInside:
            case markup::kDiag_DictionaryFull:
            case markup::kDiag_DoctypeAfterElement:
                break;
            default:
                continue;
        }
        if (entry->value.IsEmpty()) continue;
        platform::ShowMessage(platform::MessageKind::Warning, kImportCaption,
                              fileName + ": " + std::string(entry->value.Text(), entry->value.Length()));
    }
}

}  // namespace svgf::detail
