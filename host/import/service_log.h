// The call-log line of one service call: written when the call comes, its
// answer added when it returns.
#ifndef HOST_IMPORT_SERVICE_LOG_H
#define HOST_IMPORT_SERVICE_LOG_H

#include <cstddef>
#include <string>

#include "host/import/import_host.h"

namespace host::import {

// The texts come as functions that make them, called only while the log
// records: a host run for a user does not format what it does not keep.
struct Logged {
    template <typename MakeText>
    explicit Logged(MakeText&& text) : import(CurrentImport()) {
        if (Recording()) line = import->Log().Line(text());
    }
    template <typename MakeText>
    void Result(MakeText&& text) const {
        if (Recording()) import->Log().AppendTo(line, " -> " + std::string(text()));
    }
    void Result(const char* text) const {
        if (Recording()) import->Log().AppendTo(line, std::string(" -> ") + text);
    }
    bool Recording() const { return import != nullptr && import->Log().Recording(); }
    // The import side of the host the call came through, or null.
    ImportHost* import;
    size_t line = 0;
};

}  // namespace host::import

#endif  // HOST_IMPORT_SERVICE_LOG_H
