// The host's system colour profile: a RIFF file of form "sp71" listing, per
// device, whether it is in use and its default profile file. Colour
// management learns from it whether the printer is a CMYK device, which
// devices are enabled, and which profile stands for each device.
//
// The file is found through the colour settings file "Color.ini" in the
// configuration directory and lies in the colour directory. Files are opened
// read-only. A missing or unreadable catalogue makes every query answer its
// default.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "colour/riff.h"

namespace colour {

inline constexpr int kColorFileHeaderBytes = 588;  // the "comh" chunk as read
inline constexpr int kColorFileHeadBytes = 4048;   // the "head" chunk as read

// Results of the catalogue functions.
inline constexpr int kClrUnsupportedDevice = -1;
inline constexpr int kClrHeaderUnavailable = -2;
inline constexpr int kClrChunkReadFailed = -5;
inline constexpr int kClrFileMissing = -13;
inline constexpr int kClrWrongForm = -17;

// Device types.
inline constexpr int kDeviceMonitor = 1;
inline constexpr int kDevicePrinterRGB = 2;
inline constexpr int kDeviceScanner = 3;
inline constexpr int kDevicePrinterCMYK = 9;

// Device states in the header.
inline constexpr std::uint8_t kDeviceInUse = 2;
inline constexpr std::uint8_t kDeviceOff = 3;
inline constexpr std::uint8_t kDeviceReadAgain = 1;

struct ColorFileHeader {
    std::uint8_t bytes[kColorFileHeaderBytes] = {};

    std::uint32_t Word(int index) const {
        const std::uint8_t* p = bytes + 4 * index;
        return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
               (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }
    bool PrinterIsCMYK() const { return Word(137) == 1; }
    bool CompositeDefault() const { return Word(140) == 0; }
    // The state byte of a device type; 0 for a type with none.
    std::uint8_t DeviceState(int deviceType) const;
};

// An open colour file.
struct ColorFile {
    std::unique_ptr<ByteSource> source;
};

// The catalogue's path: the file name and extension of "SystemColorProfile"
// in section "Color Calibration" of Color.ini (default "profiles.ccm"), in
// the colour directory. Empty when the colour directory is not known.
std::string ClrGetSystemProfilePath();

// 0, kClrFileMissing or kClrWrongForm. The file is opened read-only, and
// `readOnly` (when given) says so.
int ClrOpenColorFile(const std::string& path, ColorFile* file, bool* readOnly);
void ClrCloseColorFile(ColorFile* file);
// Reads the "comh" chunk: 0, or kClrChunkReadFailed when it is missing or
// shorter than the header.
int ClrReadColorFileHeader(ColorFile& file, ColorFileHeader* header);

// The catalogue's header, read once and kept: 1, or the error of the read
// (the next call tries again).
int ClrGetColorFileHeader(ColorFileHeader* out);

// Answered once from the header and kept; 0 when the file cannot be read.
int ClrPrinterIsCMYK();
int ClrCompositeDefault();

// 1 when the device's state is not "off", 0 when it is, kClrUnsupportedDevice
// for a type without a state. A state of "read again" reads the states from
// the file first; with colour management off, or without a readable file,
// every device counts as in use.
int ClrDeviceEnabled(int deviceType);

// The default profile file of a device in use: 1 with its name (as a path
// in the colour directory when `fullPath`), 0 when the device is not in use
// or names no file, or an error.
int ClrReadColorFileHead(int deviceType, std::string* name, bool fullPath);

// Once per registration type ("mICC" monitor, "3ICC" printer RGB, "sICC"
// scanner, "4ICC" printer CMYK): copies the device's default profile to
// `path`. 0, kClrUnsupportedDevice for another type name, or
// kClrHeaderUnavailable when there is no profile to copy or the copy failed.
int ClrSetDefaultProfile(const void* instance, std::string_view typeName, const std::string& path,
                         std::uint32_t flags);

// The colour directory joined with a file name.
std::string ClrProfilePath(std::string_view name);

// Forgets everything read from the catalogue, for a test or after the host
// changed its installation.
void ClrForgetProfileCatalogue();

}  // namespace colour
