// The stand-in host's import side: the drawing table and the services an
// import calls, over a StandInHost. What the module draws through them
// becomes a drawing description (docs/drawing-format.md) that `svgfilter
// export` reads back; every call goes into a call log
// (docs/import-call-log.md); and the host checks that the import left it
// balanced: groups and clips closed, its callback records restored, every
// image handle released and every text object finished.
//
//   host::StandInHost host(module->Entry());
//   host::import::ImportHost import(host);
//   import.SetDocument("drawing.svg");
//   host.Call(svgf::kCmdImport);
//   if (import.Balance().Balanced()) import.WriteDescription("drawing.json", &error);
//
// Tests may call the drawing table (DrawingTable()) and the service table
// (host.Context().services) themselves inside host.Report(...), the way the
// module would.
//
// A host built without the font and image libraries (the 32-bit build)
// leaves the font, text-object and image services unset, as its export side
// does; the module's texts and images then fail and are not drawn.
#ifndef HOST_IMPORT_IMPORT_HOST_H
#define HOST_IMPORT_IMPORT_HOST_H

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "host/import/import_log.h"
#include "host/stand_in_host.h"
#include "svgfilter/import_abi.h"

namespace host::import {

struct MemberList;
class TileSource;

// What the import left unbalanced, one sentence each; empty when nothing.
struct ImportBalance {
    std::vector<std::string> problems;
    bool Balanced() const { return problems.empty(); }
};

// Handles the host hands out during an import (all below 2^24, so they read
// the same in every build): pattern targets, image handles and pictures.
inline constexpr svgf::HostHandle kTileHandleTag = 0x10000;
inline constexpr svgf::HostHandle kImageHandleTag = 0x20000;
inline constexpr svgf::HostHandle kPictureTag = 0x30000;
// Pattern tiles drawn inside pattern tiles, at most.
inline constexpr int kMaxTileNesting = 8;
// The deepest level of the description at which a group or clip opens (its
// members one deeper); deeper ones give their members to the structure
// around them. Links, text transforms and pattern tiles add levels of their
// own, and the description's reader takes at most 100.
inline constexpr int kMaxStructureLevel = 60;
// The family a font request without one gets.
inline constexpr const char* kDefaultFamily = "DejaVu Sans";

class ImportHost {
  public:
    // Takes over `host`'s drawing table field (FilterContext::callbackRecord)
    // and registers the import services in its service registry; the
    // destructor puts the host's default services back.
    explicit ImportHost(StandInHost& host);
    ~ImportHost();
    ImportHost(const ImportHost&) = delete;
    ImportHost& operator=(const ImportHost&) = delete;

    StandInHost& Host() { return host_; }
    // The SVG file to import (FilterContext::fileName).
    void SetDocument(const std::string& svgPath);
    // What service 0x244 answers: the markup dictionaries' folder ("." at first).
    void SetDictionaryFolder(std::string folder) { dictionaryFolder_ = std::move(folder); }
    const std::string& DictionaryFolder() const { return dictionaryFolder_; }
    // The described page. Without one, the page runs from (0, 0) to the
    // right and top of everything drawn (the import does not tell its size).
    void SetPage(const svgf::HostRect& page);
    svgf::HostRect Page() const;

    // Forgets the drawing, the log, the handles and what was wrong.
    void Reset();
    // Has the description's text, written as the drawing arrives, wait in a
    // temporary file rather than in memory until the description is written,
    // so that a host run for a user does not hold the whole drawing beside
    // the module's document. The text stays in memory when no file can be
    // made. Takes effect at the next Reset (and at once before any drawing).
    void SetSpilling(bool spilling);
    // Objects drawn so far on any handle (for a progress display; read from
    // any thread).
    uint64_t Drawn() const { return drawn_.load(std::memory_order_relaxed); }
    // Counts the time spent in the host's own part of the drawing calls (for
    // a benchmark that shows the module's part apart).
    void SetTiming(bool timing) { timing_ = timing; }
    bool Timing() const { return timing_; }
    void AddHostTime(std::chrono::steady_clock::duration d) { hostTime_ += d; }
    double HostSeconds() const { return std::chrono::duration<double>(hostTime_).count(); }

    const svgf::HostDrawingTable& DrawingTable() const { return table_; }
    svgf::HostHandle Handle() const { return mainHandle_; }
    const ImportLog& Log() const { return log_; }
    ImportLog& Log() { return log_; }
    // Things the description could not say as the import sent them.
    const std::vector<std::string>& Warnings() const { return warnings_; }
    ImportBalance Balance() const;

    // The drawing as a description; image files are named relative to
    // `folder` when given, else by absolute paths. Structures still open end
    // where the drawing stopped.
    std::string Description(const std::string& folder = {}) const;
    // The same text handed to `take` in pieces; false when part of it was
    // lost (the temporary file could not be written or read).
    bool WriteText(const std::string& folder, const std::function<void(std::string_view)>& take) const;
    // Writes it through a temporary file beside `path`, renamed on success.
    bool WriteDescription(const std::string& path, std::string* error) const;

    // ---- What the drawing-table entries and the services call ----
    void OnBeginGroup(svgf::HostHandle handle);
    void OnEndGroup(svgf::HostHandle handle);
    void OnPushClip(svgf::HostHandle handle, const svgf::HostClipRecord* clip, int32_t one);
    void OnPopClip(svgf::HostHandle handle);
    void OnRectangle(svgf::HostHandle handle, const svgf::HostAttributes* attributes, int32_t cx, int32_t cy,
                     int32_t width, int32_t height, int32_t corner, svgf::HostWord further,
                     const svgf::HostRect* box, svgf::HostWord zero);
    void OnEllipse(svgf::HostHandle handle, const svgf::HostAttributes* attributes, int32_t cx, int32_t cy,
                   int32_t width, int32_t height, const svgf::HostWord words[4], const svgf::HostRect* box,
                   svgf::HostWord zero);
    void OnPath(svgf::HostHandle handle, const svgf::HostAttributes* attributes, uint32_t count,
                const svgf::HostPoint* points, const uint8_t* kinds, const svgf::HostRect* box,
                svgf::HostWord zero);
    void OnText(svgf::HostHandle handle, const svgf::HostAttributes* attributes, int32_t font,
                uint32_t styleWord, int32_t size, svgf::HostWord zero, const svgf::HostMatrix* transform,
                const svgf::HostPoint* origins, const uint16_t* text, int32_t count, const svgf::HostRect* box);
    void OnImage(svgf::HostHandle handle, const svgf::HostAttributes* attributes, svgf::HostWord picture,
                 svgf::HostWord pictureWord, const svgf::HostRect* box, const svgf::HostMatrix* transform,
                 const svgf::HostRect* box2, const svgf::HostRect* box3, svgf::HostWord zero);
    void OnExchangeCallback(svgf::HostHandle handle, const svgf::HostCallbackRecord* install,
                            svgf::HostCallbackRecord* previous);

    // Fonts: the family behind a font value, and the values handed out.
    int32_t FontValue(const std::string& family);
    const std::string* FamilyOf(int32_t font) const;
    void TextObjectMade(svgf::HostHandle object) { textObjects_.insert(object); }
    bool TextObjectFinished(svgf::HostHandle object) { return textObjects_.erase(object) != 0; }

    // Images: handles of service 0x24 with their callback blocks, and the
    // pictures the host's image import made (by file).
    svgf::HostHandle OpenImageHandle(svgf::HostImageCallbackBlock* block);
    svgf::HostImageCallbackBlock* ImageBlock(svgf::HostHandle handle) const;
    bool ReleaseImageHandle(svgf::HostHandle handle) { return imageHandles_.erase(handle) != 0; }
    svgf::HostWord AddPicture(const std::string& path);
    bool HasPicture(svgf::HostWord picture) const { return pictures_.count(picture) != 0; }

    void Warn(std::string warning) { warnings_.push_back(std::move(warning)); }

    // The host's own callback (what a handle's callback record holds until
    // the module installs one): it draws nothing and answers 0.
    static int32_t SVGF_CALL HostOwnCallback(svgf::HostHandle target, uintptr_t argument, uintptr_t value);

  private:
    struct Structure;
    struct Target;
    class Tiles;

    Target* FindTarget(svgf::HostHandle handle, const char* what);
    // Where a handle's drawing lands in the description: a pattern tile's
    // objects are moved so that the tile's lower-left corner is (0, 0).
    static svgf::HostPoint OffsetOf(const Target& target);
    void AddItem(Target& target, std::string json, const svgf::HostAttributes* attributes);
    // Widens the page's extent by what the page's own handle draws.
    void Extend(const Target& target, const svgf::HostRect& box);
    std::string Style(Target& target, svgf::HostHandle handle, const svgf::HostAttributes* attributes);
    void Open(svgf::HostHandle handle, bool clip, std::string head);
    void Close(svgf::HostHandle handle, bool clip);
    static void CloseTop(Target& target);
    // The structure the next member is written into (past inlined ones).
    static MemberList& Writing(Target& target);
    // The text that ends the structures still open above the bottom.
    static std::string OpenEnds(const Target& target);
    const svgf::HostCallbackRecord& CallbackOf(svgf::HostHandle handle) const;
    std::string DrawTile(svgf::HostHandle handle, const svgf::HostPatternTileBlock& block, int level,
                         bool* drawn);

    StandInHost& host_;
    svgf::HostDrawingTable table_{};
    ImportLog log_;
    std::string document_;
    std::string dictionaryFolder_ = ".";
    bool pageSet_ = false;
    svgf::HostRect page_{};
    bool haveExtent_ = false;
    svgf::HostRect extent_{};

    svgf::HostHandle mainHandle_ = 0;
    std::map<svgf::HostHandle, std::unique_ptr<Target>> targets_;
    std::map<svgf::HostHandle, svgf::HostCallbackRecord> callbacks_;
    uint32_t nextTile_ = 0;
    int tileNesting_ = 0;

    std::map<int32_t, std::string> families_;
    std::set<svgf::HostHandle> textObjects_;
    std::map<svgf::HostHandle, svgf::HostImageCallbackBlock*> imageHandles_;
    uint32_t nextImageHandle_ = 0;
    // Absolute paths; writing the description moves kept pictures to their copies.
    mutable std::map<svgf::HostWord, std::string> pictures_;
    // The bytes of pictures handed over in the temporary folder, which the
    // module removes after the import: the description gets copies of them.
    std::map<svgf::HostWord, std::string> keptPictures_;
    bool KeepPictureCopies(const std::string& path, std::string* error) const;
    std::map<std::string, svgf::HostWord> pictureOfFile_;

    std::vector<std::string> warnings_;
    std::vector<std::string> problems_;

    bool spilling_ = false;
    std::atomic<uint64_t> drawn_{0};
    bool timing_ = false;
    std::chrono::steady_clock::duration hostTime_{};
};

// The import side of the host running a command on this thread, or null.
ImportHost* CurrentImport();

// The import services (see import_abi.h), registered with recording entries.
void RegisterImportServices(ServiceRegistry& registry);
// The service slots only the import uses.
void RemoveImportServices(ServiceRegistry& registry);

}  // namespace host::import

#endif  // HOST_IMPORT_IMPORT_HOST_H
