// The check a file named by a document passes before it is opened: an
// external DTD or a linked style sheet is read only when it is a regular
// file of bounded size lying within one of the folders the caller allows
// (the document's own folder, the dictionary folder). A device, a FIFO or a
// folder is refused from its status alone, so that nothing blocks or reads
// without end; symbolic links and ".." are resolved before the containment
// test, so neither climbs out of an allowed folder.
#pragma once

#include <cstdint>
#include <vector>

#include "markup/string.h"

namespace markup {

// The largest external DTD or linked style sheet read.
inline constexpr std::uint64_t kMaxLinkedFileBytes = std::uint64_t{16} << 20;

enum class LinkedFileCheck {
    kReadable,    // may be opened and read whole
    kMissing,     // no such file
    kOutside,     // lies outside every allowed folder
    kNotRegular,  // a device, a FIFO, a socket or a folder
    kTooLarge,    // larger than the bound
};

// Empty folders in the list are skipped; an empty list allows no folder.
LinkedFileCheck CheckLinkedFile(const String& path, const std::vector<String>& folders,
                                std::uint64_t maxBytes = kMaxLinkedFileBytes);

// "it lies outside the document's and the dictionaries' folders", ...
const char* DescribeLinkedFileCheck(LinkedFileCheck check);

}  // namespace markup
