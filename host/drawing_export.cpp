// The export run of the stand-in host.
#include "host/drawing_export.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "host/drawing_player.h"
#include "host/drawing_reader.h"

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

ExportResult Failed(std::string message) {
    return ExportResult{false, std::move(message), std::nullopt};
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

// One export as the host runs it: options, the temporary output and begin
// export; then the walk, with the module's requests for pattern tiles served
// from the drawing; then end export, whatever happened, and the output put
// in place only when all of it succeeded.
class ExportRun {
  public:
    ExportRun(StandInHost& host, const std::string& outputPath, const OptionsEditor& editOptions)
        : host_(host), context_(host.Context()), outputPath_(outputPath), editOptions_(editOptions) {}
    ExportRun(const ExportRun&) = delete;
    ExportRun& operator=(const ExportRun&) = delete;

    // The callback record to walk the drawing through, or null with the
    // reason kept for Finish.
    const svgf::ExportCallbackRecord* Begin(const Drawing& drawing) {
        // Each export starts clean: a code left by an earlier one would fail it.
        context_.errorCode = 0;
        host_.SetNoUserInterface(true);
        if (host_.Call(svgf::kCmdOptions) == 0 || context_.exportOptions == nullptr) {
            return Refuse("the filter could not set its export options (error " +
                          std::to_string(context_.errorCode) + ")");
        }
        if (editOptions_) editOptions_(*context_.exportOptions);
        if (context_.exportOptions->cssPlacement == svgf::kCssExternal && StyleSheetPath(outputPath_) == outputPath_) {
            return Refuse("the external style sheet would take the document's own name; give the output another "
                          "extension, such as .svg");
        }

        output_.emplace(outputPath_);
        if (output_->Descriptor() < 0) {
            return Refuse("cannot create a file beside " + outputPath_ + ": " + std::strerror(errno));
        }
        styleSheet_ = StyleSheetPath(outputPath_);
        styleSheetExisted_ = Exists(styleSheet_);
        fileName_ = outputPath_;
        context_.fileName = fileName_.data();
        context_.fileHandle = output_->Descriptor();
        context_.pageRect = drawing.page;
        if (context_.hostHandle == 0) context_.hostHandle = kDrawingHandle;

        begun_ = true;
        if (host_.Call(svgf::kCmdBeginExport) == 0 || context_.callbackRecord == nullptr) {
            return Refuse(context_.errorCode != 0
                              ? WithErrorCode("the filter could not begin the export", context_.errorCode)
                              : std::string("the filter could not begin the export"));
        }
        record_ = static_cast<const svgf::ExportCallbackRecord*>(context_.callbackRecord);
        // The module asks for a pattern's tile through the first callback, in
        // the middle of the walk; the tile is drawn through the same record.
        host_.SetFirstCallbackHandler([this, &drawing](svgf::HostHandle, uintptr_t tile) {
            const PlayResult drawn = PlayTile(drawing, tile, *record_, Fonts(), Opener());
            if (!drawn.ok && tileFailure_.ok) tileFailure_ = drawn;
            return int32_t{1};
        });
        return record_;
    }

    // The host's fonts, made when the walk first meets text.
    FontSource Fonts() {
        return [this] { return host_.Fonts(); };
    }

    BitmapOpener Opener() {
#if defined(SVGFILTER_HOST_MEDIA)
        // The render run draws the bitmap the exchange block names.
        return [this](const DrawingObject& bitmap, std::string& reason) {
            const svgf::HostHandle handle = StandInImages().OpenBitmap(bitmap.image);
            if (handle == 0) reason = StandInImages().lastError();
            if (handle != 0) media::SetExchangeSource(context_.exchangeBlock, handle);
            return handle;
        };
#else
        return {};
#endif
    }

    // Ends the export the walk left as `played`; `description` is set when
    // the drawing's description failed.
    ExportResult Finish(PlayResult played, const std::optional<DrawingError>& description = std::nullopt) {
        host_.SetFirstCallbackHandler({});
        ExportResult result = refusal_.empty() ? ExportResult{true, "", std::nullopt} : Failed(refusal_);
        if (description) {
            result = {false, description->message, description};
        } else if (result.ok) {
            if (played.ok && !tileFailure_.ok) played = tileFailure_;
            if (!played.ok) {
                result = Failed((played.where.empty() ? "" : played.where + ": ") + played.message);
                // A file the module could not write is why it refused the object.
                if (const char* cause = FileFailureText(context_.errorCode))
                    result.message += std::string(" (") + cause + ")";
            }
        }
        if (!begun_) return result;
        // A walk stopped by the host or the description fails the module's end export.
        if (!result.ok && context_.errorCode == 0) context_.errorCode = kWalkStopped;
        // End export runs whatever happened before, so the module releases all.
        if (host_.Call(svgf::kCmdEndExport) == 0 && result.ok) {
            result = Failed(WithErrorCode("the filter could not complete the document", context_.errorCode));
        }
        context_.fileName = nullptr;
        context_.fileHandle = 0;

        if (result.ok && !output_->Close())
            result = Failed(std::string("cannot write ") + outputPath_ + ": " + std::strerror(errno));
        if (result.ok && !output_->RenameTo(outputPath_)) {
            result = Failed(std::string("cannot write ") + outputPath_ + ": " + std::strerror(errno));
        }
        if (!result.ok && !styleSheetExisted_) ::unlink(styleSheet_.c_str());
        return result;
    }

  private:
    const svgf::ExportCallbackRecord* Refuse(std::string reason) {
        refusal_ = std::move(reason);
        return nullptr;
    }

    StandInHost& host_;
    svgf::FilterContext& context_;
    const std::string& outputPath_;
    const OptionsEditor& editOptions_;
    std::optional<TemporaryOutput> output_;
    std::string styleSheet_;
    bool styleSheetExisted_ = false;
    std::string fileName_;
    bool begun_ = false;
    const svgf::ExportCallbackRecord* record_ = nullptr;
    std::string refusal_;
    PlayResult tileFailure_;
};

// Begins the export when the reader has the page, then plays each object
// as it is read.
class ExportSink final : public DrawingSink {
  public:
    explicit ExportSink(ExportRun& run) : run_(run) {}

    bool BeginDrawing(const Drawing& drawing) override {
        const svgf::ExportCallbackRecord* record = run_.Begin(drawing);
        if (record == nullptr) return false;
        player_.emplace(*record, run_.Fonts(), run_.Opener());
        return player_->BeginDrawing(drawing);
    }
    bool BeginLayer(const DrawingLayer& layer) override { return player_->BeginLayer(layer); }
    bool EndLayer(const DrawingLayer& layer) override { return player_->EndLayer(layer); }
    bool Object(const DrawingObject& object) override { return player_->Object(object); }
    bool BeginStructure(const DrawingObject& object) override { return player_->BeginStructure(object); }
    bool EndStructure(const DrawingObject& object) override { return player_->EndStructure(object); }
    bool EndDrawing() override { return player_->EndDrawing(); }

    PlayResult Played() const { return player_ ? player_->Result() : PlayResult{}; }

  private:
    ExportRun& run_;
    std::optional<DrawingPlayer> player_;
};

}  // namespace

ExportResult ExportDrawing(StandInHost& host, const Drawing& drawing, const std::string& outputPath,
                           const OptionsEditor& editOptions) {
    ExportRun run(host, outputPath, editOptions);
    const svgf::ExportCallbackRecord* record = run.Begin(drawing);
    if (record == nullptr) return run.Finish({});
    HostFonts* const fonts = HasText(drawing) ? host.Fonts() : nullptr;
    const PlayResult played = host.Report([&] { return PlayDrawing(drawing, *record, fonts, run.Opener()); });
    return run.Finish(played);
}

ExportResult ExportDrawingFile(StandInHost& host, const std::string& drawingPath, const std::string& outputPath,
                               const OptionsEditor& editOptions) {
    ExportRun run(host, outputPath, editOptions);
    ExportSink sink(run);
    Drawing drawing;
    DrawingError error;
    const bool read = host.Report([&] { return StreamDrawingFile(drawingPath, drawing, sink, error); });
    if (!read && !error.message.empty()) return run.Finish({}, error);
    return run.Finish(sink.Played());
}

}  // namespace host
