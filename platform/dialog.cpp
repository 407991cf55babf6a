// The live dialog: control state, the controls' own click behaviour, and the
// modal loop that hands the dialog to the parent window's driver.
#include "platform/dialog.h"

namespace platform {

DialogDriver* DriverOf(const void* parentWindow) {
    if (parentWindow == nullptr) return nullptr;
    const auto* window = static_cast<const Window*>(parentWindow);
    return window->magic == Window::kMagic ? window->driver : nullptr;
}

Dialog::Dialog(const DialogTemplate& dialogTemplate, DialogProcedure& procedure)
    : template_(dialogTemplate), procedure_(procedure), states_(dialogTemplate.controls.size()) {
    for (size_t i = 0; i < states_.size(); ++i) {
        states_[i].enabled = (template_.controls[i].style & kStyleDisabled) == 0;
    }
}

const ControlTemplate* Dialog::FindControl(int32_t id) const {
    if (id == kNoControlId) return nullptr;
    for (const ControlTemplate& control : template_.controls) {
        if (control.id == id) return &control;
    }
    return nullptr;
}

Dialog::ControlState* Dialog::State(int32_t id) {
    const ControlTemplate* control = FindControl(id);
    return control ? &states_[static_cast<size_t>(control - template_.controls.data())] : nullptr;
}

const Dialog::ControlState* Dialog::State(int32_t id) const {
    return const_cast<Dialog*>(this)->State(id);
}

void Dialog::SetChecked(int32_t id, bool checked) {
    if (ControlState* state = State(id)) state->checked = checked;
}

bool Dialog::IsChecked(int32_t id) const {
    const ControlState* state = State(id);
    return state != nullptr && state->checked;
}

void Dialog::SetEnabled(int32_t id, bool enabled) {
    if (ControlState* state = State(id)) state->enabled = enabled;
}

bool Dialog::IsEnabled(int32_t id) const {
    const ControlState* state = State(id);
    return state != nullptr && state->enabled;
}

int32_t Dialog::AddItem(int32_t id, std::string_view text) {
    const ControlTemplate* control = FindControl(id);
    if (control == nullptr || control->kind != ControlKind::ComboBox) return -1;
    ControlState* state = State(id);
    state->items.emplace_back(text);
    return static_cast<int32_t>(state->items.size() - 1);
}

int32_t Dialog::FindItemExact(int32_t id, std::string_view text) const {
    const ControlState* state = State(id);
    if (state == nullptr) return -1;
    for (size_t i = 0; i < state->items.size(); ++i) {
        if (state->items[i] == text) return static_cast<int32_t>(i);
    }
    return -1;
}

void Dialog::SetSelection(int32_t id, int32_t index) {
    ControlState* state = State(id);
    if (state == nullptr) return;
    if (index < 0 || index >= static_cast<int32_t>(state->items.size())) {
        state->selection = -1;
        state->editText.clear();
        return;
    }
    state->selection = index;
    state->editText = state->items[static_cast<size_t>(index)];
}

int32_t Dialog::Selection(int32_t id) const {
    const ControlState* state = State(id);
    return state ? state->selection : -1;
}

int32_t Dialog::ItemCount(int32_t id) const {
    const ControlState* state = State(id);
    return state ? static_cast<int32_t>(state->items.size()) : 0;
}

std::string Dialog::ItemText(int32_t id, int32_t index) const {
    const ControlState* state = State(id);
    if (state == nullptr || index < 0 || index >= static_cast<int32_t>(state->items.size())) return {};
    return state->items[static_cast<size_t>(index)];
}

std::string Dialog::EditText(int32_t id) const {
    const ControlState* state = State(id);
    return state ? state->editText : std::string();
}

void Dialog::End(int32_t result) {
    if (ended_) return;
    ended_ = true;
    result_ = result;
}

void Dialog::Initialise() {
    procedure_.Handle(*this, DialogMessage::Init, kNoControlId, Notification::None);
}

void Dialog::Notify(int32_t id, Notification notification) {
    procedure_.Handle(*this, DialogMessage::Command, id, notification);
}

// Radio buttons group from the one that starts a group up to the next control
// that starts one.
void Dialog::UncheckRadioGroupOf(size_t index) {
    const auto& controls = template_.controls;
    size_t first = index;
    while (first > 0 && (controls[first].style & kStyleGroupStart) == 0) --first;
    for (size_t i = first; i < controls.size(); ++i) {
        if (i > first && (controls[i].style & kStyleGroupStart) != 0) break;
        if (i != index && controls[i].kind == ControlKind::RadioButton) states_[i].checked = false;
    }
}

bool Dialog::Click(int32_t id) {
    if (ended_) return false;
    const ControlTemplate* control = FindControl(id);
    if (control == nullptr) return false;
    const size_t index = static_cast<size_t>(control - template_.controls.data());
    ControlState& state = states_[index];
    if (!state.enabled) return false;
    const bool automatic = (control->style & kStyleAuto) != 0;
    switch (control->kind) {
        case ControlKind::RadioButton:
            if (automatic) {
                UncheckRadioGroupOf(index);
                state.checked = true;
            }
            break;
        case ControlKind::CheckBox:
            if (automatic) state.checked = !state.checked;
            break;
        case ControlKind::PushButton:
            break;
        default:
            return false;
    }
    Notify(id, Notification::Clicked);
    return true;
}

bool Dialog::ChooseItem(int32_t id, int32_t index) {
    if (ended_) return false;
    const ControlTemplate* control = FindControl(id);
    if (control == nullptr || control->kind != ControlKind::ComboBox) return false;
    ControlState* state = State(id);
    if (!state->enabled || index < 0 || index >= static_cast<int32_t>(state->items.size())) return false;
    SetSelection(id, index);
    Notify(id, Notification::SelectionChanged);
    return true;
}

// Typing into the edit field of a combo box drops the list selection, even
// when the text happens to equal an entry: only picking from the list selects.
bool Dialog::TypeText(int32_t id, std::string_view text) {
    if (ended_) return false;
    const ControlTemplate* control = FindControl(id);
    if (control == nullptr || control->kind != ControlKind::ComboBox ||
        (control->style & kStyleDropDown) == 0) {
        return false;
    }
    ControlState* state = State(id);
    if (!state->enabled) return false;
    state->selection = -1;
    state->editText = std::string(text);
    Notify(id, Notification::EditChanged);
    return true;
}

void Dialog::Close() {
    if (ended_) return;
    if (procedure_.Handle(*this, DialogMessage::Close, kNoControlId, Notification::None) == 0) {
        Notify(kIdCancel, Notification::Clicked);
    }
}

int32_t RunModalDialog(const DialogTemplate& dialogTemplate, DialogProcedure& procedure,
                       const void* parentWindow) {
    DialogDriver* driver = DriverOf(parentWindow);
    if (driver == nullptr) return kDialogFailed;
    Dialog dialog(dialogTemplate, procedure);
    dialog.Initialise();
    if (!dialog.Ended()) driver->Play(dialog);
    // A driver that gave up leaves the dialog open: close it, and if its code
    // ignores even that, end it as cancelled so the caller never waits forever.
    if (!dialog.Ended()) dialog.Close();
    if (!dialog.Ended()) dialog.End(kIdCancel);
    return dialog.Result();
}

}  // namespace platform
