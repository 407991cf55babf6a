// Terminal questions for a dialog's controls.
#include "platform/text_mode_dialog_driver.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <vector>

namespace platform {
namespace {

std::string Trim(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A choice number from 1 to count, or 0 when the answer is none.
size_t ParseChoice(const std::string& answer, size_t count) {
    size_t value = 0;
    const char* end = answer.data() + answer.size();
    auto [ptr, ec] = std::from_chars(answer.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 1 || value > count) return 0;
    return value;
}

// Position of the control after the run of same-kind controls starting at
// `first`; a control that starts a new group ends the run.
size_t RunEnd(std::span<const ControlTemplate> controls, size_t first) {
    size_t end = first + 1;
    while (end < controls.size() && controls[end].kind == controls[first].kind &&
           (controls[end].style & kStyleGroupStart) == 0) {
        ++end;
    }
    return end;
}

}  // namespace

bool TextModeDialogDriver::ReadAnswer(std::string& answer) {
    out_.flush();
    if (!std::getline(in_, answer)) return false;
    answer = Trim(answer);
    return true;
}

bool TextModeDialogDriver::AskRadioGroup(Dialog& dialog, size_t first, size_t end) {
    const auto controls = dialog.Template().controls;
    std::vector<const ControlTemplate*> buttons;
    size_t current = 0;
    for (size_t i = first; i < end; ++i) {
        buttons.push_back(&controls[i]);
        out_ << "  " << buttons.size() << ") " << controls[i].text;
        if (!dialog.IsEnabled(controls[i].id)) out_ << " (unavailable)";
        if (dialog.IsChecked(controls[i].id)) {
            out_ << " *";
            current = buttons.size();
        }
        out_ << '\n';
    }
    for (;;) {
        out_ << "Choose 1-" << buttons.size();
        if (current != 0) out_ << " [" << current << "]";
        out_ << ": ";
        std::string answer;
        if (!ReadAnswer(answer)) return false;
        if (answer.empty()) return true;
        const size_t choice = ParseChoice(answer, buttons.size());
        if (choice != 0 && dialog.Click(buttons[choice - 1]->id)) return true;
        out_ << "Please answer with the number of an available choice.\n";
    }
}

bool TextModeDialogDriver::AskCheckBox(Dialog& dialog, const ControlTemplate& control) {
    if (!dialog.IsEnabled(control.id)) {
        out_ << control.text << ": " << (dialog.IsChecked(control.id) ? "yes" : "no") << " (unavailable)\n";
        return true;
    }
    for (;;) {
        const bool checked = dialog.IsChecked(control.id);
        out_ << control.text << "? (y/n) [" << (checked ? 'y' : 'n') << "]: ";
        std::string answer;
        if (!ReadAnswer(answer)) return false;
        answer = Lower(answer);
        if (answer.empty()) return true;
        bool wanted;
        if (answer == "y" || answer == "yes") {
            wanted = true;
        } else if (answer == "n" || answer == "no") {
            wanted = false;
        } else {
            out_ << "Please answer y or n.\n";
            continue;
        }
        if (wanted != checked) dialog.Click(control.id);
        return true;
    }
}

bool TextModeDialogDriver::AskComboBox(Dialog& dialog, const ControlTemplate& control) {
    const int32_t count = dialog.ItemCount(control.id);
    if (!dialog.IsEnabled(control.id) || count == 0) return true;
    const int32_t selection = dialog.Selection(control.id);
    for (int32_t i = 0; i < count; ++i) {
        out_ << "  " << (i + 1) << ") " << dialog.ItemText(control.id, i) << (i == selection ? " *" : "")
             << '\n';
    }
    for (;;) {
        out_ << "Choose 1-" << count;
        if (selection >= 0) out_ << " [" << (selection + 1) << "]";
        out_ << ": ";
        std::string answer;
        if (!ReadAnswer(answer)) return false;
        if (answer.empty()) return true;
        size_t choice = ParseChoice(answer, static_cast<size_t>(count));
        if (choice == 0) {
            const int32_t found = dialog.FindItemExact(control.id, answer);
            if (found >= 0) choice = static_cast<size_t>(found) + 1;
        }
        if (choice != 0) {
            dialog.ChooseItem(control.id, static_cast<int32_t>(choice - 1));
            return true;
        }
        out_ << "Please answer with the number or the text of an entry.\n";
    }
}

bool TextModeDialogDriver::AskButtons(Dialog& dialog, size_t first, size_t end) {
    const auto controls = dialog.Template().controls;
    std::vector<const ControlTemplate*> buttons;
    size_t preset = 0;
    for (size_t i = first; i < end; ++i) {
        if (controls[i].kind != ControlKind::PushButton || !dialog.IsEnabled(controls[i].id)) continue;
        buttons.push_back(&controls[i]);
        if (controls[i].style & kStyleDefaultButton) preset = buttons.size();
    }
    if (buttons.empty()) return true;
    for (;;) {
        for (size_t i = 0; i < buttons.size(); ++i)
            out_ << (i ? "  " : "") << (i + 1) << ") " << buttons[i]->text;
        out_ << '\n' << "Press 1-" << buttons.size();
        if (preset != 0) out_ << " [" << preset << "]";
        out_ << ": ";
        std::string answer;
        if (!ReadAnswer(answer)) return false;
        size_t choice = answer.empty() ? preset : ParseChoice(answer, buttons.size());
        if (choice == 0) {
            for (size_t i = 0; i < buttons.size(); ++i) {
                if (Lower(std::string(buttons[i]->text)) == Lower(answer)) choice = i + 1;
            }
        }
        if (choice != 0) {
            dialog.Click(buttons[choice - 1]->id);
            return true;
        }
        out_ << "Please answer with the number or the name of a button.\n";
    }
}

void TextModeDialogDriver::Play(Dialog& dialog) {
    const auto controls = dialog.Template().controls;
    out_ << dialog.Template().caption << '\n';
    size_t i = 0;
    while (i < controls.size() && !dialog.Ended()) {
        const ControlTemplate& control = controls[i];
        bool more = true;
        size_t next = i + 1;
        switch (control.kind) {
            case ControlKind::GroupBox:
                out_ << "-- " << control.text << " --\n";
                break;
            case ControlKind::Label:
                out_ << control.text << '\n';
                break;
            case ControlKind::RadioButton:
                next = RunEnd(controls, i);
                more = AskRadioGroup(dialog, i, next);
                break;
            case ControlKind::CheckBox:
                more = AskCheckBox(dialog, control);
                break;
            case ControlKind::ComboBox:
                more = AskComboBox(dialog, control);
                break;
            case ControlKind::PushButton:
                // The buttons close the dialog, so they are asked about last, together.
                break;
        }
        if (!more) return;
        i = next;
    }
    if (!dialog.Ended()) AskButtons(dialog, 0, controls.size());
}

}  // namespace platform
