// Indicator and its dialog over the platform's progress window.
#include "markup/indicator.h"

#include <memory>

#include "platform/progress_window.h"

namespace markup {

namespace {
// The progress bar takes 16-bit ranges.
constexpr std::int32_t kBarMaximum = 32767;
}  // namespace

// Lives while its window does: when the window is destroyed, from either
// side, it tells the indicator and deletes itself.
class IndicatorDlg : public platform::ProgressWindowListener {
  public:
    explicit IndicatorDlg(Indicator& indicator)
        : indicator_(indicator), window_(platform::CreateProgressWindow(*this)) {}

    platform::ProgressWindow& Window() { return *window_; }

    void WindowDestroyed() override {
        if (indicator_.dialog_ == this) indicator_.dialog_ = nullptr;
        delete this;
    }

  private:
    ~IndicatorDlg() override = default;

    Indicator& indicator_;
    std::unique_ptr<platform::ProgressWindow> window_;
};

Indicator::Indicator() {
    Singleton<Indicator>::CheckConstruction();
}

Indicator::~Indicator() {
    Close();
}

void Indicator::Show() {
    if (dialog_) return;
    dialog_ = new IndicatorDlg(*this);
}

void Indicator::Close() {
    if (dialog_) dialog_->Window().Destroy();
}

void Indicator::SetText(const String& text) {
    text_ = text;
    if (dialog_) dialog_->Window().SetText(text_.Text());
}

void Indicator::SetRange(std::int32_t max) {
    range_ = max;
    if (dialog_) dialog_->Window().SetRange(0, max > kBarMaximum ? kBarMaximum : max);
}

void Indicator::SetPosition(std::int32_t position) {
    position_ = position;
    std::int32_t sent = position;
    if (range_ > kBarMaximum) {
        sent = static_cast<std::int32_t>(static_cast<double>(position) / range_ *
                                         static_cast<double>(kBarMaximum));
    }
    if (dialog_) dialog_->Window().SetPosition(sent);
}

}  // namespace markup
