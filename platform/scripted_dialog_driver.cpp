// Plays the script in order and stops once the dialog has ended.
#include "platform/scripted_dialog_driver.h"

#include <utility>

namespace platform {

ScriptedDialogDriver& ScriptedDialogDriver::Click(int32_t id) {
    actions_.emplace_back([id](Dialog& dialog) { return dialog.Click(id); });
    return *this;
}

ScriptedDialogDriver& ScriptedDialogDriver::Choose(int32_t id, int32_t index) {
    actions_.emplace_back([id, index](Dialog& dialog) { return dialog.ChooseItem(id, index); });
    return *this;
}

ScriptedDialogDriver& ScriptedDialogDriver::Type(int32_t id, std::string text) {
    actions_.emplace_back([id, text = std::move(text)](Dialog& dialog) { return dialog.TypeText(id, text); });
    return *this;
}

ScriptedDialogDriver& ScriptedDialogDriver::Close() {
    actions_.emplace_back([](Dialog& dialog) {
        dialog.Close();
        return true;
    });
    return *this;
}

ScriptedDialogDriver& ScriptedDialogDriver::Observe(std::function<void(const Dialog&)> observer) {
    actions_.emplace_back([observer = std::move(observer)](Dialog& dialog) {
        observer(dialog);
        return true;
    });
    return *this;
}

void ScriptedDialogDriver::Play(Dialog& dialog) {
    ++runs_;
    for (auto& action : actions_) {
        if (dialog.Ended()) break;
        accepted_.push_back(action(dialog));
    }
}

}  // namespace platform
