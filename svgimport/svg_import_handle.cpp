// One import: the markup engine set up over the host's dictionary folder, the
// document parsed and styled, the reader drawing it through the host canvas.
#include "svgimport/svg_import_handle.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "markup/dtd/registry_hook.h"
#include "markup/faults.h"
#include "markup/parser/css_dictionary.h"
#include "markup/parser/dictionary_registry.h"
#include "markup/parser/xml_parser.h"
#include "markup/style/css_manager.h"
#include "markup/style/graphics_imp.h"
#include "markup/style/visual_doc.h"
#include "markup/url_mapper.h"
#include "platform/font_backend.h"
#include "platform/inflating_file.h"
#include "platform/messages.h"
#include "parse_warnings.h"
#include "request_cached_fonts.h"
#include "svgfilter/import_abi.h"
#include "svgimport/canvas.h"
#include "svgimport/matrix.h"
#include "svgimport/reader.h"
#include "svgimport/visual_styles.h"

namespace svgf {
namespace {

// The size of the buffer service 0x244 writes the folder into.
constexpr uint32_t kFolderBufferSize = 260;

// The largest document the import reads. The markup engine holds a document
// in some fifteen times its size while it is parsed, styled and read, so a
// larger one (a single attribute of gigabytes, say) would exhaust the
// machine before any drawing; a million elements take some 70 MB.
constexpr int64_t kMaxDocumentBytes = int64_t{256} << 20;

// The messages the engines show while a run is under way. A failed run shows
// one error box of its own, which says what they would have said, so they are
// held back and shown only when the run succeeds.
class HeldMessages : public platform::MessageSink {
  public:
    HeldMessages() : previous_(platform::SetMessageSink(this)) {}
    ~HeldMessages() override { Restore(); }
    HeldMessages(const HeldMessages&) = delete;
    HeldMessages& operator=(const HeldMessages&) = delete;

    void Show(platform::MessageKind kind, const std::string& title, const std::string& text) override {
        held_.push_back({kind, title, text});
    }
    // The run succeeded: what was held is shown.
    void Release() {
        Restore();
        for (const auto& entry : held_) platform::ShowMessage(entry.kind, entry.title, entry.text);
    }
    // The run failed: only its own error box is shown.
    void Fail(const std::string& text) {
        Restore();
        platform::ShowMessage(platform::MessageKind::Error, kImportCaption, text);
    }

  private:
    void Restore() {
        if (restored_) return;
        restored_ = true;
        platform::SetMessageSink(previous_);
    }

    platform::MessageSink* previous_;
    bool restored_ = false;
    std::vector<platform::RecordingMessageSink::Entry> held_;
};

// A sentence of the reader's as the tail of "FILE: ...".
std::string AsCause(std::string sentence) {
    if (!sentence.empty() && sentence.back() == '.') sentence.pop_back();
    if (!sentence.empty())
        sentence[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(sentence[0])));
    return sentence;
}

// The host's folder of markup dictionaries, ending in its separator; empty
// when the host names none.
std::string DictionaryFolder(const FilterContext& context) {
    const auto folderOf = service<svc::DictionaryFolderFn>(context.services, svc::kDictionaryFolder);
    if (folderOf == nullptr) return {};
    char buffer[kFolderBufferSize] = {};
    if (folderOf(buffer, kFolderBufferSize) == 0) return {};
    buffer[kFolderBufferSize - 1] = '\0';
    std::string folder = buffer;
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder;
}

// The document's URL, the base of its relative references; empty when the
// URL mapper gives none.
markup::String DocumentURL(const char* fileName) {
    markup::String url;
    bool isHttp = false;
    markup::URLMapper::Instance().LocalPathToURL(url, markup::String(fileName), markup::String(), false,
                                                 isHttp);
    return url;
}

// The run's steps; `cause` says why when it answers 0. Objects are declared
// so that each goes before what it refers to: the canvas before the reader
// and the zoom manager, the styles before the document, the document before
// the parser that made it and the CSS manager its tree keeps, the graphics
// back end and its fonts last.
int32_t ImportDocument(FilterContext& context, SvgImportHandle* handle, std::string& cause) {
    if (context.fileName == nullptr || context.fileName[0] == '\0') {
        cause = "the host named no document to import";
        return 0;
    }
    // A device or a pipe would be read without end; a document beyond the
    // bound is refused before it is read. A name that is no file here is
    // the parser's to open or refuse.
    struct stat st {};
    const bool known = ::stat(context.fileName, &st) == 0;
    const std::string tooLarge =
        "it is larger than the " + std::to_string(kMaxDocumentBytes >> 20) + " MB the import reads";
    // A 32-bit build's stat cannot tell a size past 2 GB.
    if (!known && errno == EOVERFLOW) {
        cause = tooLarge;
        return 0;
    }
    if (known) {
        if (S_ISDIR(st.st_mode)) {
            cause = "it is a folder";
            return 0;
        }
        if (!S_ISREG(st.st_mode)) {
            cause = "it is not a regular file";
            return 0;
        }
        if (st.st_size > kMaxDocumentBytes) {
            cause = tooLarge;
            return 0;
        }
    }
    // A compressed document counts the bytes it inflates to; a bomb stops at
    // the bound without being kept.
    if (known && platform::IsGzipFile(context.fileName)) {
        if (!platform::InflatingFile::Available()) {
            cause = "it is gzip-compressed, which this build cannot read";
            return 0;
        }
        const int64_t inflated = platform::InflatedSizeUpTo(context.fileName, kMaxDocumentBytes);
        if (inflated < 0) {
            cause = "its compressed data is damaged";
            return 0;
        }
        if (inflated > kMaxDocumentBytes) {
            cause = "it inflates to more than the " + std::to_string(kMaxDocumentBytes >> 20) +
                    " MB the import reads";
            return 0;
        }
    }
    const std::string folder = DictionaryFolder(context);
    if (folder.empty()) {
        cause = "the host named no folder of markup dictionaries";
        return 0;
    }

    markup::dtd::InstallRegistryCompiler();
    detail::RequestCachedFonts fonts(platform::SystemFontBackend());
    markup::style::GraphicsImp graphics(fonts);
    graphics.UseCssUnits(true);
    std::unique_ptr<markup::style::CSSManager> css;
    auto parser = std::make_unique<markup::WXMLParser_WepImp>();
    parser->Init(markup::String(folder.c_str()));
    // Nothing the import reads needs a tag's text past the element's name.
    parser->SetKeepTagTexts(false);
    // The registry loaded the CSS dictionary from the folder; without it no
    // style could be read, and every element would draw black.
    markup::CSSDictionary* cssDictionary = markup::DictionaryRegistry::Instance().CSS();
    if (cssDictionary == nullptr || cssDictionary->Properties().EntryCount() == 0) {
        cause = "the CSS dictionary " + folder + markup::CSSDictionary::kFileName + " could not be read";
        return 0;
    }
    css = std::make_unique<markup::style::CSSManager>(*cssDictionary);
    SVG::AddPresentationAttributes(*css);

    markup::WDOMHandle document = parser->Parse(context.fileName, css.get());
    if (document.IsNull()) {
        cause = parser->FailureCause().empty() ? "the document could not be parsed" : parser->FailureCause();
        return 0;
    }
    detail::ShowParseWarnings(document, context.fileName);

    markup::style::WDOMVisualDoc_WerImp visual(document, DocumentURL(context.fileName));
    SVG::WVisualStyleSource styles(visual);
    SVG::WParser reader(document, &styles);
    SVG::WZoomMgr zoom;
    zoom.SetDocumentSize(reader.Width(), reader.Height());
    int32_t drawn = 0;
    {
        // The canvas holds the host's callback record from here to its end,
        // also for a document the reader refuses.
        SVG::WCanvas_UDI canvas(context.hostHandle, nullptr, handle, &zoom, context.colourHandle, &reader,
                                &context);
        drawn = reader.Parse(&canvas);
    }
    // Every bound the drawing met is told: content left out is never silent.
    for (const std::string& line : reader.DescribeLimitsMet()) {
        platform::ShowMessage(platform::MessageKind::Warning, kImportCaption,
                              std::string(context.fileName) + ": " + line);
    }
    if (!reader.Rooted()) {
        cause = AsCause(SVG::DescribeReadStatus(reader.Status()));
    } else if (drawn == 0) {
        cause = "the drawing could not be drawn";
    }
    return drawn;
}

void CloseDocumentHandle(FilterContext& context) {
    if (context.fileHandle == 0) return;
    ::close(static_cast<int>(context.fileHandle));
    context.fileHandle = 0;
}

}  // namespace

int32_t SvgImportHandle::Run(FilterContext& context) {
    (void)field_;
    CloseDocumentHandle(context);
    HeldMessages messages;
    std::string cause;
    int32_t result = 0;
    // The engines' faults end the run here, after the objects it made are
    // gone and the host has its callback record back.
    try {
        result = ImportDocument(context, this, cause);
    } catch (const std::bad_alloc&) {
        context.errorCode = kErrNoMemory;
        cause = "there was not enough memory";
    } catch (const markup::MemoryAllocationFault&) {
        context.errorCode = kErrNoMemory;
        cause = "there was not enough memory";
    } catch (const SVG::WParserException&) {
        cause = "its element tree could not be read";
    } catch (const markup::Fault&) {
        cause = "the markup engine met an internal error";
    } catch (...) {
        cause = "an unexpected error stopped the import";
    }
    if (result != 0) {
        messages.Release();
        return result;
    }
    if (cause.empty()) cause = "the document could not be imported";
    const bool named = context.fileName != nullptr && context.fileName[0] != '\0';
    messages.Fail(named ? std::string(context.fileName) + ": " + cause : cause);
    return 0;
}

}  // namespace svgf
