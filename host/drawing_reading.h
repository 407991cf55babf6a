// The drawing reader's class, shared by drawing_reader.cpp (the document,
// its layers and objects) and drawing_values.cpp (numbers, colours, styles,
// fonts, nodes and matrices). It reads from a JSON cursor in one pass and
// keeps the JSON pointer of the value at hand, built only for messages.
#ifndef SVGFILTER_HOST_DRAWING_READING_H
#define SVGFILTER_HOST_DRAWING_READING_H

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/drawing.h"
#include "host/drawing_reader.h"
#include "host/json_cursor.h"

namespace host::reading {

// Thrown inside the reader only: a description that is not a drawing, and a
// sink that stopped the reading.
struct Failure {
    std::string where;
    std::string message;
};
struct Stopped {};

// The JSON pointer of the value being read. Member names are the reader's
// own constants, so segments need not own them.
class JsonPath {
  public:
    void Push(std::string_view key) { segments_.push_back({key, 0}); }
    void PushIndex(size_t index) { segments_.push_back({{}, index + 1}); }
    void SetIndex(size_t index) { segments_.back().index = index + 1; }
    void Pop() { segments_.pop_back(); }
    void Into(std::string& out) const;
    std::string Pointer() const;

  private:
    struct Segment {
        std::string_view key;
        size_t index;  // the element's index + 1; 0 for a member
    };
    std::vector<Segment> segments_;
};

// The "/"-separated token of a member name (~ and / escaped).
void AppendPointerToken(std::string& out, std::string_view key);

// An object's member names; a member's index is its place in the list (at
// most 31 names). "comment" is allowed in every object and passed over.
using Names = std::initializer_list<std::string_view>;

// The members x, y, width and height of a box.
struct Area {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

class DrawingReader {
  public:
    DrawingReader(JsonCursor& json, Drawing& drawing, DrawingSink& sink, std::string baseFolder);
    // The whole document.
    void Read();

  private:
    // Document, layers and objects (drawing_reader.cpp).
    void ReadLayers();
    void ReadLayer();
    void ReadObjects(int depth);
    void ReadObject(int depth);
    void ReadStructure(DrawingObject& o, uint32_t seen, int depth);
    void ReadStructureMember(DrawingObject& o, size_t member, uint32_t seen);
    void ReadBitmap(DrawingObject& o, uint32_t seen);
    void ReadRectangle(DrawingObject& o, uint32_t seen, int depth);
    void ReadEllipse(DrawingObject& o, uint32_t seen, int depth);
    void ReadPath(DrawingObject& o, uint32_t seen, int depth);
    void ReadPolygon(DrawingObject& o, uint32_t seen);
    void ReadText(DrawingObject& o, uint32_t seen, int depth);
    void ReadStyleMember(size_t which, Style& style, int depth);
    void CheckDepth(int depth, const std::string& where) const;
    DrawingObject& Slot(int depth);
    // Objects that come before a member they need: where they stand, and
    // where reading stood after passing over them.
    struct Later {
        JsonCursor::Mark at;
        JsonCursor::Mark after;
    };
    Later PassOver();
    void ReadLater(const Later& later, int depth);
    void Begin(const DrawingObject& o);
    void End(const DrawingObject& o);
    void Emit(const DrawingObject& o);

    // Values (drawing_values.cpp).
    FillStyle ReadFill(int depth);
    OutlineStyle ReadOutline();
    TransparencyStyle ReadTransparency(int depth);
    FountainStyle ReadFountain(uint32_t seen, bool radial, bool levels);
    PatternStyle ReadPattern(uint32_t seen, int depth);
    TextFont ReadFont();
    svgf::ColorRecord Colour();
    void ReadNodes(DrawingObject& out);
    void ReadPoints(DrawingObject& out);
    void ReadClipShape(DrawingObject& out);
    svgf::HostMatrix Matrix();
    LinkTarget ReadLink();
    svgf::HostRect ReadPage();
    svgf::HostRect AreaObject();
    void AreaValue(size_t which, Area& area);
    svgf::HostRect AreaBox(const Area& area) const;
    svgf::HostRect Box(int64_t left, int64_t top, int64_t right, int64_t bottom) const;
    svgf::HostPoint Point();
    int32_t Length();
    int32_t Size();
    int64_t Integer(int64_t low, int64_t high);
    double Number(double low, double high);
    bool Boolean();
    std::string_view String();
    std::string HostText();
    std::u16string TextCodes();
    int16_t Keyword(std::initializer_list<const char*> names);

    // Reading objects: members in any order, each name at most once.
    template <typename Each>
    uint32_t Members(Names names, uint32_t seen, Each&& each);
    // Reading arrays: each(index) for every element, with its place on the
    // path; more than `most` elements fail with `tooMany` at the array.
    // The number of elements.
    template <typename Each>
    size_t Elements(size_t most, const char* tooMany, Each&& each);
    // At an object whose members depend on its kind: its "kind", wherever it
    // stands. Its members are then read from where the cursor is left;
    // `seen` holds the kind (bit 0) when it came first and is read already.
    struct Kinded {
        std::string kind;
        uint32_t seen;
    };
    Kinded BeginKinded();
    void Require(uint32_t seen, uint32_t required, Names names) const;
    void ExpectKind(JsonKind kind);
    [[noreturn]] void Fail(std::string message) const;
    [[noreturn]] void FailAt(const std::string& where, std::string message) const;
    [[noreturn]] void FailMember(std::string_view key, std::string message) const;

    JsonCursor& json_;
    Drawing& drawing_;
    DrawingSink* sink_;
    std::string baseFolder_;
    JsonPath path_;
    double scale_ = 1.0;  // host units per unit of the file
    // One object for each depth, reused from object to object.
    std::vector<std::unique_ptr<DrawingObject>> slots_;
    DrawingLayer layer_;
};

// Builds the tree of what it is handed: the layers of a drawing, or the
// objects of a pattern tile.
class TreeSink final : public DrawingSink {
  public:
    explicit TreeSink(std::vector<DrawingLayer>& layers) : layers_(&layers) {}
    explicit TreeSink(std::vector<DrawingObject>& objects) { open_.push_back(&objects); }

    bool BeginDrawing(const Drawing&) override { return true; }
    bool BeginLayer(const DrawingLayer& layer) override;
    bool EndLayer(const DrawingLayer&) override;
    bool Object(const DrawingObject& o) override;
    bool BeginStructure(const DrawingObject& o) override;
    bool EndStructure(const DrawingObject&) override;
    bool EndDrawing() override { return true; }

  private:
    std::vector<DrawingLayer>* layers_ = nullptr;
    std::vector<std::vector<DrawingObject>*> open_;
};

inline constexpr uint32_t kCommentBit = 1u << 31;

template <typename Each>
uint32_t DrawingReader::Members(Names names, uint32_t seen, Each&& each) {
    std::string_view key;
    while (json_.NextMember(key)) {
        size_t index = 0;
        for (const std::string_view name : names) {
            if (name == key) break;
            ++index;
        }
        if (index == names.size()) {
            if (key != "comment") FailMember(key, "unknown member \"" + std::string(key) + "\"");
            if ((seen & kCommentBit) != 0) FailMember(key, "repeated member \"comment\"");
            seen |= kCommentBit;
            json_.Skip();
            continue;
        }
        const uint32_t bit = 1u << index;
        if ((seen & bit) != 0) FailMember(key, "repeated member \"" + std::string(key) + "\"");
        seen |= bit;
        path_.Push(names.begin()[index]);
        each(index, seen);
        path_.Pop();
    }
    return seen;
}

template <typename Each>
size_t DrawingReader::Elements(size_t most, const char* tooMany, Each&& each) {
    json_.BeginArray();
    path_.PushIndex(0);
    size_t count = 0;
    for (; json_.NextElement(); ++count) {
        if (count == most) {
            path_.Pop();
            Fail(tooMany);
        }
        path_.SetIndex(count);
        each(count);
    }
    path_.Pop();
    return count;
}

}  // namespace host::reading

#endif  // SVGFILTER_HOST_DRAWING_READING_H
