// The drawing walk, against a callback record of test entries.
#include "host/drawing_player.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/drawing_reader.h"

namespace host {
namespace {

std::vector<std::string> g_calls;
std::string g_failOn;

int32_t Answer(const std::string& call) {
    g_calls.push_back(call);
    return call == g_failOn ? svgf::kFailed : svgf::kDone;
}

int32_t SVGF_CALL BeginDrawing(void*) {
    return Answer("drawing");
}
int32_t SVGF_CALL EndDrawing(void*) {
    return Answer("/drawing");
}
int32_t SVGF_CALL BeginLayer(void*, const char* name) {
    return Answer(std::string("layer ") + name);
}
int32_t SVGF_CALL EndLayer(void*) {
    return Answer("/layer");
}
int32_t SVGF_CALL BeginGroup(void*) {
    return Answer("group");
}
int32_t SVGF_CALL EndGroup(void*) {
    return Answer("/group");
}

class DrawingPlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_calls.clear();
        g_failOn.clear();
        record_.beginDrawing = BeginDrawing;
        record_.endDrawing = EndDrawing;
        record_.beginNamedLayer = BeginLayer;
        record_.endNamedLayer = EndLayer;
        record_.beginGroup = BeginGroup;
        record_.endGroup = EndGroup;
        const DrawingResult r = ReadDrawing(R"({"format": "svgfilter-drawing", "version": 1,
            "page": {"width": 10, "height": 10},
            "layers": [{"name": "A", "objects": [{"kind": "group", "objects": [{"kind": "group"}]}]},
                       {"name": "B"}]})");
        ASSERT_TRUE(r) << r.error.Describe("t");
        drawing_ = *r.drawing;
    }

    svgf::ExportCallbackRecord record_{};
    Drawing drawing_;
};

TEST_F(DrawingPlayerTest, ReportsLayersAndGroupsDepthFirst) {
    const PlayResult r = PlayDrawing(drawing_, record_);
    EXPECT_TRUE(r.ok) << r.message;
    EXPECT_EQ(g_calls, (std::vector<std::string>{"drawing", "layer A", "group", "group", "/group", "/group",
                                                 "/layer", "layer B", "/layer", "/drawing"}));
}

TEST_F(DrawingPlayerTest, StopsAtTheFirstFailureAndNamesTheObject) {
    g_failOn = "/group";
    const PlayResult r = PlayDrawing(drawing_, record_);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.where, "/layers/0/objects/0/objects/0");
    EXPECT_EQ(g_calls.back(), "/group");
    EXPECT_EQ(g_calls.size(), 5u);
}

TEST_F(DrawingPlayerTest, AMissingEntryIsAFailure) {
    record_.beginGroup = nullptr;
    const PlayResult r = PlayDrawing(drawing_, record_);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.where, "/layers/0/objects/0");
    EXPECT_NE(r.message.find("no entry"), std::string::npos);
}

}  // namespace
}  // namespace host
