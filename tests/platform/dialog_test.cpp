// The live dialog: how its controls answer clicks, picks and typing, and how
// a modal run ends whatever its driver does.
#include "platform/dialog.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "platform/resources.h"
#include "platform/scripted_dialog_driver.h"
#include "platform/text_mode_dialog_driver.h"

namespace {

using namespace platform;

// Two radio groups, a check box that starts disabled, a drop-down list and OK/Cancel.
constexpr ControlTemplate kControls[] = {
    {kNoControlId, ControlKind::GroupBox, 0, "Shape", {0, 0, 10, 10}},
    {10, ControlKind::RadioButton, kStyleAuto | kStyleGroupStart, "Round", {0, 0, 10, 10}},
    {11, ControlKind::RadioButton, kStyleAuto, "Square", {0, 0, 10, 10}},
    {12, ControlKind::RadioButton, kStyleAuto, "Star", {0, 0, 10, 10}},
    {20, ControlKind::RadioButton, kStyleAuto | kStyleGroupStart, "Small", {0, 0, 10, 10}},
    {21, ControlKind::RadioButton, kStyleAuto, "Large", {0, 0, 10, 10}},
    {30, ControlKind::CheckBox, kStyleAuto | kStyleGroupStart | kStyleDisabled, "Shadow", {0, 0, 10, 10}},
    {39, ControlKind::Label, 0, "Colour:", {0, 0, 10, 10}},
    {40, ControlKind::ComboBox, kStyleDropDown | kStyleGroupStart, "", {0, 0, 10, 10}},
    {kIdOk, ControlKind::PushButton, kStyleDefaultButton | kStyleGroupStart, "OK", {0, 0, 10, 10}},
    {kIdCancel, ControlKind::PushButton, 0, "Cancel", {0, 0, 10, 10}},
};
constexpr DialogTemplate kTemplate{7, "Shapes", {0, 0, 100, 100}, "Sans", 8, kDialogPopup, kControls};

// Fills the list, checks the first of each group, ends on OK and Cancel, and
// keeps every message it gets.
class RecordingProcedure : public DialogProcedure {
  public:
    struct Message {
        DialogMessage message;
        int32_t id;
        Notification notification;
    };
    int32_t Handle(Dialog& d, DialogMessage message, int32_t id, Notification notification) override {
        messages.push_back({message, id, notification});
        if (message == DialogMessage::Init) {
            for (const char* colour : {"Red", "Green", "Blue"}) d.AddItem(40, colour);
            d.SetSelection(40, 1);
            d.SetChecked(10, true);
            d.SetChecked(20, true);
        } else if (message == DialogMessage::Command && (id == kIdOk || id == kIdCancel) && endOnButtons) {
            d.End(id);
        }
        return message == DialogMessage::Close ? answerClose : 1;
    }
    std::vector<Message> messages;
    bool endOnButtons = true;
    int32_t answerClose = 0;
};

class DialogTest : public testing::Test {
  protected:
    RecordingProcedure procedure_;
    Dialog dialog_{kTemplate, procedure_};
    void SetUp() override { dialog_.Initialise(); }
};

TEST_F(DialogTest, RadioButtonsExcludeEachOtherWithinTheirGroupOnly) {
    EXPECT_TRUE(dialog_.Click(12));
    EXPECT_FALSE(dialog_.IsChecked(10));
    EXPECT_FALSE(dialog_.IsChecked(11));
    EXPECT_TRUE(dialog_.IsChecked(12));
    EXPECT_TRUE(dialog_.IsChecked(20)) << "the next group keeps its choice";
    EXPECT_TRUE(dialog_.Click(21));
    EXPECT_FALSE(dialog_.IsChecked(20));
    EXPECT_TRUE(dialog_.IsChecked(12));
    ASSERT_FALSE(procedure_.messages.empty());
    EXPECT_EQ(procedure_.messages.back().id, 21);
    EXPECT_EQ(procedure_.messages.back().notification, Notification::Clicked);
}

TEST_F(DialogTest, DisabledControlsTakeNoClicks) {
    const size_t before = procedure_.messages.size();
    EXPECT_FALSE(dialog_.Click(30));
    EXPECT_FALSE(dialog_.IsChecked(30));
    EXPECT_EQ(procedure_.messages.size(), before) << "the dialog's code hears nothing";
    dialog_.SetEnabled(30, true);
    EXPECT_TRUE(dialog_.Click(30));
    EXPECT_TRUE(dialog_.Click(30) && !dialog_.IsChecked(30));
    EXPECT_FALSE(dialog_.Click(39)) << "labels are not clickable";
    EXPECT_FALSE(dialog_.Click(99)) << "no such control";
}

TEST_F(DialogTest, PickingSelectsButTypingLeavesNoSelection) {
    EXPECT_EQ(dialog_.Selection(40), 1);
    EXPECT_TRUE(dialog_.ChooseItem(40, 2));
    EXPECT_EQ(dialog_.Selection(40), 2);
    EXPECT_EQ(dialog_.EditText(40), "Blue");
    EXPECT_FALSE(dialog_.ChooseItem(40, 3));
    EXPECT_FALSE(dialog_.ChooseItem(40, -1));
    EXPECT_EQ(dialog_.Selection(40), 2);

    EXPECT_TRUE(dialog_.TypeText(40, "Red"));
    EXPECT_EQ(dialog_.Selection(40), -1) << "typing equal text still is not a pick";
    EXPECT_EQ(dialog_.EditText(40), "Red");
    EXPECT_EQ(dialog_.FindItemExact(40, "Red"), 0);
    EXPECT_EQ(dialog_.FindItemExact(40, "red"), -1);
    EXPECT_EQ(dialog_.FindItemExact(40, "Re"), -1);
    EXPECT_EQ(procedure_.messages.back().notification, Notification::EditChanged);
}

TEST_F(DialogTest, EndedDialogTakesNoMoreActions) {
    EXPECT_TRUE(dialog_.Click(kIdOk));
    EXPECT_TRUE(dialog_.Ended());
    EXPECT_EQ(dialog_.Result(), kIdOk);
    EXPECT_FALSE(dialog_.Click(11));
    dialog_.End(kIdCancel);
    EXPECT_EQ(dialog_.Result(), kIdOk) << "the first end stands";
}

struct RunCase {
    const char* name;
    bool endOnButtons;
    int32_t answerClose;
    void (*script)(ScriptedDialogDriver&);
    int32_t result;
};

class ModalRun : public testing::TestWithParam<RunCase> {};

TEST_P(ModalRun, EndsWith) {
    RecordingProcedure procedure;
    procedure.endOnButtons = GetParam().endOnButtons;
    procedure.answerClose = GetParam().answerClose;
    ScriptedDialogDriver driver;
    GetParam().script(driver);
    Window window;
    window.driver = &driver;
    EXPECT_EQ(RunModalDialog(kTemplate, procedure, &window), GetParam().result);
    ASSERT_FALSE(procedure.messages.empty());
    EXPECT_EQ(procedure.messages.front().message, DialogMessage::Init);
}

INSTANTIATE_TEST_SUITE_P(
    Drivers, ModalRun,
    testing::Values(
        RunCase{"Ok", true, 0, [](ScriptedDialogDriver& d) { d.Click(kIdOk); }, kIdOk},
        RunCase{"Cancel", true, 0, [](ScriptedDialogDriver& d) { d.Click(kIdCancel); }, kIdCancel},
        RunCase{"CloseBoxSendsCancel", true, 0, [](ScriptedDialogDriver& d) { d.Close(); }, kIdCancel},
        RunCase{"GivingUpCloses", true, 0, [](ScriptedDialogDriver&) {}, kIdCancel},
        // A dialog whose code takes the close message itself and
        // ignores every button is still ended rather than left open.
        RunCase{"StubbornDialogIsEnded", false, 1, [](ScriptedDialogDriver& d) { d.Click(kIdOk); },
                kIdCancel}),
    [](const testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

TEST(ModalRunWithoutDriver, CannotBeCreated) {
    RecordingProcedure procedure;
    Window empty;
    const uint32_t notAWindow[2] = {0x12345678, 0};
    EXPECT_EQ(RunModalDialog(kTemplate, procedure, nullptr), kDialogFailed);
    EXPECT_EQ(RunModalDialog(kTemplate, procedure, &empty), kDialogFailed);
    EXPECT_EQ(RunModalDialog(kTemplate, procedure, notAWindow), kDialogFailed);
    EXPECT_TRUE(procedure.messages.empty()) << "no dialog, no messages";
}

// The text-mode driver on this dialog: it asks per group in template order.
struct TerminalCase {
    const char* name;
    const char* answers;
    int32_t result;
    int32_t shape;   // checked radio of the first group
    int32_t colour;  // list selection
};

class TextModeDriver : public testing::TestWithParam<TerminalCase> {};

TEST_P(TextModeDriver, Answers) {
    RecordingProcedure procedure;
    std::istringstream in(GetParam().answers);
    std::ostringstream out;
    TextModeDialogDriver driver(in, out);
    Window window;
    window.driver = &driver;
    int32_t shape = 0, colour = -2;
    struct Observe : DialogProcedure {
        RecordingProcedure& inner;
        int32_t& shape;
        int32_t& colour;
        Observe(RecordingProcedure& p, int32_t& s, int32_t& c) : inner(p), shape(s), colour(c) {}
        int32_t Handle(Dialog& d, DialogMessage m, int32_t id, Notification n) override {
            if (m == DialogMessage::Command && (id == kIdOk || id == kIdCancel)) {
                for (int32_t radio : {10, 11, 12}) {
                    if (d.IsChecked(radio)) shape = radio;
                }
                colour = d.Selection(40);
            }
            return inner.Handle(d, m, id, n);
        }
    } observe(procedure, shape, colour);
    EXPECT_EQ(RunModalDialog(kTemplate, observe, &window), GetParam().result) << out.str();
    if (GetParam().result == kIdOk) {
        EXPECT_EQ(shape, GetParam().shape) << out.str();
        EXPECT_EQ(colour, GetParam().colour) << out.str();
        EXPECT_NE(out.str().find("Shadow: no (unavailable)"), std::string::npos) << out.str();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Terminal, TextModeDriver,
    testing::Values(TerminalCase{"EmptyAnswersKeepTheDialogAsItIs", "\n\n\n\n", kIdOk, 10, 1},
                    TerminalCase{"NumbersAndTexts", "3\n2\nBlue\n1\n", kIdOk, 12, 2},
                    TerminalCase{"WrongAnswersAreAskedAgain", "0\nx\n2\n\nPurple\n9\n1\nCancel\n", kIdCancel,
                                 0, 0},
                    TerminalCase{"EndOfInputGivesUp", "2\n", kIdCancel, 0, 0}),
    [](const testing::TestParamInfo<TerminalCase>& info) { return std::string(info.param.name); });

TEST(Resources, StringsAreLoadedFromTheirModuleAndCutToTheBuffer) {
    constexpr StringResource strings[] = {{5, "Hello"}};
    constexpr const DialogTemplate* dialogs[] = {&kTemplate};
    const ResourceModule module{"test", strings, dialogs};
    char buffer[8];
    EXPECT_EQ(LoadString(&module, 5, buffer, sizeof buffer), 5);
    EXPECT_STREQ(buffer, "Hello");
    EXPECT_EQ(LoadString(&module, 5, buffer, 3), 2);
    EXPECT_STREQ(buffer, "He");
    EXPECT_EQ(LoadString(&module, 6, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(LoadString(nullptr, 5, buffer, sizeof buffer), 0);
    EXPECT_EQ(FindDialog(&module, 7), &kTemplate);
    EXPECT_EQ(FindDialog(&module, 8), nullptr);

    RecordingProcedure procedure;
    ScriptedDialogDriver driver;
    driver.Click(kIdOk);
    Window window;
    window.driver = &driver;
    EXPECT_EQ(DialogBox(&module, 8, &window, procedure), kDialogFailed) << "no such template";
    EXPECT_EQ(DialogBox(&module, 7, &window, procedure), kIdOk);
}

}  // namespace
