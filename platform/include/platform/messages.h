// Messages for the user: what the engines would show in a message box or a
// system-modal error box. The host application shows them; the tool writes
// them to standard error; tests record them. Whoever runs the engines
// installs a sink; without one, messages go to standard error.
#pragma once

#include <string>
#include <vector>

namespace platform {

enum class MessageKind { Information, Warning, Error };

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // `title` names the reporting part (may be empty); `text` is the message.
    virtual void Show(MessageKind kind, const std::string& title, const std::string& text) = 0;
};

// Shows a message through the installed sink.
void ShowMessage(MessageKind kind, const std::string& title, const std::string& text);

// Installs a sink (null restores standard error); answers the one it replaces.
MessageSink* SetMessageSink(MessageSink* sink);

// Keeps every message, for tests.
class RecordingMessageSink : public MessageSink {
  public:
    struct Entry {
        MessageKind kind;
        std::string title;
        std::string text;
    };
    void Show(MessageKind kind, const std::string& title, const std::string& text) override {
        entries.push_back({kind, title, text});
    }
    std::vector<Entry> entries;
};

// Installs a sink for one scope and restores the earlier one after it.
class ScopedMessageSink {
  public:
    explicit ScopedMessageSink(MessageSink* sink) : previous_(SetMessageSink(sink)) {}
    ~ScopedMessageSink() { SetMessageSink(previous_); }
    ScopedMessageSink(const ScopedMessageSink&) = delete;
    ScopedMessageSink& operator=(const ScopedMessageSink&) = delete;

  private:
    MessageSink* previous_;
};

}  // namespace platform
