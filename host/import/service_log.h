// The call-log line of one service call: written when the call comes, its
// answer added when it returns.
#ifndef HOST_IMPORT_SERVICE_LOG_H
#define HOST_IMPORT_SERVICE_LOG_H

#include <cstddef>
#include <string>

#include "host/import/import_host.h"

namespace host::import {

struct Logged {
    explicit Logged(const std::string& text) : import(CurrentImport()) {
        if (import != nullptr) line = import->Log().Line(text);
    }
    void Result(const std::string& text) const {
        if (import != nullptr) import->Log().AppendTo(line, " -> " + text);
    }
    // The import side of the host the call came through, or null.
    ImportHost* import;
    size_t line = 0;
};

}  // namespace host::import

#endif  // HOST_IMPORT_SERVICE_LOG_H
