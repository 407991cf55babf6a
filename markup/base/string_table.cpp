// The engine's compiled-in string table: status messages and URL texts.
#include "markup/return_codes.h"
#include "platform/resource_strings.h"

namespace markup {

namespace {

constexpr platform::StringResource kEngineStrings[] = {
    {kStr_Localhost, "localhost"},
    {kStr_SchemeFtp, "ftp:"},
    {kStr_SchemeHttp, "http:"},
    {kStr_SchemeFile, "file:"},
    {kStr_SchemeMailto, "mailto:"},
    {kErr_None, "No Error has occurred. (kErr_None)"},
    {kErr_URLInvalid, "Given URL is invalid. (kErr_URLInvalid)"},
    {kErr_OutOfMemory,
     "We've run out of memory. This error should never appear as it should be caught by the an exception "
     "throw by new,(kErr_OutOfMemory)"},
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

}  // namespace

void RegisterEngineStrings() {
    static const bool registered = [] {
        platform::RegisterStringTable(kEngineStrings);
        return true;
    }();
    (void)registered;
}

const char* EngineStringText(unsigned id) {
    // Every text above is a literal, so its view ends in a terminator.
    const platform::StringResource* entry = platform::FindString(kEngineStrings, id);
    return entry != nullptr ? entry->text.data() : nullptr;
}

}  // namespace markup
