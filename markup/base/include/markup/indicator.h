// Indicator: the one progress indicator of the engine, a window with a line
// of text and a progress bar shown while a long parse runs.
#pragma once

#include <cstdint>

#include "markup/singleton.h"
#include "markup/string.h"

namespace markup {

class IndicatorDlg;

class Indicator {
  public:
    // Only through Instance(); raises IllegalUsageFault otherwise.
    Indicator();
    virtual ~Indicator();

    static Indicator& Instance() { return Singleton<Indicator>::Instance(); }

    // Shows the window; nothing when it is shown already.
    void Show();
    // Destroys the window.
    void Close();
    // False once the window has been destroyed, whoever destroyed it.
    bool IsShown() const { return dialog_ != nullptr; }
    void SetText(const String& text);
    // The bar's range is 0 to max, or 0 to 32767 when max is 32768 or more.
    void SetRange(std::int32_t max);
    // Scaled into 0 to 32767 when the range is larger than that.
    void SetPosition(std::int32_t position);
    std::int32_t GetRange() const { return range_; }
    std::int32_t GetPosition() const { return position_; }
    String& GetTextBuffer() { return text_; }

  private:
    friend class IndicatorDlg;

    std::int32_t range_ = 0;
    std::int32_t position_ = 0;
    String text_;
    IndicatorDlg* dialog_ = nullptr;
};

}  // namespace markup
