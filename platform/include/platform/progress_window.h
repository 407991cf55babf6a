// The window of the progress indicator: a line of text and a progress bar.
//
// The window may be destroyed by its owner (Destroy) or from outside (the
// user closing it); either way the listener hears of it last, and may delete
// the window object in that call.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class ProgressWindowListener {
  public:
    virtual ~ProgressWindowListener() = default;
    virtual void WindowDestroyed() = 0;
};

class ProgressWindow {
  public:
    explicit ProgressWindow(ProgressWindowListener& listener) : listener_(&listener) {}
    virtual ~ProgressWindow() = default;
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    virtual void SetText(const std::string& text) = 0;
    // The bar runs from low to high; positions are in that range.
    virtual void SetRange(std::int32_t low, std::int32_t high) = 0;
    virtual void SetPosition(std::int32_t position) = 0;
    // Takes the window down and tells the listener. Nothing after it.
    void Destroy();
    bool Destroyed() const { return listener_ == nullptr; }

  protected:
    // Removes the window from the screen.
    virtual void TakeDown() {}

  private:
    ProgressWindowListener* listener_;
};

// Draws on the standard error when that is a terminal; silent otherwise.
class TerminalProgressWindow : public ProgressWindow {
  public:
    explicit TerminalProgressWindow(ProgressWindowListener& listener);
    void SetText(const std::string& text) override;
    void SetRange(std::int32_t low, std::int32_t high) override;
    void SetPosition(std::int32_t position) override;

  protected:
    void TakeDown() override;

  private:
    void Draw();
    bool terminal_;
    bool drawn_ = false;
    std::string text_;
    std::int32_t low_ = 0;
    std::int32_t high_ = 100;
    std::int32_t position_ = 0;
};

// Records what the engine sent, in order.
class RecordingProgressWindow : public ProgressWindow {
  public:
    struct Log {
        std::vector<std::string> texts;
        std::vector<std::pair<std::int32_t, std::int32_t>> ranges;
        std::vector<std::int32_t> positions;
        int created = 0;
        int destroyed = 0;
        RecordingProgressWindow* live = nullptr;  // the window now shown
    };
    RecordingProgressWindow(ProgressWindowListener& listener, Log& log);
    ~RecordingProgressWindow() override;
    void SetText(const std::string& text) override { log_.texts.push_back(text); }
    void SetRange(std::int32_t low, std::int32_t high) override { log_.ranges.emplace_back(low, high); }
    void SetPosition(std::int32_t position) override { log_.positions.push_back(position); }

  protected:
    void TakeDown() override { ++log_.destroyed; }

  private:
    Log& log_;
};

using ProgressWindowFactory = std::function<std::unique_ptr<ProgressWindow>(ProgressWindowListener&)>;

// A new window for the listener, from the factory set (the terminal window
// by default).
std::unique_ptr<ProgressWindow> CreateProgressWindow(ProgressWindowListener& listener);
// An empty factory restores the default.
void SetProgressWindowFactory(ProgressWindowFactory factory);

}  // namespace platform
