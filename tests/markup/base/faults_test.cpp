// The fault family and the status-code and URL texts of the string table.
#include "markup/faults.h"

#include <gtest/gtest.h>

#include <string>

#include "markup/return_codes.h"
#include "markup/string.h"

namespace markup {
namespace {

template <class Raised, class Handler>
bool Catches() {
    try {
        throw Raised();
    } catch (const Handler&) {
        return true;
    } catch (...) {
        return false;
    }
}

TEST(FaultTest, HandlersCatchTheirFamily) {
    EXPECT_TRUE((Catches<MemoryAllocationFault, RuntimeFault>()));
    EXPECT_TRUE((Catches<ReadFault, RuntimeFault>()));
    EXPECT_TRUE((Catches<ResourceAllocationFault, RuntimeFault>()));
    EXPECT_FALSE((Catches<InvalidArgumentFault, RuntimeFault>()));
    EXPECT_TRUE((Catches<IllegalUsageFault, LogicFault>()));
    EXPECT_TRUE((Catches<InvalidArgumentFault, LogicFault>()));
    EXPECT_FALSE((Catches<MemoryAllocationFault, LogicFault>()));
    EXPECT_TRUE((Catches<ReadFault, IOFault>()));
    EXPECT_TRUE((Catches<MemoryAllocationFault, BadAllocationFault>()));
    EXPECT_FALSE((Catches<ReadFault, BadAllocationFault>()));
    EXPECT_TRUE((Catches<ResourceAllocationFault, Fault>()));
    EXPECT_TRUE((Catches<IllegalUsageFault, Fault>()));
}

struct Text {
    unsigned id;
    const char* text;
};

const Text kTexts[] = {
    {9920, "localhost"},
    {9921, "ftp:"},
    {9922, "http:"},
    {9923, "file:"},
    {9924, "mailto:"},
    {kErr_None, "No Error has occurred. (kErr_None)"},
    {kErr_URLInvalid, "Given URL is invalid. (kErr_URLInvalid)"},
    {kErr_OutOfMemory,
     "We've run out of memory. This error should never appear as it should be caught by the an exception "
     "throw "
     "by new,(kErr_OutOfMemory)"},
    {kErr_StreamRead, "Error Reading File. (kErr_StreamRead)"},
    {kErr_StreamWrite, "An error has occurred while writing to a file. (kErr_StreamWrite)"},
    {kErr_StreamSeek, "Error occurred during a seek in a file. (kErr_StreamSeek)"},
    {kErr_StreamFileNotFound, "Requested file could not be found. (kErr_StreamFileNotFound)"},
    {kErr_StreamWriteOnly, "Attempted to write to a read only stream. (kErr_StreamWriteOnly)"},
    {kErr_StreamIllegalChars, "The path contained illegal characters. (kErr_StreamIllegalChars)"},
    {kErr_StreamReadOnly, "Attempted to read from a write only stream. (kErr_StreamReadOnly)"},
    {kErr_StreamAccessDenied, "Could not access file. (kErr_StreamAccessDenied)"},
    {kErr_StreamDiskIsFull, "The Disk Is Full. (kErr_StreamDiskIsFull)"},
    {kErr_StreamInvalidFile, "The file is invalid. (kErr_StreamInvalidFile)"},
    {kErr_StreamHardwareIO, "Hardware I/O Error. (kErr_StreamHardwareIO)"},
    {kErr_StreamCantRemoveDir, "Current Working Directory Cannot Be Removed. (kErr_StreamCantRemoveDir)"},
    {kErr_StreamEOF, "End of File Error. (kErr_StreamEOF)"},
    {kErr_StreamBadPath, "Bad Path.  (kErr_StreamBadPath)"},
    {kErr_StreamTooManyFiles, "Too many files are open. (kErr_StreamTooManyFiles)"},
    {kErr_StreamDirectoryFull,
     "No more entries in Directory File Table. It's Full. (kErr_StreamDirectoryFull)"},
};

TEST(StatusTextTest, EveryIdLoadsItsExactText) {
    for (const Text& t : kTexts) {
        String s;
        EXPECT_EQ(s.LoadString(t.id), std::string(t.text).size()) << t.id;
        EXPECT_EQ(s, t.text) << t.id;
    }
}

TEST(StatusTextTest, CodesAreTheStringIds) {
    EXPECT_EQ(kErr_None, 9930);
    EXPECT_EQ(kErr_StreamDirectoryFull, 9948);
    EXPECT_EQ(sizeof(ReturnCodeEnum), 4u);
    String s;
    s.LoadString(9946);
    EXPECT_NE(std::string(s.Text()).find("Bad Path.  ("), std::string::npos);
}

}  // namespace
}  // namespace markup
