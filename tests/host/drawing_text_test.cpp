// Text objects in drawing descriptions: what they read as, where a bad one
// fails, and how the walk reports one (against test entries and a table of
// made-up fonts, so that every build runs it).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "host/drawing_player.h"
#include "host/drawing_reader.h"

namespace host {
namespace {

std::string Text(const std::string& object) {
    return R"({"format": "svgfilter-drawing", "version": 1, "unit": "pt", "page": {"width": 100, "height": 100},
               "layers": [{"name": "L", "objects": [)" +
           object + "]}]}";
}

TEST(DrawingText, ReadsFontCharactersAndOrigin) {
    const DrawingResult r = ReadDrawing(Text(R"({"kind": "text", "x": 72, "y": 36, "text": "A\u00e9\u2013b",
        "font": {"family": "DejaVu Serif", "size": 12, "weight": 700, "italic": true, "rotation": 44.5,
                 "capitals": "small"},
        "fill": {"kind": "uniform", "colour": "#FF0000"}})"));
    ASSERT_TRUE(r) << r.error.Describe("t");
    const DrawingObject& o = r.drawing->layers[0].objects[0];
    EXPECT_EQ(o.kind, ObjectKind::kText);
    EXPECT_EQ(o.text, (std::u16string{u'A', 0xE9, 0x2013, u'b'}));
    EXPECT_EQ(o.origin.x, 254000);
    EXPECT_EQ(o.origin.y, 127000);
    EXPECT_EQ(o.font.family, "DejaVu Serif");
    EXPECT_EQ(o.font.size, 42333);
    EXPECT_EQ(o.font.rotation, 44500000);
    // Weight 700 italic is bit 13; small capitals bit 29.
    EXPECT_EQ(StyleFlags(o.font), 0x2000u | kSmallCapitals);
    ASSERT_TRUE(o.style.fill);
    EXPECT_EQ(StyleFlags(TextFont{"F", 1, 100, false, 0, kAllCapitals}), 0x1u | kAllCapitals);
    EXPECT_EQ(StyleFlags(TextFont{"F", 1, 900, true, 0, 0}), 0x20000u);
}

TEST(DrawingText, ErrorsNameThePlace) {
    const struct {
        const char* object;
        const char* where;
    } cases[] = {
        {R"({"kind": "text", "y": 0, "text": "a", "font": {"family": "F", "size": 1}})",
         ": missing member \"x\""},
        {R"({"kind": "text", "x": 0, "y": 0, "text": "a"})", ": missing member \"font\""},
        {R"({"kind": "text", "x": 0, "y": 0, "text": 5, "font": {"family": "F", "size": 1}})",
         "/text: expected a string"},
        {R"({"kind": "text", "x": 0, "y": 0, "text": "\ud83d\ude00", "font": {"family": "F", "size": 1}})",
         "/text: the text holds a character beyond"},
        {R"({"kind": "text", "x": 0, "y": 0, "text": "a", "font": {"family": "", "size": 1}})",
         "/font/family: the family name is empty"},
        {R"({"kind": "text", "x": 0, "y": 0, "text": "a", "font": {"family": "F", "size": 0}})",
         "/font/size: the size must be above 0"},
        {R"({"kind": "text", "x": 0, "y": 0, "text": "a", "font": {"family": "F", "size": 1, "weight": 450}})",
         "/font/weight: expected 100, 200"},
        {R"({"kind": "text", "x": 0, "y": 0, "text": "a", "font": {"family": "F", "size": 1, "italic": 1}})",
         "/font/italic: expected a boolean"},
        {R"({"kind": "text", "x": 0, "y": 0, "text": "a", "font": {"family": "F", "size": 1, "capitals": "x"}})",
         "/font/capitals: unknown value \"x\""},
        {R"({"kind": "text", "x": 0, "y": 0, "text": "a", "font": {"family": "F", "size": 1, "slant": 1}})",
         "/font/slant: unknown member"},
    };
    for (const auto& c : cases) {
        const DrawingResult r = ReadDrawing(Text(c.object));
        ASSERT_FALSE(r) << c.object;
        EXPECT_NE(r.error.Describe("t").find(c.where), std::string::npos) << r.error.Describe("t");
    }
}

// Fonts whose every character advances 10 units from the origin.
class EvenFonts : public HostFonts {
  public:
    int32_t FontId(const std::string& family) override {
        return ids.try_emplace(family, 7 + int(ids.size())).first->second;
    }
    std::optional<std::vector<svgf::HostPoint>> Layout(int32_t, uint32_t, int32_t, std::u16string_view text,
                                                       svgf::HostPoint start, int32_t) override {
        std::vector<svgf::HostPoint> out;
        for (size_t i = 0; i < text.size(); ++i) out.push_back({start.x + 10 * int32_t(i), start.y});
        return out;
    }
    // Each character a 4-unit square at its origin; blanks have no glyph.
    std::optional<std::vector<TextPath>> Curves(int32_t, uint32_t, int32_t, std::u16string_view text,
                                                const std::vector<svgf::HostPoint>& origins, int32_t) override {
        TextPath path;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == u' ') continue;
            const svgf::HostPoint o = origins[i];
            path.points.insert(path.points.end(), {o, {o.x + 4, o.y}, {o.x + 4, o.y + 4}, {o.x, o.y + 4}});
            path.nodeTypes.insert(path.nodeTypes.end(), {svgf::node::kMove, svgf::node::kLine, svgf::node::kLine,
                                                         uint8_t(svgf::node::kLine | svgf::node::kClose)});
        }
        return std::vector<TextPath>{path};
    }
    void Serve() override {}
    std::map<std::string, int32_t> ids;
};

std::vector<std::string> g_calls;

int32_t SVGF_CALL Plain(void*) {
    g_calls.push_back("plain");
    return 0;
}
int32_t SVGF_CALL Layer(void*, const char*) {
    return 0;
}
int32_t SVGF_CALL BeginTransform(void*, const svgf::HostAttributes* attributes,
                                 const svgf::HostMatrix* matrix, const svgf::HostRect* box) {
    EXPECT_NE(attributes, nullptr);
    EXPECT_NE(attributes->fill, nullptr);
    EXPECT_EQ(matrix->m[0], 1.0);
    EXPECT_LE(box->left, box->right);
    g_calls.push_back("transform");
    return 0;
}
int32_t SVGF_CALL DefineFont(void*, svgf::HostWord first, int32_t id, uint32_t flags, int32_t size,
                             int32_t rotation) {
    g_calls.push_back("font " + std::to_string(first) + " " + std::to_string(id) + " " +
                      std::to_string(flags) + " " + std::to_string(size) + " " + std::to_string(rotation));
    return 0;
}
int32_t SVGF_CALL DrawTextRun(void*, int32_t count, const uint16_t* characters, const svgf::HostPoint* at) {
    std::string call = "run";
    for (int32_t i = 0; i < count; ++i) {
        call += " " + std::to_string(characters[i]) + "@" + std::to_string(at[i].x) + "," +
                std::to_string(at[i].y);
    }
    g_calls.push_back(call);
    return 0;
}
int32_t SVGF_CALL EndTransform(void*) {
    g_calls.push_back("/transform");
    return 0;
}

// The entries a text object's walk calls, each recording its call.
svgf::ExportCallbackRecord TextRecord() {
    svgf::ExportCallbackRecord record{};
    record.beginDrawing = record.endDrawing = Plain;
    record.beginNamedLayer = Layer;
    record.endNamedLayer = Plain;
    record.beginTransform = BeginTransform;
    record.defineFont = DefineFont;
    record.drawTextRun = DrawTextRun;
    record.endTransform = EndTransform;
    return record;
}

TEST(DrawingText, TheWalkReportsATextObjectWithItsLayout) {
    const DrawingResult r = ReadDrawing(Text(R"({"kind": "text", "x": 0, "y": 0, "text": "ab",
        "font": {"family": "F", "size": 0.01, "rotation": -90}})"));
    ASSERT_TRUE(r) << r.error.Describe("t");
    svgf::ExportCallbackRecord record = TextRecord();
    EXPECT_TRUE(HasText(*r.drawing));

    g_calls.clear();
    EvenFonts fonts;
    ASSERT_TRUE(PlayDrawing(*r.drawing, record, &fonts).ok);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"plain", "transform", "font 0 7 64 35 -90000000",
                                                 "run 97@0,0 98@10,0", "/transform", "plain", "plain"}));

    const PlayResult without = PlayDrawing(*r.drawing, record);
    EXPECT_FALSE(without.ok);
    EXPECT_EQ(without.where, "/layers/0/objects/0");
    EXPECT_NE(without.message.find("no fonts"), std::string::npos);
}

// The module's answer to the object-kind queries of the text kinds.
int32_t g_takesText = 1;
std::vector<uint32_t> g_asked;
int32_t SVGF_CALL QueryKind(void*, uint32_t kind, const void*) {
    g_asked.push_back(kind);
    return g_takesText;
}
int32_t SVGF_CALL DrawPath(void*, const svgf::HostAttributes* attributes, uint32_t count,
                           const svgf::HostPoint* points, const uint8_t* types, const svgf::HostRect* box,
                           svgf::HostWord) {
    EXPECT_NE(attributes->fill, nullptr);
    std::string call = "path";
    for (uint32_t i = 0; i < count; ++i)
        call += " " + std::to_string(points[i].x) + "," + std::to_string(points[i].y) + ":" + std::to_string(types[i]);
    call += " in " + std::to_string(box->left) + ".." + std::to_string(box->right);
    g_calls.push_back(call);
    return 0;
}

TEST(DrawingText, AModuleThatDeclinesTextGetsItAsCurves) {
    const DrawingResult r = ReadDrawing(Text(R"({"kind": "text", "x": 0, "y": 0, "text": "a b",
        "font": {"family": "F", "size": 0.01, "capitals": "all"}})"));
    ASSERT_TRUE(r) << r.error.Describe("t");
    svgf::ExportCallbackRecord record = TextRecord();
    record.queryObjectKindByType = QueryKind;
    record.drawPath = DrawPath;
    EvenFonts fonts;

    // Text as curves: one path of the glyphs at their origins, over the
    // text's box (the origins widened by the size, 35 units); no text object.
    g_takesText = 0;
    g_calls.clear();
    g_asked.clear();
    ASSERT_TRUE(PlayDrawing(*r.drawing, record, &fonts).ok);
    EXPECT_EQ(g_asked, (std::vector<uint32_t>{7, 9, 21}));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"plain",
                                                 "path 0,0:0 4,0:64 4,4:64 0,4:72 20,0:0 24,0:64 24,4:64 20,4:72 in -35..55",
                                                 "plain", "plain"}));

    // A module that takes text gets the text object, with the capitals to make.
    g_takesText = 1;
    g_calls.clear();
    ASSERT_TRUE(PlayDrawing(*r.drawing, record, &fonts).ok);
    ASSERT_GE(g_calls.size(), 4u);
    EXPECT_EQ(g_calls[3], "run 97@0,0 32@10,0 98@20,0");
}

}  // namespace
}  // namespace host
