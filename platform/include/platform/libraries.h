// Shared libraries loaded by file name at run time, and the folder of the
// code that asks (where its companion libraries are installed beside it).
#pragma once

#include <string>

namespace platform {

// The folder, with a trailing "/", of the shared object (or program) that
// holds this code; empty when it cannot be told.
std::string OwnFolder();

// Loads a library (all symbols resolved now, kept local); null on failure.
void* LoadLibrary(const std::string& path);
// An entry point of a loaded library, or null.
void* LibraryEntry(void* library, const char* name);
// 1 when the library was released, 0 for null or a failure.
int FreeLibrary(void* library);

}  // namespace platform
