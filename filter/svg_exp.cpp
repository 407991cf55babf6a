// The exporter's life: construction, begin export (options, output file,
// document start, fonts, style registry, the "Shorthand" setting) and end
// export (fonts, classes, document end, release of everything).
#include "svg_exp.h"

#include <cstring>
#include <new>

#include "c_format.h"
#include "callback_record.h"
#include "export_options.h"
#include "platform/files.h"
#include "platform/settings_store.h"
#include "svg_elements.h"
#include "svg_font.h"
#include "svg_writer.h"

namespace svgf {

SVGExp::SVGExp() : SVGExp(platform::SystemFiles(), nullptr) {}

SVGExp::SVGExp(platform::FileService& files, platform::SettingsStore* settings)
    : files_(files), settings_(settings), images_(files) {}

SVGExp::~SVGExp() = default;

namespace {

uint32_t ErrorCodeFor(platform::FileCause cause) {
    switch (cause) {
        case platform::FileCause::diskFull:
            return kErrDiskFull;
        case platform::FileCause::accessDenied:
            return kErrAccessDenied;
        case platform::FileCause::hardIO:
            return kErrHardwareIO;
        default:
            return kErrWriteFailed;
    }
}

}  // namespace

void SVGExp::ReportFileFailure(platform::FileCause cause) {
    if (context_ != nullptr && context_->errorCode == 0 && cause != platform::FileCause::none)
        context_->errorCode = ErrorCodeFor(cause);
}

void SVGExp::ReleaseExportParts() {
    // The writer goes first: its parts may still refer to nothing else, but
    // the registry and fonts are written through it, never the other way.
    writer_.reset();
    fontList_.reset();
    registry_.reset();
    workBuffer_ = {};
}

int32_t SVGExp::BeginExport(FilterContext* context) {
    if (context == nullptr) return 0;
    // A second begin on the same exporter starts over.
    ReleaseExportParts();
    images_.Discard();
    nesting_ = 0;
    groupStack_.clear();
    linkStack_.clear();
    urlStack_.clear();
    clipStack_.clear();
    transformStack_.clear();
    openLayers_ = 0;
    text_ = TextObject{};
    ReleaseHostFont();
    font_ = CurrentFont{};
    fillSelectors_.clear();
    outlineSelectors_.clear();
    fontSelectors_.clear();

    FillCallbackRecord(callbackRecord_, this);
    context->callbackRecord = &callbackRecord_;
    context_ = context;

    if (context->exportOptions != nullptr) {
        options_ = *context->exportOptions;
    } else {
        SetDefaultExportOptions(&options_);
    }

    int32_t result = 0;
    if (context->fileName != nullptr && context->fileHandle != 0) {
        std::unique_ptr<platform::File> output =
            files_.AttachDescriptor(static_cast<int>(context->fileHandle));
        if (output) {
            writer_ = std::make_unique<WSVGWriter>(std::move(output), options_, context->fileName, files_);
            // A part or style sheet that could not be made fails the export
            // now, rather than a truncated document later.
            if (writer_->Failed()) {
                ReportFileFailure(writer_->FailureCause());
                writer_.reset();
            } else {
                writer_->SetFailureListener([this](platform::FileCause cause) { ReportFileFailure(cause); });
            }
        }
    }

    bool buffer = true;
    try {
        workBuffer_.reserve(kInitialPathPoints);
    } catch (const std::bad_alloc&) {
        buffer = false;
    }
    scale_ = options_.precision * (1.0 / 254000.0);
    const HostRect& page = context->pageRect;
    yOrigin_ = RoundHalfAway(page.top * scale_);
    hostTop_ = page.top;

    SVGPage record;
    record.pageRect = page;
    record.scaledRect = HostRect{RoundHalfAway(page.left * scale_), 0, RoundHalfAway(page.right * scale_),
                                 RoundHalfAway(page.top * scale_) - RoundHalfAway(page.bottom * scale_)};

    if (writer_ != nullptr && buffer && writer_->BeginDocument(record) != 0) {
        result = 1;
        if (options_.embedFonts != 0) {
            fontList_.reset(new (std::nothrow) FontList());
            if (fontList_ == nullptr) result = 0;
        }
        if (result != 0) {
            if (options_.cssPlacement == kCssStyleAttribute) {
                writer_->SetCssMode(kCssStyleAttribute);
            } else {
                registry_.reset(new (std::nothrow) SVGStyleRegistry(static_cast<StyleRegistryHost&>(*this)));
                if (registry_ == nullptr) {
                    result = 0;
                } else {
                    writer_->SetCssMode(options_.cssPlacement);
                }
            }
        }
    }

    ReadShorthandSetting();
    return result;
}

void SVGExp::ReadShorthandSetting() {
    platform::SettingsStore& settings = settings_ != nullptr ? *settings_ : platform::CurrentSettings();
    if (!settings.HasKey(kFontSettingsKey)) return;
    char buffer[4] = {};
    uint32_t size = sizeof buffer;
    if (settings.ReadValue(kFontSettingsKey, kShorthandValue, buffer, &size) !=
        platform::SettingsStatus::kOk) {
        return;
    }
    if (size > 0 && buffer[0] == '1') separateFontProperties_ = 0;
}

bool SVGExp::FinishDocument() {
    if (writer_ == nullptr) return false;
    if (options_.embedFonts != 0 && (fontList_ == nullptr || fontList_->WriteFonts(*writer_) == 0))
        return false;
    if (options_.cssPlacement != kCssStyleAttribute &&
        (registry_ == nullptr || registry_->WriteClasses(*writer_) == 0)) {
        return false;
    }
    return writer_->EndDocument() != 0;
}

int32_t SVGExp::EndExport(FilterContext* context) {
    if (context == nullptr) context = context_;
    bool success = false;
    try {
        success = FinishDocument();
        // The style sheet and the bitmap files replace earlier ones only
        // when the whole export succeeded; otherwise those stay as they were.
        success = success && (context == nullptr || context->errorCode == 0) && writer_->CommitStyleSheet();
    } catch (...) {
        // Memory ran out while joining the parts: the document is incomplete.
        success = false;
    }
    if (success) {
        images_.Commit();
    } else {
        images_.Discard();
    }

    // A text object the host left open still holds one of its fonts.
    ReleaseHostFont();
    font_ = CurrentFont{};
    ReleaseExportParts();
    if (context != nullptr) {
        ReleaseExportOptions(*context);
        if (context->hostHandle != 0) {
            if (const auto release = service<svc::ReleaseHandleFn>(context->services, svc::kReleaseHandle)) {
                release(context->hostHandle);
            }
            context->hostHandle = 0;
        }
        // The record dies with the exporter; the host must not call it again.
        context->callbackRecord = nullptr;
    }
    return success && (context == nullptr || context->errorCode == 0) ? 1 : 0;
}

// Layers and nesting.

int32_t SVGExp::BeginDrawing() {
    ++nesting_;
    return 0;
}

int32_t SVGExp::EndDrawing() {
    --nesting_;
    return 0;
}

int32_t SVGExp::BeginNamedLayer(const char* name) {
    if (writer_ == nullptr) return kFailed;
    SVGGroup layer;
    if (writer_->OpenNamedElement(layer, name != nullptr ? name : "") == 0) return kFailed;
    ++openLayers_;
    return kDone;
}

int32_t SVGExp::EndNamedLayer() {
    if (writer_ == nullptr) return kFailed;
    // An end without its begin closes nothing.
    if (openLayers_ <= 0) return kDone;
    --openLayers_;
    return writer_->EndNamedElement() != 0 ? kDone : kFailed;
}

}  // namespace svgf
