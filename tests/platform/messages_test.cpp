// The message sink: recorded while installed, restored after its scope.
#include <gtest/gtest.h>

#include "platform/messages.h"

namespace platform {
namespace {

TEST(Messages, GoToTheInstalledSinkForItsScope) {
    RecordingMessageSink outer;
    ScopedMessageSink outerScope(&outer);
    {
        RecordingMessageSink inner;
        ScopedMessageSink innerScope(&inner);
        ShowMessage(MessageKind::Error, "PARSER", "could not parse");
        ASSERT_EQ(inner.entries.size(), 1u);
        EXPECT_EQ(inner.entries[0].title, "PARSER");
    }
    ShowMessage(MessageKind::Warning, "", "after");
    ASSERT_EQ(outer.entries.size(), 1u);
    EXPECT_EQ(outer.entries[0].text, "after");
}

}  // namespace
}  // namespace platform
