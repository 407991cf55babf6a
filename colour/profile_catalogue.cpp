// The system colour profile: locating it, reading its "comh" header and
// "head" device table, and copying a device's default profile.
// 64-bit file sizes and inode numbers on 32-bit builds too.
#ifndef _FILE_OFFSET_BITS
#define _FILE_OFFSET_BITS 64
#endif
#include "colour/profile_catalogue.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>

#include "colour/host_config.h"
#include "colour/settings.h"
#include "ini_text.h"
#include "platform/host_paths.h"
#include "platform/path_queries.h"

namespace colour {
namespace {

constexpr const char* kFormType = "sp71";
constexpr int kStateOffset = 552;  // scanner, monitor, printer RGB, printer CMYK
constexpr int kCopyBlock = 1024;

// Each device's place among the four state bytes, and where its default
// profile's name lies in the "head" chunk; -1 for a type with none.
int DeviceSlot(int deviceType) {
    switch (deviceType) {
        case kDeviceScanner:
            return 0;
        case kDeviceMonitor:
            return 1;
        case kDevicePrinterRGB:
            return 2;
        case kDevicePrinterCMYK:
            return 3;
        default:
            return -1;
    }
}

constexpr int kHeadNameOffset[4] = {3672, 136, 1196, 2416};

int DeviceTypeOf(std::string_view typeName) {
    if (typeName == "sICC") return kDeviceScanner;
    if (typeName == "mICC") return kDeviceMonitor;
    if (typeName == "3ICC") return kDevicePrinterRGB;
    if (typeName == "4ICC") return kDevicePrinterCMYK;
    return 0;
}

struct Catalogue {
    bool haveHeader = false;
    ColorFileHeader header;
    int printerIsCMYK = -1;  // -1 until asked
    int compositeDefault = -1;
    std::uint8_t states[4] = {kDeviceReadAgain, kDeviceReadAgain, kDeviceReadAgain, kDeviceReadAgain};
    bool copied[4] = {};
};

std::mutex g_lock;
Catalogue g_catalogue;

std::string ColourDirectory() {
    char dir[kMaxPath];
    GetColorDir(dir, sizeof dir);
    return dir;
}

// Opens the catalogue and reads its header.
int ReadHeaderFromFile(ColorFileHeader* header) {
    const std::string path = ClrGetSystemProfilePath();
    if (path.empty()) return kClrHeaderUnavailable;
    ColorFile file;
    if (const int opened = ClrOpenColorFile(path, &file, nullptr); opened != 0) return opened;
    const int read = ClrReadColorFileHeader(file, header);
    ClrCloseColorFile(&file);
    return read;
}

int HeaderLocked(Catalogue& catalogue, ColorFileHeader* out) {
    if (!catalogue.haveHeader) {
        ColorFileHeader header;
        if (const int read = ReadHeaderFromFile(&header); read != 0) return read;
        catalogue.header = header;
        catalogue.haveHeader = true;
    }
    if (out != nullptr) *out = catalogue.header;
    return 1;
}

int ReadHeadLocked(Catalogue& catalogue, int deviceType, std::string* name, bool fullPath) {
    const int slot = DeviceSlot(deviceType);
    if (slot < 0) return kClrUnsupportedDevice;
    if (HeaderLocked(catalogue, nullptr) != 1) return kClrHeaderUnavailable;
    if (catalogue.header.DeviceState(deviceType) != kDeviceInUse) return 0;

    ColorFile file;
    if (const int opened = ClrOpenColorFile(ClrGetSystemProfilePath(), &file, nullptr); opened != 0)
        return opened;
    RiffReader reader(*file.source);
    RiffChunk chunk;
    static_assert(kColorFileHeadBytes > 3672, "every device's name lies inside the head chunk");
    auto head = std::make_unique<std::uint8_t[]>(kColorFileHeadBytes);
    const bool read = reader.OpenForm(kFormType) && reader.FindChunk("head", &chunk) &&
                      reader.ReadChunk(chunk, head.get(), kColorFileHeadBytes);
    ClrCloseColorFile(&file);
    if (!read) return kClrChunkReadFailed;

    // The name must end inside the chunk and fit a path.
    const int offset = kHeadNameOffset[slot];
    const int room = std::min(kMaxPath, kColorFileHeadBytes - offset);
    const auto* start = reinterpret_cast<const char*>(head.get() + offset);
    const void* end = std::memchr(start, '\0', static_cast<size_t>(room));
    if (end == nullptr) return kClrChunkReadFailed;
    const std::string profile(start, static_cast<const char*>(end));
    if (profile.empty()) return 0;
    if (fullPath) {
        *name = ClrProfilePath(profile);
        if (name->empty()) return kClrHeaderUnavailable;
    } else {
        *name = profile;
    }
    return 1;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// Copies a file in blocks through a temporary beside the destination, so a
// failed copy leaves the destination as it was.
bool CopyFile(const std::string& from, const std::string& to) {
    if (SameFile(from, to)) return true;
    std::unique_ptr<ByteSource> source = OpenFileByteSource(from);
    if (!source) return false;
    const std::string part = to + ".part";
    const int fd = ::open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = true;
    std::uint8_t block[kCopyBlock];
    for (std::uint64_t at = 0; ok && at < source->Size();) {
        const std::size_t count =
            static_cast<std::size_t>(std::min<std::uint64_t>(kCopyBlock, source->Size() - at));
        ok = source->ReadAt(at, block, count);
        for (std::size_t done = 0; ok && done < count;) {
            const ssize_t wrote = ::write(fd, block + done, count - done);
            ok = wrote > 0;
            if (ok) done += static_cast<std::size_t>(wrote);
        }
        at += count;
    }
    ok = ::close(fd) == 0 && ok;
    if (ok) ok = ::rename(part.c_str(), to.c_str()) == 0;
    if (!ok) ::unlink(part.c_str());
    return ok;
}

}  // namespace

std::uint8_t ColorFileHeader::DeviceState(int deviceType) const {
    const int slot = DeviceSlot(deviceType);
    return slot < 0 ? 0 : bytes[kStateOffset + slot];
}

std::string ClrGetSystemProfilePath() {
    const std::string colourDir = ColourDirectory();
    if (colourDir.empty()) return {};
    char configDir[kMaxPath];
    GetConfigDir(configDir, sizeof configDir);
    std::string value;
    if (detail::ReadIniText(JoinConfigPath(configDir, "Color.ini"), "Color Calibration", "SystemColorProfile",
                            &value) != detail::IniRead::kFound)
        value = "profiles.ccm";
    return MakeSiblingPath(colourDir, value);
}

int ClrOpenColorFile(const std::string& path, ColorFile* file, bool* readOnly) {
    const std::string local = platform::LocalPath(path);
    if (path.empty() || !platform::PathExists(local.c_str())) return kClrFileMissing;
    std::unique_ptr<ByteSource> source = OpenFileByteSource(local);
    if (!source) return kClrFileMissing;
    RiffReader reader(*source);
    if (!reader.OpenForm(kFormType)) return kClrWrongForm;
    file->source = std::move(source);
    if (readOnly != nullptr) *readOnly = true;
    return 0;
}

void ClrCloseColorFile(ColorFile* file) {
    if (file != nullptr) file->source.reset();
}

int ClrReadColorFileHeader(ColorFile& file, ColorFileHeader* header) {
    if (!file.source) return kClrChunkReadFailed;
    RiffReader reader(*file.source);
    RiffChunk chunk;
    if (!reader.OpenForm(kFormType) || !reader.FindChunk("comh", &chunk) ||
        !reader.ReadChunk(chunk, header->bytes, kColorFileHeaderBytes))
        return kClrChunkReadFailed;
    return 0;
}

int ClrGetColorFileHeader(ColorFileHeader* out) {
    std::lock_guard<std::mutex> lock(g_lock);
    return HeaderLocked(g_catalogue, out);
}

int ClrPrinterIsCMYK() {
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_catalogue.printerIsCMYK < 0) {
        ColorFileHeader header;
        g_catalogue.printerIsCMYK = HeaderLocked(g_catalogue, &header) == 1 && header.PrinterIsCMYK() ? 1 : 0;
    }
    return g_catalogue.printerIsCMYK;
}

int ClrCompositeDefault() {
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_catalogue.compositeDefault < 0) {
        ColorFileHeader header;
        g_catalogue.compositeDefault =
            HeaderLocked(g_catalogue, &header) == 1 && header.CompositeDefault() ? 1 : 0;
    }
    return g_catalogue.compositeDefault;
}

int ClrDeviceEnabled(int deviceType) {
    const int slot = DeviceSlot(deviceType);
    if (slot < 0) return kClrUnsupportedDevice;
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_catalogue.states[slot] == kDeviceReadAgain) {
        ColorFileHeader header;
        if (ClrColourManagementOn() && ReadHeaderFromFile(&header) == 0) {
            std::memcpy(g_catalogue.states, header.bytes + kStateOffset, 4);
        } else {
            std::memset(g_catalogue.states, kDeviceInUse, 4);
        }
    }
    return g_catalogue.states[slot] != kDeviceOff ? 1 : 0;
}

int ClrReadColorFileHead(int deviceType, std::string* name, bool fullPath) {
    if (name == nullptr) return kClrHeaderUnavailable;
    std::lock_guard<std::mutex> lock(g_lock);
    return ReadHeadLocked(g_catalogue, deviceType, name, fullPath);
}

int ClrSetDefaultProfile(const void*, std::string_view typeName, const std::string& path, std::uint32_t) {
    const int deviceType = DeviceTypeOf(typeName);
    const int slot = DeviceSlot(deviceType);
    if (slot < 0) return kClrUnsupportedDevice;
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_catalogue.copied[slot]) return 0;
    std::string from;
    if (ReadHeadLocked(g_catalogue, deviceType, &from, true) != 1) return kClrHeaderUnavailable;
    if (path.empty() || !CopyFile(platform::LocalPath(from), platform::LocalPath(path)))
        return kClrHeaderUnavailable;
    g_catalogue.copied[slot] = true;
    return 0;
}

std::string ClrProfilePath(std::string_view name) {
    const std::string colourDir = ColourDirectory();
    return colourDir.empty() ? std::string() : JoinConfigPath(colourDir, name);
}

void ClrForgetProfileCatalogue() {
    std::lock_guard<std::mutex> lock(g_lock);
    g_catalogue = Catalogue{};
}

}  // namespace colour
