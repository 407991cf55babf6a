// What the module asked of the host: every service and callback call, in
// order, with its arguments, for tests to read.
#ifndef HOST_CALL_LOG_H
#define HOST_CALL_LOG_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace host {

// One argument: integers (and handles) widened, reals, or addresses.
using CallArg = std::variant<int64_t, double, const void*>;

template <typename T>
CallArg ToCallArg(T value) {
    if constexpr (std::is_pointer_v<T>) {
        return static_cast<const void*>(value);
    } else if constexpr (std::is_floating_point_v<T>) {
        return static_cast<double>(value);
    } else {
        return static_cast<int64_t>(value);
    }
}

struct RecordedCall {
    std::string name;
    std::vector<CallArg> args;

    int64_t Int(size_t i) const { return std::get<int64_t>(args.at(i)); }
    double Real(size_t i) const { return std::get<double>(args.at(i)); }
    const void* Pointer(size_t i) const { return std::get<const void*>(args.at(i)); }
};

class CallLog {
  public:
    void Record(std::string name, std::vector<CallArg> args);
    // A host that runs for a user rather than a test keeps no log: it would
    // grow with every object of the drawing.
    void SetRecording(bool recording) { recording_ = recording; }
    bool Recording() const { return recording_; }
    const std::vector<RecordedCall>& Calls() const { return calls_; }
    std::vector<RecordedCall> CallsNamed(std::string_view name) const;
    size_t Count(std::string_view name) const;
    // The names in order, for comparing whole sequences.
    std::vector<std::string> Names() const;
    void Clear() { calls_.clear(); }

  private:
    std::vector<RecordedCall> calls_;
    bool recording_ = true;
};

}  // namespace host

#endif  // HOST_CALL_LOG_H
