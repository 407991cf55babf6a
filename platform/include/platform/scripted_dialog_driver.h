// A driver that plays a fixed list of user actions, for tests and for tools
// that know beforehand what the user wants. It remembers which actions the
// dialog took, so a test can tell a refused click from an accepted one.
#ifndef PLATFORM_SCRIPTED_DIALOG_DRIVER_H
#define PLATFORM_SCRIPTED_DIALOG_DRIVER_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialog.h"

namespace platform {

class ScriptedDialogDriver : public DialogDriver {
  public:
    ScriptedDialogDriver& Click(int32_t id);
    ScriptedDialogDriver& Choose(int32_t id, int32_t index);
    ScriptedDialogDriver& Type(int32_t id, std::string text);
    ScriptedDialogDriver& Close();
    // Looks at the dialog at this point of the script.
    ScriptedDialogDriver& Observe(std::function<void(const Dialog&)> observer);

    void Play(Dialog& dialog) override;

    // One entry per action played: whether the dialog took it.
    const std::vector<bool>& Accepted() const { return accepted_; }
    // How many times the driver was asked to play.
    int32_t Runs() const { return runs_; }

  private:
    std::vector<std::function<bool(Dialog&)>> actions_;
    std::vector<bool> accepted_;
    int32_t runs_ = 0;
};

}  // namespace platform

#endif  // PLATFORM_SCRIPTED_DIALOG_DRIVER_H
