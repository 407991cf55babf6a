#include "host/call_log.h"

namespace host {

void CallLog::Record(std::string name, std::vector<CallArg> args) {
    if (!recording_) return;
    calls_.push_back({std::move(name), std::move(args)});
}

std::vector<RecordedCall> CallLog::CallsNamed(std::string_view name) const {
    std::vector<RecordedCall> found;
    for (const RecordedCall& call : calls_) {
        if (call.name == name) found.push_back(call);
    }
    return found;
}

size_t CallLog::Count(std::string_view name) const {
    size_t count = 0;
    for (const RecordedCall& call : calls_) count += call.name == name;
    return count;
}

std::vector<std::string> CallLog::Names() const {
    std::vector<std::string> names;
    names.reserve(calls_.size());
    for (const RecordedCall& call : calls_) names.push_back(call.name);
    return names;
}

}  // namespace host
