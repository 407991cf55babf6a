// The message sink and its standard-error default.
#include "platform/messages.h"

#include <atomic>
#include <cstdio>

namespace platform {
namespace {

class StandardErrorSink : public MessageSink {
  public:
    void Show(MessageKind kind, const std::string& title, const std::string& text) override {
        const char* label = kind == MessageKind::Error ? "error" : kind == MessageKind::Warning ? "warning" : "note";
        if (title.empty()) {
            std::fprintf(stderr, "%s: %s\n", label, text.c_str());
        } else {
            std::fprintf(stderr, "%s: %s: %s\n", label, title.c_str(), text.c_str());
        }
    }
};

StandardErrorSink standardError;
std::atomic<MessageSink*> installed{nullptr};

}  // namespace

void ShowMessage(MessageKind kind, const std::string& title, const std::string& text) {
    MessageSink* sink = installed.load();
    (sink ? *sink : static_cast<MessageSink&>(standardError)).Show(kind, title, text);
}

MessageSink* SetMessageSink(MessageSink* sink) { return installed.exchange(sink); }

}  // namespace platform
