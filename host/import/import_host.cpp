// The import side's state: the structures open on each drawing handle, the
// callback records, pattern tiles drawn through the module, and the
// description and balance made from them.
#include "host/import/import_host.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <utility>

#include "description.h"
#include "handle_numbers.h"
#include "json_text.h"
#include "text_sink.h"
#include "record_text.h"

namespace host::import {

void FillDrawingTable(svgf::HostDrawingTable& table);

namespace {

// Which import side belongs to which host.
std::mutex g_hostsLock;
std::vector<std::pair<const StandInHost*, ImportHost*>>& Hosts() {
    static std::vector<std::pair<const StandInHost*, ImportHost*>> hosts;
    return hosts;
}

}  // namespace

ImportHost* CurrentImport() {
    const StandInHost* current = CurrentHost();
    if (current == nullptr) return nullptr;
    std::lock_guard<std::mutex> lock(g_hostsLock);
    for (const auto& [host, import] : Hosts()) {
        if (host == current) return import;
    }
    return nullptr;
}

// One open structure of a drawing handle: a group, a clip, or one whose
// members go to the structure around it (the bottom of every handle, and
// structures past the deepest level the description takes).
struct ImportHost::Structure {
    bool clip = false;
    bool inlined = false;
    MemberList list;
};

// A drawing handle: the page's, or a pattern tile's while the module draws it.
// Its text is written as it is drawn; the bottom structure is the layer's
// (or the tile's) and never closes.
struct ImportHost::Target {
    svgf::HostHandle parent = 0;  // the handle whose fill made the tile (0: the page)
    Placement placement;
    std::vector<Structure> stack;
    TextSink text;
};

class ImportHost::Tiles final : public TileSource {
  public:
    Tiles(ImportHost& host, svgf::HostHandle handle) : host_(host), handle_(handle) {}
    std::optional<std::string> DrawTile(const svgf::HostPatternTileBlock& block, int level) override {
        bool drawn = false;
        std::string text = host_.DrawTile(handle_, block, level, &drawn);
        if (!drawn) return std::nullopt;
        return text;
    }

  private:
    ImportHost& host_;
    svgf::HostHandle handle_;
};

ImportHost::ImportHost(StandInHost& host) : host_(host) {
    FillDrawingTable(table_);
    {
        std::lock_guard<std::mutex> lock(g_hostsLock);
        Hosts().emplace_back(&host_, this);
    }
    RegisterImportServices(host_.Services());
    host_.Context().callbackRecord = &table_;
    Reset();
}

ImportHost::~ImportHost() {
    if (host_.Context().callbackRecord == &table_) host_.Context().callbackRecord = nullptr;
    if (host_.Context().fileName == document_.data()) host_.Context().fileName = nullptr;
    RemoveImportServices(host_.Services());
    RegisterDefaultServices(host_.Services());
    std::lock_guard<std::mutex> lock(g_hostsLock);
    auto& hosts = Hosts();
    hosts.erase(std::remove_if(hosts.begin(), hosts.end(), [this](const auto& p) { return p.second == this; }),
                hosts.end());
}

void ImportHost::SetDocument(const std::string& svgPath) {
    document_ = svgPath;
    host_.Context().fileName = document_.data();
}

void ImportHost::SetPage(const svgf::HostRect& page) {
    page_ = page;
    pageSet_ = true;
}

svgf::HostRect ImportHost::Page() const {
    if (pageSet_) return page_;
    svgf::HostRect page{0, 0, 0, 0};
    constexpr int32_t kMost = INT32_MAX - 1;  // what the description's reader takes
    if (haveExtent_) page = {0, std::clamp(extent_.top, 0, kMost), std::clamp(extent_.right, 0, kMost), 0};
    // A page needs a size; an empty drawing gets an inch.
    if (page.right <= 0) page.right = 254000;
    if (page.top <= 0) page.top = 254000;
    return page;
}

void ImportHost::Reset() {
    log_.Clear();
    warnings_.clear();
    problems_.clear();
    targets_.clear();
    callbacks_.clear();
    families_.clear();
    textObjects_.clear();
    imageHandles_.clear();
    pictures_.clear();
    pictureOfFile_.clear();
    nextTile_ = 0;
    drawn_ = 0;
    nextImageHandle_ = 0;
    tileNesting_ = 0;
    haveExtent_ = false;
    if (host_.Context().hostHandle == 0) host_.Context().hostHandle = kDrawingHandle;
    mainHandle_ = host_.Context().hostHandle;
    auto main = std::make_unique<Target>();
    main->stack.push_back(Structure{});
    if (spilling_) main->text.UseFile();
    targets_.emplace(mainHandle_, std::move(main));
}

void ImportHost::SetSpilling(bool spilling) {
    spilling_ = spilling;
    if (const auto main = targets_.find(mainHandle_); spilling && main != targets_.end())
        main->second->text.UseFile();
}

ImportHost::Target* ImportHost::FindTarget(svgf::HostHandle handle, const char* what) {
    const auto it = targets_.find(handle);
    if (it != targets_.end()) return it->second.get();
    problems_.push_back(std::string(what) + " on handle " + LogHex(handle) + ", which is not a drawing");
    return nullptr;
}

svgf::HostPoint ImportHost::OffsetOf(const Target& target) {
    return target.placement.offset;
}

int32_t SVGF_CALL ImportHost::HostOwnCallback(svgf::HostHandle, uintptr_t, uintptr_t) {
    return 0;
}

const svgf::HostCallbackRecord& ImportHost::CallbackOf(svgf::HostHandle handle) const {
    static const svgf::HostCallbackRecord own{&HostOwnCallback, {0, 0, 0, 0}};
    // A tile's handle draws with the record of the handle it was made for.
    for (svgf::HostHandle h = handle; h != 0;) {
        if (const auto it = callbacks_.find(h); it != callbacks_.end()) return it->second;
        const auto target = targets_.find(h);
        h = target == targets_.end() ? 0 : target->second->parent;
    }
    return own;
}

void ImportHost::OnExchangeCallback(svgf::HostHandle handle, const svgf::HostCallbackRecord* install,
                                    svgf::HostCallbackRecord* previous) {
    const svgf::HostCallbackRecord before = CallbackOf(handle);
    const size_t line = log_.Line("ExchangeCallback handle=" + LogHex(handle) +
                                  " install=" + LogCallbackRecord(install, &HostOwnCallback));
    log_.AppendTo(line, " -> previous=" + LogCallbackRecord(&before, &HostOwnCallback));
    if (targets_.count(handle) == 0) {
        problems_.push_back("a callback record exchanged on handle " + LogHex(handle) + ", which is not a drawing");
        return;
    }
    if (install != nullptr) callbacks_[handle] = *install;
    if (previous != nullptr) *previous = before;
}

MemberList& ImportHost::Writing(Target& target) {
    size_t at = target.stack.size() - 1;
    while (at > 0 && target.stack[at].inlined) --at;
    return target.stack[at].list;
}

void ImportHost::Open(svgf::HostHandle handle, bool clip, std::string head) {
    Target* target = FindTarget(handle, clip ? "a clip pushed" : "a group begun");
    if (target == nullptr) return;
    const int aroundLevel = target->stack.back().list.level;
    Structure s;
    s.clip = clip;
    s.inlined = head.empty() || aroundLevel + 1 > kMaxStructureLevel;
    if (!head.empty() && s.inlined) {
        warnings_.push_back(std::string(clip ? "a clip" : "a group") + " deeper than " +
                            Int(kMaxStructureLevel) + " levels went to the structure around it" +
                            (clip ? ", unclipped" : ""));
    }
    s.list.level = s.inlined ? aroundLevel : aroundLevel + 1;
    if (!s.inlined) {
        s.list.keyed = true;
        BeginMember(Writing(*target), std::string(), target->text);
        target->text.Append("{" + head);
    }
    target->stack.push_back(std::move(s));
}

void ImportHost::CloseTop(Target& target) {
    const Structure& s = target.stack.back();
    if (!s.inlined) target.text.Append(MembersEnd(s.list));
    target.stack.pop_back();
}

void ImportHost::Close(svgf::HostHandle handle, bool clip) {
    Target* target = FindTarget(handle, clip ? "a clip popped" : "a group ended");
    if (target == nullptr) return;
    if (target->stack.size() < 2) {
        problems_.push_back(std::string(clip ? "a clip popped" : "a group ended") + " on handle " +
                            LogHex(handle) + " with none open");
        return;
    }
    if (target->stack.back().clip != clip) {
        problems_.push_back(std::string(clip ? "a clip popped" : "a group ended") + " on handle " +
                            LogHex(handle) + " while a " + (clip ? "group" : "clip") + " is open inside it");
        return;
    }
    CloseTop(*target);
}

std::string ImportHost::OpenEnds(const Target& target) {
    // Structures still open end where the drawing stopped.
    std::string out;
    for (size_t at = target.stack.size() - 1; at > 0; --at) {
        if (!target.stack[at].inlined) out += MembersEnd(target.stack[at].list);
    }
    return out;
}

std::string ImportHost::Style(Target& target, svgf::HostHandle handle, const svgf::HostAttributes* attributes) {
    // An object may stand up to two levels below its structure (a link, a
    // text's transform); its pattern tiles one further.
    Tiles tiles(*this, handle);
    return StyleMembers(attributes, target.stack.back().list.level + 2, tiles, warnings_);
}

void ImportHost::AddItem(Target& target, std::string json, const svgf::HostAttributes* attributes) {
    BeginMember(Writing(target), LinkOf(attributes), target.text);
    target.text.Append(json);
    ++drawn_;
}

void ImportHost::Extend(const Target& target, const svgf::HostRect& box) {
    if (&target != targets_.at(mainHandle_).get()) return;
    const svgf::HostRect b{std::min(box.left, box.right), std::max(box.top, box.bottom),
                           std::max(box.left, box.right), std::min(box.top, box.bottom)};
    if (!haveExtent_) {
        extent_ = b;
        haveExtent_ = true;
        return;
    }
    extent_ = {std::min(extent_.left, b.left), std::max(extent_.top, b.top), std::max(extent_.right, b.right),
               std::min(extent_.bottom, b.bottom)};
}

std::string ImportHost::DrawTile(svgf::HostHandle handle, const svgf::HostPatternTileBlock& block, int level,
                                 bool* drawn) {
    *drawn = false;
    const svgf::HostCallbackRecord record = CallbackOf(handle);
    if (record.callback == nullptr || record.callback == &HostOwnCallback) {
        warnings_.push_back("a pattern tile had no callback to be drawn through; it is empty");
        return {};
    }
    if (tileNesting_ >= kMaxTileNesting || level > kMaxTileLevel) {
        warnings_.push_back("a pattern tile nested too deep was left empty");
        log_.Line("DrawTile handle=" + LogHex(handle) + " refused: nested too deep");
        return {};
    }
    const uint32_t number =
        NextHandleNumber(nextTile_, [&](uint32_t n) { return targets_.count(kTileHandleTag | n) != 0; });
    if (number == 0) {
        warnings_.push_back("a pattern tile was left empty: every tile handle is in use");
        return {};
    }
    const svgf::HostHandle tile = kTileHandleTag | number;
    auto target = std::make_unique<Target>();
    target->parent = handle;
    const svgf::HostRect box = block.box;
    // A box from the range's low end cannot be moved to 0: its objects go
    // as far as the range lets them.
    const auto negated = [](int32_t v) { return v == INT32_MIN ? INT32_MAX : -v; };
    target->placement.offset = {negated(std::min(box.left, box.right)), negated(std::min(box.top, box.bottom))};
    target->placement.level = level;
    Structure bottom;
    bottom.list.level = level;
    bottom.list.lines = false;
    target->stack.push_back(std::move(bottom));
    Target& drawing = *target;
    targets_.emplace(tile, std::move(target));

    const size_t line = log_.Line("DrawTile handle=" + LogHex(handle) + " target=" + LogHex(tile) +
                                  " tile=" + (block.tile != 0 ? "set" : "null") + " value=" + Int(record.word[0]));
    log_.Indent();
    ++tileNesting_;
    const int32_t answer = record.callback(tile, block.tile, record.word[0]);
    --tileNesting_;
    log_.Outdent();
    log_.AppendTo(line, " -> " + Int(answer));

    if (drawing.stack.size() > 1) {
        problems_.push_back("a pattern tile left " + Int(drawing.stack.size() - 1) + " structures open");
    }
    const MemberList& objects = drawing.stack.front().list;
    std::string text = drawing.text.Text() + OpenEnds(drawing) + MembersEnd(objects);
    targets_.erase(tile);
    callbacks_.erase(tile);
    *drawn = true;
    return text;
}

int32_t ImportHost::FontValue(const std::string& family) {
    HostFonts* fonts = host_.Fonts();
    if (fonts == nullptr || family.empty()) return 0;
    const int32_t id = fonts->FontId(family);
    families_[id] = family;
    return id;
}

const std::string* ImportHost::FamilyOf(int32_t font) const {
    const auto it = families_.find(font);
    return it == families_.end() ? nullptr : &it->second;
}

svgf::HostHandle ImportHost::OpenImageHandle(svgf::HostImageCallbackBlock* block) {
    const uint32_t number = NextHandleNumber(
        nextImageHandle_, [&](uint32_t n) { return imageHandles_.count(kImageHandleTag | n) != 0; });
    if (number == 0) {
        warnings_.push_back("an image was not loaded: every image handle is in use");
        return 0;
    }
    const svgf::HostHandle handle = kImageHandleTag | number;
    imageHandles_[handle] = block;
    return handle;
}

svgf::HostImageCallbackBlock* ImportHost::ImageBlock(svgf::HostHandle handle) const {
    const auto it = imageHandles_.find(handle);
    return it == imageHandles_.end() ? nullptr : it->second;
}

svgf::HostWord ImportHost::AddPicture(const std::string& path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    std::string file = (error ? std::filesystem::path(path) : absolute).lexically_normal().string();
    // Pictures live to the end of the import: one per file keeps them within
    // their numbers.
    if (const auto it = pictureOfFile_.find(file); it != pictureOfFile_.end()) return it->second;
    if (pictures_.size() >= kHandleNumbers) {
        warnings_.push_back("an image was not loaded: more image files than the host has picture handles for");
        return 0;
    }
    const svgf::HostWord picture = kPictureTag | static_cast<svgf::HostWord>(pictures_.size() + 1);
    pictureOfFile_.emplace(file, picture);
    pictures_[picture] = std::move(file);
    // A file in the temporary folder is the module's, gone after the
    // import: the host keeps the picture itself.
    std::filesystem::path temporary = std::filesystem::temp_directory_path(error).lexically_normal();
    if (!temporary.has_filename()) temporary = temporary.parent_path();
    const std::filesystem::path kept = std::filesystem::path(pictures_[picture]);
    if (!error && !temporary.empty() && kept.parent_path() == temporary) {
        std::ifstream in(kept, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.good() || in.eof()) keptPictures_[picture] = std::move(bytes);
    }
    return picture;
}

bool ImportHost::KeepPictureCopies(const std::string& path, std::string* error) const {
    // Beside the description: DRAWING-pictureN.EXT.
    const std::string stem = path.size() > 5 && path.ends_with(".json") ? path.substr(0, path.size() - 5) : path;
    for (const auto& [picture, bytes] : keptPictures_) {
        const std::string extension = std::filesystem::path(pictures_.at(picture)).extension().string();
        const std::string copy = stem + "-picture" + Int(static_cast<int64_t>(picture & 0xFFFF)) + extension;
        std::ofstream out(copy, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.good()) {
            if (error != nullptr) *error = "cannot write " + copy + ": " + std::strerror(errno);
            return false;
        }
        std::error_code failed;
        const std::filesystem::path absolute = std::filesystem::absolute(copy, failed);
        pictures_[picture] = (failed ? std::filesystem::path(copy) : absolute).lexically_normal().string();
    }
    return true;
}

ImportBalance ImportHost::Balance() const {
    ImportBalance balance;
    balance.problems = problems_;
    if (const auto it = targets_.find(mainHandle_); it != targets_.end()) {
        size_t groups = 0, clips = 0;
        for (size_t i = 1; i < it->second->stack.size(); ++i) ++(it->second->stack[i].clip ? clips : groups);
        if (groups > 0) balance.problems.push_back(Int(groups) + " groups were not ended");
        if (clips > 0) balance.problems.push_back(Int(clips) + " clips were not popped");
    }
    for (const auto& [handle, record] : callbacks_) {
        if (record.callback != &HostOwnCallback ||
            std::any_of(std::begin(record.word), std::end(record.word), [](svgf::HostWord w) { return w != 0; })) {
            balance.problems.push_back("the callback record of handle " + LogHex(handle) + " was not restored");
        }
    }
    if (!imageHandles_.empty()) balance.problems.push_back(Int(imageHandles_.size()) + " image handles were not released");
    if (!textObjects_.empty()) balance.problems.push_back(Int(textObjects_.size()) + " text objects were not finished");
    return balance;
}

bool ImportHost::WriteText(const std::string& folder, const std::function<void(std::string_view)>& take) const {
    std::error_code error;
    const std::filesystem::path base =
        folder.empty() ? std::filesystem::path() : std::filesystem::absolute(folder, error).lexically_normal();
    // Image references become file names; one may be cut between pieces.
    std::string carry;
    const auto pass = [&](std::string_view piece) {
        std::string joined;
        if (!carry.empty()) {
            joined = std::move(carry);
            joined.append(piece);
            carry.clear();
            piece = joined;
        }
        for (size_t at = 0; at < piece.size();) {
            const size_t mark = piece.find(kImageMark, at);
            const size_t end = mark == std::string_view::npos ? mark : piece.find(kImageMark, mark + 1);
            if (mark == std::string_view::npos) {
                take(piece.substr(at));
                return;
            }
            take(piece.substr(at, mark - at));
            if (end == std::string_view::npos) {
                carry.assign(piece.substr(mark));
                return;
            }
            const svgf::HostWord picture = std::stoul(std::string(piece.substr(mark + 1, end - mark - 1)));
            std::string path = pictures_.count(picture) ? pictures_.at(picture) : std::string();
            if (!base.empty() && !path.empty()) {
                const std::filesystem::path relative = std::filesystem::path(path).lexically_relative(base);
                if (!relative.empty()) path = relative.string();
            }
            take(JsonString(path));
            at = end + 1;
        }
    };
    const Target& main = *targets_.at(mainHandle_);
    take(DocumentHead(Page()));
    if (!main.text.Read(pass)) return false;
    pass(OpenEnds(main));
    pass(DocumentTail(main.stack.front().list));
    return carry.empty();
}

std::string ImportHost::Description(const std::string& folder) const {
    std::string out;
    WriteText(folder, [&](std::string_view piece) { out.append(piece); });
    return out;
}

bool ImportHost::WriteDescription(const std::string& path, std::string* error) const {
    if (!KeepPictureCopies(path, error)) return false;
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    std::vector<char> name(path.begin(), path.end());
    const char suffix[] = ".partXXXXXX";
    name.insert(name.end(), suffix, suffix + sizeof suffix);
    const int fd = ::mkstemp(name.data());
    auto fail = [&](const char* what) {
        if (error != nullptr) *error = std::string(what) + " " + path + ": " + std::strerror(errno);
        return false;
    };
    if (fd < 0) return fail("cannot create a file beside");
    ::fchmod(fd, 0644);
    bool written = true;
    int writeError = 0;
    // Pieces are gathered to some hundred kilobytes before each write.
    std::string pending;
    const auto flush = [&] {
        for (size_t done = 0; written && done < pending.size();) {
            const ssize_t n = ::write(fd, pending.data() + done, pending.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                writeError = n < 0 ? errno : ENOSPC;
                written = false;
                break;
            }
            done += static_cast<size_t>(n);
        }
        pending.clear();
    };
    const bool complete = WriteText(folder, [&](std::string_view piece) {
        pending.append(piece);
        if (pending.size() >= (size_t{1} << 18)) flush();
    });
    flush();
    if (!complete) {
        ::close(fd);
        ::unlink(name.data());
        if (error != nullptr) *error = "cannot write " + path + ": the drawing's temporary file could not be read";
        return false;
    }
    if (written && ::fsync(fd) != 0) {
        writeError = errno;
        written = false;
    }
    if (::close(fd) != 0 && written) {
        writeError = errno;
        written = false;
    }
    if (!written || ::rename(name.data(), path.c_str()) != 0) {
        if (written) writeError = errno;
        errno = writeError;
        const bool result = fail("cannot write");
        ::unlink(name.data());
        return result;
    }
    return true;
}

}  // namespace host::import
