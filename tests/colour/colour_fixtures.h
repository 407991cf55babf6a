// Fixtures of the colour tests: a scratch folder, a RIFF writer, a host
// installation laid out in a folder, and a base that puts the colour
// module's state back between tests.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "colour/cms.h"
#include "colour/color_record.h"
#include "colour/host_config.h"
#include "colour/managed_rows.h"
#include "colour/profile_catalogue.h"
#include "colour/references.h"
#include "colour/settings.h"
#include "colour/support.h"
#include "platform/memory_settings_store.h"
#include "platform/messages.h"
#include "platform/profile_library.h"
#include "platform/settings_store.h"

namespace colour::testing {

class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "colour-testXXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder, ending in "/".
    std::string Path() const { return path_ + "/"; }
    std::string Write(const std::string& relative, std::string_view bytes) const {
        const std::filesystem::path file = std::filesystem::path(path_) / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file.string();
    }
    std::string Read(const std::string& relative) const {
        std::ifstream in(std::filesystem::path(path_) / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

  private:
    std::string path_;
};

inline void PutU32(std::string& bytes, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>(v >> (8 * i));
}

// Writes RIFF files chunk by chunk; lengths may be overridden to make
// damaged files.
class RiffWriter {
  public:
    explicit RiffWriter(std::string_view form) : form_(form) {}
    RiffWriter& Chunk(std::string_view id, std::string_view data) {
        return ChunkWithSize(id, data, data.size());
    }
    RiffWriter& ChunkWithSize(std::string_view id, std::string_view data, std::uint32_t declared) {
        body_.append(id);
        PutU32(body_, declared);
        body_.append(data);
        if (data.size() % 2 != 0) body_ += '\0';
        return *this;
    }
    std::string Bytes(std::int64_t declaredFormSize = -1) const {
        std::string bytes = "RIFF";
        PutU32(bytes, declaredFormSize >= 0 ? static_cast<std::uint32_t>(declaredFormSize)
                                            : static_cast<std::uint32_t>(4 + body_.size()));
        bytes.append(form_);
        bytes.append(body_);
        return bytes;
    }

  private:
    std::string form_;
    std::string body_;
};

// A "comh" chunk: the printer word, the composite word and the four device
// states (scanner, monitor, printer RGB, printer CMYK).
inline std::string CommonHeader(std::uint32_t printerCMYK, std::uint32_t compositeWord,
                                std::array<std::uint8_t, 4> states) {
    std::string header(kColorFileHeaderBytes, '\0');
    for (int i = 0; i < 4; ++i) {
        header[137 * 4 + i] = static_cast<char>(printerCMYK >> (8 * i));
        header[140 * 4 + i] = static_cast<char>(compositeWord >> (8 * i));
        header[552 + i] = static_cast<char>(states[i]);
    }
    return header;
}

// A "head" chunk naming the monitor's and the printer CMYK's profiles.
inline std::string DeviceTable(std::string_view monitor, std::string_view printerCMYK) {
    std::string head(kColorFileHeadBytes, '\0');
    head.replace(136, monitor.size(), monitor);
    head.replace(2416, printerCMYK.size(), printerCMYK);
    return head;
}

// Puts the colour module's state back before and after each test.
class ColourTest : public ::testing::Test {
  protected:
    ColourTest() : sinkScope_(&messages) { Reset(); }
    ~ColourTest() override {
        Reset();
        platform::SetSettingsStore(nullptr);
    }
    static void Reset() {
        ClrForgetColourManagement();
        platform::SetProfileLibrary(nullptr);
        ClrForgetHostConfig();
        ClrForgetProfileCatalogue();
        // The module's composite flag goes back to 0 the one way there is.
        ClrGetSettings() = ClrSettings{};
        ClrGetSettings().composite = 1;
        ClrSetKindsComposite(nullptr, 0);
        ClrGetSettings() = ClrSettings{};
        ClrSetManagedRowPath(nullptr);
        ClrSetInkCatalogueSource(nullptr);
        ClrSetHexachromeSource(nullptr);
        ClrSetUserInkSource(nullptr);
        SetResourceModule(nullptr);
    }

    // A host installation: the settings name Config/ as the configuration
    // directory, whose application ini names the directories given.
    void InstallHost(const std::string& configIni) {
        settings.SetText("SOFTWARE\\Tavix\\Lumavecta\\8.0", "ConfigDir", folder.Path() + "Config");
        platform::SetSettingsStore(&settings);
        folder.Write("Config/tavixapp.ini", configIni);
    }
    // An installation whose colour directory holds the catalogue.
    void InstallCatalogue(const std::string& catalogue) {
        InstallHost("[Config]\nColorDir=../Color\n");
        folder.Write("Config/Color.ini",
                     "[Color Calibration]\nSystemColorProfile=C:\\Elsewhere\\system.ccm\n");
        folder.Write("Color/system.ccm", catalogue);
    }

    ScratchFolder folder;
    platform::MemorySettingsStore settings;
    platform::RecordingMessageSink messages;

  private:
    platform::ScopedMessageSink sinkScope_;
};

// A managed row path that records the kinds asked for and answers as told.
class RecordingManagedPath : public ManagedRowPath {
  public:
    bool EvaluateKind(const ClrKindsTable*, int kind, RowLayout from, RowLayout to, const RowBlock& rows,
                      bool) override {
        kinds.push_back(kind);
        if (!answer) return false;
        const int bytes = to == RowLayout::kCMYK ? 4 : 3;
        for (int y = 0; y < rows.rows; ++y) {
            for (int x = 0; x < rows.width * bytes; ++x)
                rows.destination[y * rows.destinationStride + x] = 0x5A;
        }
        (void)from;
        return true;
    }
    bool RGBToHexachrome(const ClrKindsTable*, const RowBlock&) override { return false; }
    bool DisplayRowsWithProof(const ClrKindsTable*, int, int, const RowBlock&, int) override { return false; }
    bool LabRowsThroughHostProfile(const ClrKindsTable*, const RowBlock&) override { return false; }

    std::vector<int> kinds;
    bool answer = true;
};

// A colour of the user palette (palette kind 16) at a tint.
inline ColorRecord UserPaletteTint(ColorRecord c, int tint) {
    c.SetPaletteKind(kPaletteKindUserInk);
    c.SetTint(static_cast<std::uint8_t>(tint));
    return c;
}

}  // namespace colour::testing
