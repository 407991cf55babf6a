// The RIFF reader on damaged files, and the catalogue queries over fixtures
// written by the tests.
#include "colour/profile_catalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "colour/riff.h"
#include "colour_fixtures.h"

namespace colour {
namespace {

using testing::ColourTest;
using testing::CommonHeader;
using testing::DeviceTable;
using testing::RiffWriter;

// The file's bytes in a heap block of exactly their size, so that a read past
// the end is caught by the address sanitizer as well as by the reader.
struct ExactBytes {
    explicit ExactBytes(const std::string& bytes)
        : data(new std::uint8_t[bytes.size()]), source(data.get(), bytes.size()) {
        std::memcpy(data.get(), bytes.data(), bytes.size());
    }
    std::unique_ptr<std::uint8_t[]> data;
    MemoryByteSource source;
};

TEST(RiffReader, WalksChunksAndRefusesLengthsPastTheEnd) {
    const std::string good = RiffWriter("sp71").Chunk("odd!", "abc").Chunk("comh", "0123456789").Bytes();
    {
        ExactBytes file(good);
        RiffReader reader(file.source);
        ASSERT_TRUE(reader.OpenForm("sp71"));
        RiffChunk chunk;
        ASSERT_TRUE(reader.FindChunk("comh", &chunk));  // past a chunk padded to an even length
        EXPECT_EQ(chunk.size, 10u);
        char text[10];
        ASSERT_TRUE(reader.ReadChunk(chunk, text, sizeof text));
        EXPECT_EQ(std::string(text, 10), "0123456789");
        EXPECT_FALSE(reader.ReadChunk(chunk, text, 11));
        EXPECT_FALSE(reader.FindChunk("head", &chunk));
    }
    struct Damaged {
        const char* name;
        std::string bytes;
        bool opens;
    };
    const Damaged damaged[] = {
        {"other form", RiffWriter("sp72").Chunk("comh", "x").Bytes(), false},
        {"not RIFF", "RIFX" + good.substr(4), false},
        {"short header", good.substr(0, 11), false},
        {"empty", "", false},
        {"form length below its type", RiffWriter("sp71").Chunk("comh", "x").Bytes(3), false},
        {"chunk longer than the file", RiffWriter("sp71").ChunkWithSize("comh", "0123", 0xFFFFFFF0u).Bytes(),
         true},
        {"chunk cut by the file's end", good.substr(0, good.size() - 1), true},
        {"chunk past the form's end", RiffWriter("sp71").Chunk("comh", "0123456789").Bytes(12), true},
        {"chunk header cut off", good.substr(0, 12 + 8 + 4 + 5), true},
    };
    for (const Damaged& d : damaged) {
        ExactBytes file(d.bytes);
        RiffReader reader(file.source);
        EXPECT_EQ(reader.OpenForm("sp71"), d.opens) << d.name;
        RiffChunk chunk;
        EXPECT_FALSE(reader.FindChunk("comh", &chunk)) << d.name;
    }
    // A form that claims more than the file holds is walked as far as the file goes.
    ExactBytes longForm(RiffWriter("sp71").Chunk("comh", "ab").Bytes(1000));
    RiffReader reader(longForm.source);
    ASSERT_TRUE(reader.OpenForm("sp71"));
    RiffChunk chunk;
    EXPECT_TRUE(reader.FindChunk("comh", &chunk));
}

class Catalogue : public ColourTest {
  protected:
    std::string Catalog(std::uint32_t printerCMYK, std::uint32_t composite,
                        std::array<std::uint8_t, 4> states) {
        return RiffWriter("sp71")
            .Chunk("comh", CommonHeader(printerCMYK, composite, states))
            .Chunk("head", DeviceTable("Mon Profile.icc", "Press.icc"))
            .Bytes();
    }
};

TEST_F(Catalogue, HeaderQueries) {
    InstallCatalogue(Catalog(1, 0, {2, 3, 2, 2}));
    EXPECT_EQ(ClrGetSystemProfilePath(), folder.Path() + "Color/system.ccm");
    ColorFileHeader header;
    ASSERT_EQ(ClrGetColorFileHeader(&header), 1);
    EXPECT_EQ(header.DeviceState(kDeviceMonitor), kDeviceOff);
    EXPECT_EQ(ClrPrinterIsCMYK(), 1);
    EXPECT_EQ(ClrCompositeDefault(), 1);

    // With colour management off every device counts as in use.
    EXPECT_EQ(ClrDeviceEnabled(kDeviceMonitor), 1);
    ClrForgetProfileCatalogue();
    ClrGetSettings().colourManagement = 1;
    EXPECT_EQ(ClrPrinterIsCMYK(), 1);
    EXPECT_EQ(ClrDeviceEnabled(kDeviceMonitor), 0);
    EXPECT_EQ(ClrDeviceEnabled(kDevicePrinterCMYK), 1);
    EXPECT_EQ(ClrDeviceEnabled(4), kClrUnsupportedDevice);

    // Answers are kept: a changed file is not read again.
    folder.Write("Color/system.ccm", Catalog(0, 1, {2, 2, 2, 2}));
    EXPECT_EQ(ClrPrinterIsCMYK(), 1);
    EXPECT_EQ(ClrDeviceEnabled(kDeviceMonitor), 0);
    ClrForgetProfileCatalogue();
    EXPECT_EQ(ClrPrinterIsCMYK(), 0);
    EXPECT_EQ(ClrCompositeDefault(), 0);
}

TEST_F(Catalogue, FilesThatAreNotCataloguesAnswerTheDefaults) {
    struct Row {
        const char* name;
        std::string bytes;
        int error;
    };
    const Row rows[] = {
        {"another form", RiffWriter("sp70").Chunk("comh", CommonHeader(1, 0, {2, 2, 2, 2})).Bytes(),
         kClrWrongForm},
        {"short header", RiffWriter("sp71").Chunk("comh", std::string(587, '\1')).Bytes(),
         kClrChunkReadFailed},
        {"no header", RiffWriter("sp71").Chunk("head", DeviceTable("a", "b")).Bytes(), kClrChunkReadFailed},
        {"header longer than the file",
         RiffWriter("sp71").ChunkWithSize("comh", CommonHeader(1, 0, {2, 2, 2, 2}), 600).Bytes(),
         kClrChunkReadFailed},
    };
    for (const Row& r : rows) {
        Reset();
        InstallCatalogue(r.bytes);
        ColorFile file;
        bool readOnly = false;
        const int opened = ClrOpenColorFile(ClrGetSystemProfilePath(), &file, &readOnly);
        if (r.error == kClrWrongForm) {
            EXPECT_EQ(opened, kClrWrongForm) << r.name;
        } else {
            ASSERT_EQ(opened, 0) << r.name;
            EXPECT_TRUE(readOnly);
            ColorFileHeader header;
            EXPECT_EQ(ClrReadColorFileHeader(file, &header), r.error) << r.name;
        }
        ColorFileHeader header;
        EXPECT_EQ(ClrGetColorFileHeader(&header), r.error) << r.name;
        EXPECT_EQ(ClrPrinterIsCMYK(), 0) << r.name;
        EXPECT_EQ(ClrCompositeDefault(), 0) << r.name;
    }
    ColorFile file;
    EXPECT_EQ(ClrOpenColorFile(folder.Path() + "missing.ccm", &file, nullptr), kClrFileMissing);
    EXPECT_EQ(ClrOpenColorFile(folder.Path(), &file, nullptr), kClrFileMissing);  // a folder is no file
}

TEST_F(Catalogue, WithoutAnInstallationThereIsNoCatalogue) {
    platform::SetSettingsStore(&settings);
    EXPECT_EQ(ClrGetSystemProfilePath(), "");
    EXPECT_EQ(ClrPrinterIsCMYK(), 0);
    EXPECT_EQ(ClrProfilePath("Monitor.cc"), "");
    ClrGetSettings().colourManagement = 1;
    EXPECT_EQ(ClrDeviceEnabled(kDeviceMonitor), 1);
    EXPECT_EQ(messages.entries.size(), 1u);  // the one configuration message
}

TEST_F(Catalogue, DeviceProfilesByName) {
    InstallCatalogue(Catalog(1, 0, {3, 2, 2, 2}));
    std::string name;
    ASSERT_EQ(ClrReadColorFileHead(kDeviceMonitor, &name, false), 1);
    EXPECT_EQ(name, "Mon Profile.icc");
    ASSERT_EQ(ClrReadColorFileHead(kDevicePrinterCMYK, &name, true), 1);
    EXPECT_EQ(name, folder.Path() + "Color/Press.icc");
    EXPECT_EQ(ClrProfilePath("Lab.CC"), folder.Path() + "Color/Lab.CC");
    EXPECT_EQ(ClrReadColorFileHead(kDeviceScanner, &name, false), 0);     // off
    EXPECT_EQ(ClrReadColorFileHead(kDevicePrinterRGB, &name, false), 0);  // names no file
    EXPECT_EQ(ClrReadColorFileHead(4, &name, false), kClrUnsupportedDevice);

    // A name that does not end inside the chunk is refused.
    std::string head = DeviceTable("", "");
    head.replace(3672, 4048 - 3672, std::string(4048 - 3672, 'n'));
    ClrForgetProfileCatalogue();
    folder.Write(
        "Color/system.ccm",
        RiffWriter("sp71").Chunk("comh", CommonHeader(0, 0, {2, 2, 2, 2})).Chunk("head", head).Bytes());
    EXPECT_EQ(ClrReadColorFileHead(kDeviceScanner, &name, false), kClrChunkReadFailed);
}

TEST_F(Catalogue, DefaultProfilesAreCopiedOncePerType) {
    InstallCatalogue(Catalog(1, 0, {2, 2, 2, 2}));
    const std::string profile(3000, 'p');
    folder.Write("Color/Mon Profile.icc", profile);
    const std::string target = folder.Path() + "Color/Monitor.cc";
    EXPECT_EQ(ClrSetDefaultProfile(nullptr, "mICC", target, 0), 0);
    EXPECT_EQ(folder.Read("Color/Monitor.cc"), profile);
    folder.Write("Color/Mon Profile.icc", "changed");
    EXPECT_EQ(ClrSetDefaultProfile(nullptr, "mICC", target, 0), 0);
    EXPECT_EQ(folder.Read("Color/Monitor.cc"), profile);

    // The printer's file is missing: nothing is copied, and the next call tries again.
    folder.Write("Color/PrnCMYK.cc", "old");
    EXPECT_EQ(ClrSetDefaultProfile(nullptr, "4ICC", folder.Path() + "Color/PrnCMYK.cc", 0),
              kClrHeaderUnavailable);
    EXPECT_EQ(folder.Read("Color/PrnCMYK.cc"), "old");
    folder.Write("Color/Press.icc", "press");
    EXPECT_EQ(ClrSetDefaultProfile(nullptr, "4ICC", folder.Path() + "Color/PrnCMYK.cc", 0), 0);
    EXPECT_EQ(folder.Read("Color/PrnCMYK.cc"), "press");
    EXPECT_EQ(ClrSetDefaultProfile(nullptr, "xICC", target, 0), kClrUnsupportedDevice);
}

TEST_F(Catalogue, AProfileCopiedOntoItselfIsKept) {
    InstallCatalogue(Catalog(1, 0, {2, 2, 2, 2}));
    folder.Write("Color/Mon Profile.icc", "same");
    EXPECT_EQ(ClrSetDefaultProfile(nullptr, "mICC", folder.Path() + "Color/MON PROFILE.ICC", 0), 0);
    EXPECT_EQ(folder.Read("Color/Mon Profile.icc"), "same");
}

}  // namespace
}  // namespace colour
