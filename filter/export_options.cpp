// Defaults, the dialog run and the ownership of the options record.
#include "export_options.h"

#include "options_dialog.h"
#include "owned_blocks.h"
#include "resource_ids.h"

namespace svgf {

int32_t SetDefaultExportOptions(SVGExportOptions* record) {
    record->textAsText = 1;
    record->embedFonts = 0;
    record->embeddedFontsFirst = 0;
    record->bitmapType = kBitmapJpeg;
    record->precision = kDefaultPrecision;
    record->cssPlacement = kCssInternal;
    return 1;
}

int32_t RunExportOptionsDialog(SVGExportOptions* record, const platform::ResourceModule* instance) {
    // Every run starts from the defaults: earlier choices are not remembered.
    SetDefaultExportOptions(record);
    FilterContext* context = record->context;
    if (context != nullptr && (context->flags & kFlagNoUserInterface) != 0) return 1;

    detail::ExportOptionsDialog procedure(*record, instance);
    const int32_t result = platform::DialogBox(instance, res::kOptionsDialog,
                                               context ? context->parentWindow : nullptr, procedure);
    if (result == platform::kDialogFailed) {
        if (context) context->errorCode = kErrDialogFailed;
        return 0;
    }
    if (result == platform::kIdCancel) {
        if (context) context->errorCode = kErrDialogCancelled;
        return 0;
    }
    return 1;
}

SVGExportOptions* NewExportOptions() {
    return static_cast<SVGExportOptions*>(
        detail::AllocateOwned(detail::BlockKind::kExportOptions, sizeof(SVGExportOptions)));
}

void ReleaseExportOptions(FilterContext& context) {
    if (detail::OwnedKind(context.exportOptions) == detail::BlockKind::kExportOptions) {
        detail::FreeOwned(context.exportOptions);
    }
    context.exportOptions = nullptr;
}

}  // namespace svgf
