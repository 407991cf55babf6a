// The system colour profile from arbitrary bytes: the RIFF walk over the
// bytes themselves, then every catalogue query over them as the installed
// catalogue file. Never a crash, never a read past the bytes.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "colour/profile_catalogue.h"
#include "colour/riff.h"
#include "colour/settings.h"
#include "platform/memory_settings_store.h"
#include "platform/messages.h"
#include "platform/settings_store.h"

namespace {

struct Installation {
    Installation() {
        std::string pattern = (std::filesystem::temp_directory_path() / "colour-fuzzXXXXXX").string();
        root = ::mkdtemp(pattern.data());
        std::filesystem::create_directories(root + "/Config");
        std::filesystem::create_directories(root + "/Color");
        std::ofstream(root + "/Config/tavixapp.ini") << "[Config]\nColorDir=../Color\n";
        std::ofstream(root + "/Config/Color.ini") << "[Color Calibration]\nSystemColorProfile=system.ccm\n";
        settings.SetText("SOFTWARE\\Tavix\\Lumavecta\\8.0", "ConfigDir", root + "/Config");
        platform::SetSettingsStore(&settings);
        platform::SetMessageSink(&messages);
        colour::ClrGetSettings().colourManagement = 1;
    }
    std::string root;
    platform::MemorySettingsStore settings;
    platform::RecordingMessageSink messages;  // kept from the terminal, emptied each run
};

bool PlainName(const std::string& name) {
    return !name.empty() && name.find_first_of("/\\") == std::string::npos && name != "." && name != "..";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Installation installation;
    installation.messages.entries.clear();

    colour::MemoryByteSource bytes(data, size);
    colour::RiffReader reader(bytes);
    if (reader.OpenForm("sp71")) {
        colour::RiffChunk chunk;
        std::uint8_t buffer[64];
        for (const char* id : {"comh", "head", "RIFF", "\0\0\0\0"}) {
            if (reader.FindChunk(std::string_view(id, 4), &chunk))
                reader.ReadChunk(chunk, buffer, std::min<std::uint32_t>(chunk.size, sizeof buffer));
        }
    }

    {
        std::ofstream file(installation.root + "/Color/system.ccm", std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    colour::ClrForgetProfileCatalogue();
    colour::ColorFileHeader header;
    colour::ClrGetColorFileHeader(&header);
    colour::ClrPrinterIsCMYK();
    colour::ClrCompositeDefault();
    for (int type : {colour::kDeviceMonitor, colour::kDevicePrinterRGB, colour::kDeviceScanner,
                     colour::kDevicePrinterCMYK, 4}) {
        colour::ClrDeviceEnabled(type);
        std::string name;
        colour::ClrReadColorFileHead(type, &name, false);
        // Copy only profiles that lie in the colour folder: a catalogue may name any file.
        if (type == colour::kDeviceMonitor && PlainName(name))
            colour::ClrSetDefaultProfile(nullptr, "mICC", installation.root + "/Color/Monitor.cc", 0);
        colour::ClrReadColorFileHead(type, &name, true);
    }
    return 0;
}
