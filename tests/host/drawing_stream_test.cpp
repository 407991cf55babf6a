// The drawing handed over as it is read: in order whatever the order of the
// members, repeated members refused where they repeat, errors after what
// came before them, and the same drawing through any window of a file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/drawing_reader.h"

namespace host {
namespace {

// Writes down what it is handed, one line each.
class RecordingSink : public DrawingSink {
  public:
    bool BeginDrawing(const Drawing& d) override {
        return Note("drawing " + std::to_string(d.page.right - d.page.left) + "x" +
                    std::to_string(d.page.top - d.page.bottom));
    }
    bool BeginLayer(const DrawingLayer& layer) override { return Note("layer " + layer.name + " " + layer.where); }
    bool EndLayer(const DrawingLayer&) override { return Note("/layer"); }
    bool Object(const DrawingObject& o) override {
        ++objects;
        return Note("object " + Describe(o));
    }
    bool BeginStructure(const DrawingObject& o) override { return Note("begin " + Describe(o)); }
    bool EndStructure(const DrawingObject& o) override { return Note("end " + o.where); }
    bool EndDrawing() override { return Note("/drawing"); }

    static std::string Describe(const DrawingObject& o) {
        std::ostringstream out;
        out << o.where << " kind " << static_cast<int>(o.kind) << " box " << o.box.left << "," << o.box.bottom << ","
            << o.box.right << "," << o.box.top << " points " << o.points.size();
        if (o.link) out << " link " << o.link->url << (o.link->area ? " area" : "");
        if (o.kind == ObjectKind::kClip) out << " clip " << o.clipKind << " " << o.clipRect.right;
        if (o.kind == ObjectKind::kTransform) out << " matrix " << o.matrix.m[2];
        if (o.style.fill) out << " fill " << o.style.fill->kind << " " << int(o.style.fill->colour.channels[6]);
        return out.str();
    }

    std::vector<std::string> notes;
    size_t objects = 0;
    size_t stopAfter = SIZE_MAX;

  private:
    bool Note(std::string note) {
        notes.push_back(std::move(note));
        return notes.size() < stopAfter;
    }
};

struct Streamed {
    bool ok;
    DrawingError error;
    std::vector<std::string> notes;
};

Streamed Stream(const std::string& text) {
    RecordingSink sink;
    Drawing drawing;
    Streamed out;
    out.ok = StreamDrawing(text, drawing, sink, out.error);
    out.notes = sink.notes;
    return out;
}

const char kInOrder[] = R"({"format": "svgfilter-drawing", "version": 1, "unit": "in",
  "page": {"width": 2, "height": 1},
  "layers": [{"name": "L", "objects": [
    {"kind": "group", "link": {"url": "#a"}, "objects": [
      {"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1, "fill": {"kind": "uniform", "colour": "#FF0000"}}]},
    {"kind": "link", "url": "http://x.example/", "area": {"x": 0, "y": 0, "width": 1, "height": 1}, "objects": []},
    {"kind": "clip", "shape": {"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1},
     "objects": [{"kind": "group"}]},
    {"kind": "transform", "matrix": [1, 0, 1, 0, 1, 0], "objects": []},
    {"kind": "path", "nodes": [["M", 0, 0], ["L", 1, 1]]}]}]})";

// The same drawing with every member that another one needs placed after it.
const char kOutOfOrder[] = R"({"layers": [{"objects": [
    {"objects": [
      {"fill": {"colour": "#FF0000", "kind": "uniform"}, "height": 1, "width": 1, "y": 0, "x": 0, "kind": "rectangle"}],
     "link": {"url": "#a"}, "kind": "group"},
    {"objects": [], "area": {"height": 1, "width": 1, "y": 0, "x": 0}, "kind": "link", "url": "http://x.example/"},
    {"objects": [{"kind": "group"}], "shape": {"height": 1, "width": 1, "y": 0, "x": 0, "kind": "rectangle"},
     "kind": "clip"},
    {"objects": [], "kind": "transform", "matrix": [1, 0, 1, 0, 1, 0]},
    {"nodes": [["M", 0, 0], ["L", 1, 1]], "kind": "path"}], "name": "L"}],
  "page": {"height": 1, "width": 2}, "unit": "in", "version": 1, "format": "svgfilter-drawing"})";

TEST(DrawingStream, MembersInAnyOrderHandTheSameDrawingOver) {
    const Streamed inOrder = Stream(kInOrder);
    ASSERT_TRUE(inOrder.ok) << inOrder.error.Describe("t");
    const Streamed outOfOrder = Stream(kOutOfOrder);
    ASSERT_TRUE(outOfOrder.ok) << outOfOrder.error.Describe("t");
    EXPECT_EQ(outOfOrder.notes, inOrder.notes);
    // The page is in inches although the unit comes after it; the group
    // begins with its link although the link comes after its members.
    ASSERT_GE(inOrder.notes.size(), 3u);
    EXPECT_EQ(inOrder.notes[0], "drawing 508000x254000");
    EXPECT_EQ(inOrder.notes[2].substr(0, 28), "begin /layers/0/objects/0 ki");
    EXPECT_NE(inOrder.notes[2].find("link #a"), std::string::npos);
}

TEST(DrawingStream, RepeatedMembersAreRefusedWhereTheyRepeat) {
    const std::string header = R"("format": "svgfilter-drawing", "version": 1, "page": {"width": 1, "height": 1})";
    auto layer = [&](const std::string& objects) {
        return "{" + header + R"(, "layers": [{"name": "L", "objects": [)" + objects + "]}]}";
    };
    const struct {
        std::string text;
        const char* where;
    } cases[] = {
        // A layer whose objects are given twice would lose the first ones.
        {"{" + header + R"(, "layers": [{"name": "L", "objects": [{"kind": "group"}], "objects": []}]})",
         "/layers/0/objects"},
        {"{" + header + R"(, "page": {"width": 2, "height": 2}})", "/page"},
        {"{" + header + R"(, "comment": 1, "comment": 2})", "/comment"},
        {layer(R"({"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1, "x": 1})"), "/layers/0/objects/0/x"},
        {layer(R"({"kind": "rectangle", "kind": "ellipse"})"), "/layers/0/objects/0/kind"},
        {layer(R"({"x": 0, "kind": "rectangle", "kind": "ellipse"})"), "/layers/0/objects/0/kind"},
        {layer(R"({"kind": "path", "nodes": [["M", 0, 0]], "fill": {"kind": "uniform", "colour": "#000000",
                  "colour": "#FFFFFF"}})"),
         "/layers/0/objects/0/fill/colour"},
        {layer(R"({"kind": "group", "objects": [], "objects": []})"), "/layers/0/objects/0/objects"},
        {layer(R"({"kind": "group", "link": {"url": "#a"}, "objects": [], "objects": []})"),
         "/layers/0/objects/0/objects"},
        {layer(R"({"kind": "text", "x": 0, "y": 0, "text": "a", "font": {"family": "F", "size": 1, "size": 2}})"),
         "/layers/0/objects/0/font/size"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Streamed r = Stream(c.text);
        ASSERT_FALSE(r.ok);
        EXPECT_EQ(r.error.where, c.where);
        EXPECT_NE(r.error.message.find("repeated member"), std::string::npos) << r.error.message;
    }
}

std::string ManyObjectsThen(size_t count, const std::string& last) {
    std::string text = R"({"format": "svgfilter-drawing", "version": 1, "page": {"width": 9, "height": 9},
        "layers": [{"name": "L", "objects": [)";
    for (size_t i = 0; i < count; ++i) text += R"({"kind": "rectangle", "x": 1, "y": 1, "width": 1, "height": 1}, )";
    return text + last + "]}]}";
}

TEST(DrawingStream, AnErrorComesAfterEverythingBeforeIt) {
    const Streamed r = Stream(ManyObjectsThen(1000, R"({"kind": "rectangle", "x": 1, "y": 1, "width": 1})"));
    ASSERT_FALSE(r.ok);
    EXPECT_EQ(r.error.where, "/layers/0/objects/1000");
    EXPECT_EQ(r.error.message, "missing member \"height\"");
    // The drawing, its layer and every object before the faulty one.
    EXPECT_EQ(r.notes.size(), 1002u);
    EXPECT_EQ(r.notes.back().substr(0, 31), "object /layers/0/objects/999 ki");
}

TEST(DrawingStream, ASinkThatStopsEndsTheReadingWithoutAnError) {
    RecordingSink sink;
    sink.stopAfter = 4;
    Drawing drawing;
    DrawingError error;
    EXPECT_FALSE(StreamDrawing(ManyObjectsThen(10, "{\"kind\": \"blob\"}"), drawing, sink, error));
    EXPECT_TRUE(error.message.empty()) << error.message;
    EXPECT_EQ(sink.notes.size(), 4u);
}

TEST(DrawingStream, PassedOverMembersKeepTheirErrorsAndSyntaxErrorsComeFirst) {
    const struct {
        const char* text;
        const char* where;
        const char* message;
    } cases[] = {
        // The layers before the page: read after the document, still checked.
        {R"({"layers": [{"name": "L", "objects": [{"kind": "blob"}]}], "format": "svgfilter-drawing",
            "version": 1, "page": {"width": 1, "height": 1}})",
         "/layers/0/objects/0/kind", "unknown kind"},
        {R"({"layers": [{"name": "L", "objects": [{"kind": "group"]}], "format": "svgfilter-drawing"})", "1:55",
         "syntax error: expected"},
        {R"({"format": "svgfilter-drawing", "version": 1, "page": {"width": 1, "height": 1},
            "layers": [{"objects": [{"kind": "group", "objects": [{"kind": "rectangle"}],
                        "link": {"url": "#a"}}], "name": "L"}]})",
         "/layers/0/objects/0/objects/0", "missing member \"x\""},
        {R"({"page": {"width": "wide", "height": 1}, "format": "svgfilter-drawing", "version": 1, "unit": "in"})",
         "/page/width", "expected a number"},
        // Text that is not JSON is named before what the JSON says, wherever it stands.
        {R"({"format": "svg", "version": 1} x)", "1:33", "syntax error: text after the end"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Streamed r = Stream(c.text);
        ASSERT_FALSE(r.ok);
        EXPECT_EQ(r.error.where, c.where);
        EXPECT_NE(r.error.message.find(c.message), std::string::npos) << r.error.message;
    }
}

std::vector<std::string> NotesOf(JsonCursor& json) {
    RecordingSink sink;
    Drawing drawing;
    DrawingError error;
    EXPECT_TRUE(StreamDrawing(json, drawing, sink, error)) << error.Describe("sample.json");
    return sink.notes;
}

TEST(DrawingStream, TheSampleReadsTheSameThroughAnyWindowOfItsFile) {
    const std::string path = SVGFILTER_SOURCE_DIR "/examples/sample.json";
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const std::string sample = text.str();
    JsonCursor memory(sample);
    const std::vector<std::string> expected = NotesOf(memory);
    ASSERT_GT(expected.size(), 10u);
    const int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    for (const size_t window : {1, 5, 64, 1000}) {
        JsonCursor file(fd, window);
        EXPECT_EQ(NotesOf(file), expected) << "window " << window;
    }
    ::close(fd);
}

}  // namespace
}  // namespace host
