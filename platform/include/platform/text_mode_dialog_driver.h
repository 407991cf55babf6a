// A driver that shows any dialog as questions on a terminal: it walks the
// controls in template order, asks about each group of radio buttons, each
// check box, each combo box and finally the push buttons, and acts on the
// answers read line by line. An empty answer keeps what the dialog shows; the
// end of the input gives up, which closes the dialog as cancelled.
#ifndef PLATFORM_TEXT_MODE_DIALOG_DRIVER_H
#define PLATFORM_TEXT_MODE_DIALOG_DRIVER_H

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>

#include "platform/dialog.h"

namespace platform {

class TextModeDialogDriver : public DialogDriver {
  public:
    // Answers come from `in`; questions go to `out`.
    TextModeDialogDriver(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

    void Play(Dialog& dialog) override;

  private:
    bool AskRadioGroup(Dialog& dialog, size_t first, size_t end);
    bool AskCheckBox(Dialog& dialog, const ControlTemplate& control);
    bool AskComboBox(Dialog& dialog, const ControlTemplate& control);
    bool AskButtons(Dialog& dialog, size_t first, size_t end);
    // Reads one answer; false at the end of the input.
    bool ReadAnswer(std::string& answer);

    std::istream& in_;
    std::ostream& out_;
};

}  // namespace platform

#endif  // PLATFORM_TEXT_MODE_DIALOG_DRIVER_H
