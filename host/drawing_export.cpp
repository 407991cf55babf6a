// The export run of the stand-in host.
#include "host/drawing_export.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "host/drawing_player.h"

#if defined(SVGFILTER_HOST_MEDIA)
#include "host/media/stand_in_images.h"
#endif

namespace host {
namespace {

// What the module names the external style sheet after: the output path with
// the extension of its last component replaced by ".css" (a dot that only
// starts the name is no extension).
std::string StyleSheetPath(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t start = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot <= start) return path + ".css";
    return path.substr(0, dot) + ".css";
}

// The module's end export fails while errorCode is non-zero; the host sets
// this value of its own when it stops the walk, so that the module puts no
// style sheet or image file of the failed export in place.
constexpr uint32_t kWalkStopped = 1;

// What the module's code for a file it could not write means.
const char* FileFailureText(uint32_t code) {
    switch (code) {
        case svgf::kErrDiskFull:
            return "no space left on the device";
        case svgf::kErrAccessDenied:
            return "permission denied";
        case svgf::kErrHardwareIO:
            return "input/output error";
        case svgf::kErrWriteFailed:
            return "a file could not be written";
        default:
            return nullptr;
    }
}

// "what: cause (error N)", or "what (error N)" for codes without a text.
std::string WithErrorCode(const std::string& what, uint32_t code) {
    const char* cause = FileFailureText(code);
    return what + (cause != nullptr ? std::string(": ") + cause : std::string()) + " (error " +
           std::to_string(code) + ")";
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// A temporary file beside the output, so that the final rename stays within
// one file system.
class TemporaryOutput {
  public:
    explicit TemporaryOutput(const std::string& outputPath) {
        std::vector<char> name(outputPath.begin(), outputPath.end());
        const char suffix[] = ".partXXXXXX";
        name.insert(name.end(), suffix, suffix + sizeof suffix);
        fd_ = ::mkstemp(name.data());
        if (fd_ >= 0) {
            path_ = name.data();
            ::fchmod(fd_, 0644);
        }
    }
    ~TemporaryOutput() {
        Close();
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;

    int Descriptor() const { return fd_; }
    bool Close() {
        if (fd_ < 0) return true;
        const bool ok = ::fsync(fd_) == 0 && ::close(fd_) == 0;
        fd_ = -1;
        return ok;
    }
    // Moves the file to its final name; the object then owns nothing.
    bool RenameTo(const std::string& outputPath) {
        if (::rename(path_.c_str(), outputPath.c_str()) != 0) return false;
        path_.clear();
        return true;
    }

  private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace

ExportResult ExportDrawing(StandInHost& host, const Drawing& drawing, const std::string& outputPath,
                           const OptionsEditor& editOptions) {
    svgf::FilterContext& context = host.Context();

    // Each export starts clean: a code left by an earlier one would fail it.
    context.errorCode = 0;
    host.SetNoUserInterface(true);
    if (host.Call(svgf::kCmdOptions) == 0 || context.exportOptions == nullptr) {
        return {false, "the filter could not set its export options (error " +
                           std::to_string(context.errorCode) + ")"};
    }
    if (editOptions) editOptions(*context.exportOptions);
    if (context.exportOptions->cssPlacement == svgf::kCssExternal && StyleSheetPath(outputPath) == outputPath) {
        return {false,
                "the external style sheet would take the document's own name; give the output another "
                "extension, such as .svg"};
    }

    TemporaryOutput output(outputPath);
    if (output.Descriptor() < 0) {
        return {false, "cannot create a file beside " + outputPath + ": " + std::strerror(errno)};
    }
    const std::string styleSheet = StyleSheetPath(outputPath);
    const bool styleSheetExisted = Exists(styleSheet);
    std::string fileName = outputPath;
    context.fileName = fileName.data();
    context.fileHandle = output.Descriptor();
    context.pageRect = drawing.page;
    if (context.hostHandle == 0) context.hostHandle = kDrawingHandle;

    ExportResult result{true, ""};
    if (host.Call(svgf::kCmdBeginExport) == 0 || context.callbackRecord == nullptr) {
        result = {false, context.errorCode != 0
                             ? WithErrorCode("the filter could not begin the export", context.errorCode)
                             : std::string("the filter could not begin the export")};
    } else {
        const auto& record = *static_cast<const svgf::ExportCallbackRecord*>(context.callbackRecord);
        HostFonts* const fonts = HasText(drawing) ? host.Fonts() : nullptr;
        BitmapOpener openBitmap;
#if defined(SVGFILTER_HOST_MEDIA)
        // The render run draws the bitmap the exchange block names.
        openBitmap = [&context](const DrawingObject& bitmap, std::string& reason) {
            const svgf::HostHandle handle = StandInImages().OpenBitmap(bitmap.image);
            if (handle == 0) reason = StandInImages().lastError();
            if (handle != 0) media::SetExchangeSource(context.exchangeBlock, handle);
            return handle;
        };
#endif
        // The module asks for a pattern's tile through the first callback,
        // in the middle of the walk; the tile is drawn through the same record.
        PlayResult tileFailure;
        host.SetFirstCallbackHandler([&](svgf::HostHandle, uintptr_t tile) {
            const PlayResult drawn = PlayTile(drawing, tile, record, fonts, openBitmap);
            if (!drawn.ok && tileFailure.ok) tileFailure = drawn;
            return int32_t{1};
        });
        PlayResult played = host.Report([&] { return PlayDrawing(drawing, record, fonts, openBitmap); });
        host.SetFirstCallbackHandler({});
        if (played.ok && !tileFailure.ok) played = tileFailure;
        if (!played.ok) {
            result = {false, (played.where.empty() ? "" : played.where + ": ") + played.message};
            // A file the module could not write is why it refused the object.
            if (const char* cause = FileFailureText(context.errorCode))
                result.message += std::string(" (") + cause + ")";
            if (context.errorCode == 0) context.errorCode = kWalkStopped;
        }
    }
    // End export runs whatever happened before, so the module releases all.
    if (host.Call(svgf::kCmdEndExport) == 0 && result.ok) {
        result = {false, WithErrorCode("the filter could not complete the document", context.errorCode)};
    }
    context.fileName = nullptr;
    context.fileHandle = 0;

    if (result.ok && !output.Close())
        result = {false, std::string("cannot write ") + outputPath + ": " + std::strerror(errno)};
    if (result.ok && !output.RenameTo(outputPath)) {
        result = {false, std::string("cannot write ") + outputPath + ": " + std::strerror(errno)};
    }
    if (!result.ok && !styleSheetExisted) ::unlink(styleSheet.c_str());
    return result;
}

}  // namespace host
