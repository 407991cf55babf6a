// Modal dialogs: a dialog template describes the controls, a live Dialog holds
// their state while it runs, the dialog's own code answers its messages
// through a DialogProcedure, and a DialogDriver plays the user.
//
// There is no window system behind this: the display a dialog appears on is
// the driver that its parent window carries. A dialog whose parent carries no
// driver cannot be created.
//
// A driver may live in the program that loaded a module while the dialog runs
// inside the module: both sides then use these classes, built from this one
// header, across the module boundary.
#ifndef PLATFORM_DIALOG_H
#define PLATFORM_DIALOG_H

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Position and size in dialog units.
struct DialogRect {
    int16_t x;
    int16_t y;
    int16_t width;
    int16_t height;
};

enum class ControlKind : uint8_t { GroupBox, Label, RadioButton, CheckBox, ComboBox, PushButton };

// Control style bits.
inline constexpr uint32_t kStyleGroupStart = 0x1;     // starts a group (radio buttons group up to the next)
inline constexpr uint32_t kStyleDisabled = 0x2;       // created disabled
inline constexpr uint32_t kStyleDefaultButton = 0x4;  // the button that Enter presses
inline constexpr uint32_t kStyleAuto = 0x8;           // check state follows clicks by itself
inline constexpr uint32_t kStyleDropDown = 0x10;      // combo box with an edit field and a list
inline constexpr uint32_t kStyleVerticalScroll = 0x20;

// Dialog style bits.
inline constexpr uint32_t kDialogPopup = 0x1;
inline constexpr uint32_t kDialogCaption = 0x2;
inline constexpr uint32_t kDialogModalFrame = 0x4;
inline constexpr uint32_t kDialogCentred = 0x8;
inline constexpr uint32_t kDialogForeground = 0x10;

inline constexpr int32_t kNoControlId = -1;

struct ControlTemplate {
    int32_t id;  // kNoControlId for static controls nobody addresses
    ControlKind kind;
    uint32_t style;
    std::string_view text;
    DialogRect rect;
};

struct DialogTemplate {
    int32_t id;
    std::string_view caption;
    DialogRect rect;
    std::string_view fontName;
    int32_t pointSize;
    uint32_t style;
    std::span<const ControlTemplate> controls;
};

// Standard command ids: the OK and Cancel buttons, and the results a dialog
// ends with when they are pressed.
inline constexpr int32_t kIdOk = 1;
inline constexpr int32_t kIdCancel = 2;

// The answer of a dialog that could not be created.
inline constexpr int32_t kDialogFailed = -1;

enum class DialogMessage { Init, Command, Close };
enum class Notification { None, Clicked, SelectionChanged, EditChanged };

class Dialog;

// The dialog's own code. Answers non-zero when it handled the message.
class DialogProcedure {
  public:
    virtual ~DialogProcedure() = default;
    virtual int32_t Handle(Dialog& dialog, DialogMessage message, int32_t controlId,
                           Notification notification) = 0;
};

// Plays the user on a running dialog: clicks, picks and types until the
// dialog ends or it gives up. Giving up closes the dialog like its close box.
class DialogDriver {
  public:
    virtual ~DialogDriver() = default;
    virtual void Play(Dialog& dialog) = 0;
};

// A window handle on this platform is the address of a Window; a dialog
// shown over it appears on its driver.
struct Window {
    static constexpr uint32_t kMagic = 0x57494e44;  // "WIND"
    uint32_t magic = kMagic;
    DialogDriver* driver = nullptr;
};

// The driver of the parent window handle, or null when it has none.
DialogDriver* DriverOf(const void* parentWindow);

// A dialog while it runs.
class Dialog {
  public:
    Dialog(const DialogTemplate& dialogTemplate, DialogProcedure& procedure);

    const DialogTemplate& Template() const { return template_; }
    const ControlTemplate* FindControl(int32_t id) const;

    // The program's side: what the dialog procedure does to its controls.
    void SetChecked(int32_t id, bool checked);
    bool IsChecked(int32_t id) const;
    void SetEnabled(int32_t id, bool enabled);
    bool IsEnabled(int32_t id) const;
    // Appends an entry to a combo box's list; answers its index, -1 when id is no combo box.
    int32_t AddItem(int32_t id, std::string_view text);
    // Index of the entry whose whole text equals `text`, -1 when none.
    int32_t FindItemExact(int32_t id, std::string_view text) const;
    void SetSelection(int32_t id, int32_t index);
    int32_t Selection(int32_t id) const;  // -1 when nothing is selected
    int32_t ItemCount(int32_t id) const;
    std::string ItemText(int32_t id, int32_t index) const;
    std::string EditText(int32_t id) const;  // what a combo box's edit field shows
    void End(int32_t result);
    bool Ended() const { return ended_; }
    int32_t Result() const { return result_; }

    // The user's side: what a driver does. Each acts as the control itself
    // would and then tells the procedure. Answers false, doing nothing, when
    // the control is missing, disabled or cannot take that action.
    bool Click(int32_t id);
    bool ChooseItem(int32_t id, int32_t index);
    bool TypeText(int32_t id, std::string_view text);
    // The close box: the procedure may answer Close; if it does not, that is Cancel.
    void Close();

    // Sends the initialisation message; called once before the driver plays.
    void Initialise();

  private:
    struct ControlState {
        bool checked = false;
        bool enabled = true;
        int32_t selection = -1;
        std::vector<std::string> items;
        std::string editText;
    };
    ControlState* State(int32_t id);
    const ControlState* State(int32_t id) const;
    void UncheckRadioGroupOf(size_t index);
    void Notify(int32_t id, Notification notification);

    const DialogTemplate& template_;
    DialogProcedure& procedure_;
    std::vector<ControlState> states_;
    bool ended_ = false;
    int32_t result_ = 0;
};

// Runs a modal dialog over the parent window's driver and answers the result
// it ended with; kDialogFailed when the parent carries no driver.
int32_t RunModalDialog(const DialogTemplate& dialogTemplate, DialogProcedure& procedure,
                       const void* parentWindow);

}  // namespace platform

#endif  // PLATFORM_DIALOG_H
