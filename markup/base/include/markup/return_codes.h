// Status codes of the engine and the ids of its own string table.
//
// A status code is the id of the string that describes it, so a caller that
// shows one to the user loads its text with String::LoadString(code).
#pragma once

#include <cstdint>

namespace markup {

enum ReturnCodeEnum : std::int32_t {
    kErr_None = 9930,
    kErr_URLInvalid = 9931,
    kErr_OutOfMemory = 9932,
    kErr_StreamRead = 9933,
    kErr_StreamWrite = 9934,
    kErr_StreamSeek = 9935,
    kErr_StreamFileNotFound = 9936,
    kErr_StreamWriteOnly = 9937,
    kErr_StreamIllegalChars = 9938,
    kErr_StreamReadOnly = 9939,
    kErr_StreamAccessDenied = 9940,
    kErr_StreamDiskIsFull = 9941,
    kErr_StreamInvalidFile = 9942,
    kErr_StreamHardwareIO = 9943,
    kErr_StreamCantRemoveDir = 9944,
    kErr_StreamEOF = 9945,
    kErr_StreamBadPath = 9946,
    kErr_StreamTooManyFiles = 9947,
    kErr_StreamDirectoryFull = 9948,
};

// URL texts kept in the same string table.
enum URLStringId : unsigned {
    kStr_Localhost = 9920,
    kStr_SchemeFtp = 9921,
    kStr_SchemeHttp = 9922,
    kStr_SchemeFile = 9923,
    kStr_SchemeMailto = 9924,
};

// Puts the engine's string table on the resource chain. Idempotent; the
// operations that load strings call it themselves.
void RegisterEngineStrings();

// The engine's own text for an id, or null (no look-up along the chain).
const char* EngineStringText(unsigned id);

}  // namespace markup
