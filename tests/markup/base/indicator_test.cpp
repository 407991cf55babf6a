// Indicator: what reaches the progress window, the scaling of large ranges,
// and the window's lifetime.
#include "markup/indicator.h"

#include <gtest/gtest.h>

#include <memory>

#include "markup/faults.h"
#include "platform/progress_window.h"

namespace markup {
namespace {

using platform::RecordingProgressWindow;

class IndicatorTest : public testing::Test {
  protected:
    IndicatorTest() {
        platform::SetProgressWindowFactory([this](platform::ProgressWindowListener& listener) {
            return std::make_unique<RecordingProgressWindow>(listener, log_);
        });
        Singleton<Indicator>::Release();
    }
    ~IndicatorTest() override {
        Singleton<Indicator>::Release();
        platform::SetProgressWindowFactory(nullptr);
    }

    RecordingProgressWindow::Log log_;
};

TEST_F(IndicatorTest, OnlyTheAccessorBuildsTheIndicator) {
    EXPECT_THROW(Indicator(), IllegalUsageFault);
    EXPECT_EQ(&Indicator::Instance(), &Indicator::Instance());
}

TEST_F(IndicatorTest, RangeAndPositionScaling) {
    struct Row {
        std::int32_t range;
        std::int32_t position;
        std::int32_t sentRange;
        std::int32_t sentPosition;
    };
    const Row rows[] = {
        {100000, 50000, 32767, 16383}, {1000, 500, 1000, 500},       {32767, 32767, 32767, 32767},
        {32768, 32768, 32767, 32767},  {32768, 16384, 32767, 16383}, {0, 7, 0, 7},
    };
    Indicator& indicator = Indicator::Instance();
    indicator.Show();
    for (const Row& row : rows) {
        indicator.SetRange(row.range);
        indicator.SetPosition(row.position);
        ASSERT_FALSE(log_.ranges.empty());
        EXPECT_EQ(log_.ranges.back().first, 0);
        EXPECT_EQ(log_.ranges.back().second, row.sentRange) << row.range;
        EXPECT_EQ(log_.positions.back(), row.sentPosition) << row.range;
        EXPECT_EQ(indicator.GetRange(), row.range);
        EXPECT_EQ(indicator.GetPosition(), row.position);
    }
}

TEST_F(IndicatorTest, TextReachesTheWindowAndStaysInTheBuffer) {
    Indicator& indicator = Indicator::Instance();
    indicator.SetText("before");  // no window: kept only
    EXPECT_TRUE(log_.texts.empty());
    indicator.Show();
    indicator.SetText("Parsing page.svg");
    indicator.SetText(String());
    ASSERT_EQ(log_.texts.size(), 2u);
    EXPECT_EQ(log_.texts[0], "Parsing page.svg");
    EXPECT_EQ(log_.texts[1], "");
    EXPECT_EQ(indicator.GetTextBuffer(), "");
}

TEST_F(IndicatorTest, IsShownFollowsTheWindowWhoeverDestroysIt) {
    Indicator& indicator = Indicator::Instance();
    EXPECT_FALSE(indicator.IsShown());
    indicator.Show();
    indicator.Show();  // one window at a time
    EXPECT_TRUE(indicator.IsShown());
    EXPECT_EQ(log_.created, 1);

    indicator.Close();
    EXPECT_FALSE(indicator.IsShown());
    EXPECT_EQ(log_.destroyed, 1);
    EXPECT_EQ(log_.live, nullptr);  // the dialog deleted its window with itself

    indicator.Show();
    ASSERT_NE(log_.live, nullptr);
    log_.live->Destroy();  // from outside, as a user closing the window
    EXPECT_FALSE(indicator.IsShown());
    EXPECT_EQ(log_.destroyed, 2);
    indicator.SetPosition(3);  // nothing shown: nothing sent, nothing breaks
    indicator.Close();
    EXPECT_EQ(log_.destroyed, 2);
}

TEST_F(IndicatorTest, DestroyingTheIndicatorTakesItsWindowDown) {
    Indicator::Instance().Show();
    Singleton<Indicator>::Release();
    EXPECT_EQ(log_.destroyed, 1);
    EXPECT_EQ(log_.live, nullptr);
}

TEST(TerminalProgressWindowTest, SilentWhenNotATerminal) {
    struct Listener : platform::ProgressWindowListener {
        int destroyed = 0;
        void WindowDestroyed() override { ++destroyed; }
    } listener;
    testing::internal::CaptureStderr();
    {
        platform::TerminalProgressWindow window(listener);
        window.SetText("working");
        window.SetRange(0, 10);
        window.SetPosition(5);
        window.Destroy();
        window.Destroy();
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(listener.destroyed, 1);
}

}  // namespace
}  // namespace markup
