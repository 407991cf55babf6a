// StyleProperties: the computed style of one document-tree node.
//
// The style mapper makes one per styled node and fills it in order:
// initial values (the constructor), the parent's inherited values
// (InheritFrom), the presentational attributes, then the cascade, whose
// setters a later declaration overwrites an earlier one through. The SVG
// import reads the getters. Properties are addressed by the CSS
// dictionary's property ids (1 to 111), and enumerated properties store and
// answer its keyword ids: a setter given a keyword its table does not list
// stores the table's fallback code, and the getter answers that code's
// keyword.
//
// Units of lengths: 0 the record's own initial unit, 1 an absolute length
// already in engine units, 2 a percentage, 3 a plain number or another
// unit, stored unconverted.
#pragma once

#include <cstdint>
#include <memory>

#include "markup/containers.h"
#include "markup/doc_tree.h"
#include "markup/extra_object.h"
#include "markup/node.h"
#include "markup/pane_doc.h"
#include "markup/string.h"
#include "markup/style/graphics.h"

namespace imageload {
class Image;
}

namespace markup::style {

// What a record asks of the style mapper that made it: the graphics back
// end, the measuring device context and the points factor (engine units
// per pixel of that context). A record without a mapper measures with
// Graphics::Instance(), its device context and a factor of 1.
class StyleMapContext {
  public:
    virtual ~StyleMapContext();
    virtual Graphics& GetGraphics() = 0;
    virtual DeviceContext& MeasuringContext() = 0;
    virtual double PointsFactor() const = 0;
};

enum StyleUnitCode : std::int32_t {
    kStyleUnitInitial = 0,
    kStyleUnitAbsolute = 1,
    kStyleUnitPercent = 2,
    kStyleUnitOther = 3,
};

// What the paint getters answer.
enum StylePaintAnswer : std::int32_t {
    kStylePaintURL = -1,
    kStylePaintColour = -2,
    kStylePaintNone = 331,  // the keyword "none"
};

// The paint kinds the record keeps.
enum StylePaintKind : std::uint8_t {
    kPaintKindNone = 0,
    kPaintKindCurrentColour = 1,  // keyword 281
    kPaintKindURL = 2,
    kPaintKindColour = 3,
};

// A reference to an element of a document: the document that holds it and
// the element (null when nothing matched).
struct StyleReference {
    DocTree* document = nullptr;
    Node* element = nullptr;
};

struct StyleDash {
    double value = 0.0;
    std::int32_t unit = 0;
};

class BaseStyleProperties : public ExtraObject {
  public:
    BaseStyleProperties() = default;
    ~BaseStyleProperties() override;
};

class StyleProperties : public BaseStyleProperties {
  public:
    // The mapper is not owned and may be null.
    explicit StyleProperties(StyleMapContext* mapper = nullptr);
    ~StyleProperties() override;

    // The text's width and height in the record's font, in engine units;
    // length -1 measures up to the NUL.
    virtual GraphicsSize TextExtent(const char* text, std::int32_t length);
    // TextExtent of "M".
    virtual GraphicsSize EmExtent();
    // The italic overhang of the record's font at its stored size.
    virtual std::int32_t FontMetric();

    StyleMapContext* Mapper() const { return mapper_; }
    Graphics& GetGraphics() const;
    // The pane document is not owned: "#" references search its tree, URL
    // references resolve against its base URL and are cached in it.
    void SetPaneDocument(BasePaneDoc* pane) { pane_ = pane; }
    BasePaneDoc* PaneDocument() const { return pane_; }

    // The inheritance copy, before anything else is applied to this record.
    // The parent is remembered (not owned) for "inherit" until the cascade
    // has run: it must outlive that.
    void InheritFrom(const StyleProperties& parent);
    // The record InheritFrom copied; null for a record without a parent
    // and after ForgetParent.
    const StyleProperties* Parent() const { return parent_; }
    void ForgetParent() { parent_ = nullptr; }
    // The property's value (every slot it uses) as the other record has it.
    void TakeProperty(std::uint32_t id, const StyleProperties& from);

    // --- Getters the SVG import reads ---
    std::int32_t GetFontSize() const;
    std::int32_t GetFontSizeUnit() const;
    // The size with its fraction, and the parent's (the own size where
    // nothing was inherited): what relative sizes count from.
    double GetFontSizeExact() const;
    double GetInheritedFontSize() const;
    // The font-variant flag (small capitals).
    bool GetDecorationFlag() const;
    String& GetFontFamily(String& out) const;
    // -1 with the reference, -2 with the colour word (0x00BBGGRR), or 331
    // for no paint. An explicit currentColor answers the text colour.
    std::int32_t GetFill(DocTree*& document, Node*& element, std::uint32_t& colour) const;
    std::int32_t GetStroke(DocTree*& document, Node*& element, std::uint32_t& colour) const;
    double GetFillOpacity(std::int32_t& unit) const;
    double GetStrokeWidth(std::int32_t& unit) const;
    double GetStrokeMiterlimit(std::int32_t& unit) const;
    double GetStrokeDashoffset(std::int32_t& unit) const;  // id 77
    double GetStrokeOpacity(std::int32_t& unit) const;     // id 78
    double GetOpacity(std::int32_t& unit) const;           // id 96
    std::uint32_t GetStrokeLinecap() const;
    std::uint32_t GetStrokeLinejoin() const;
    std::uint32_t GetDashCount() const;
    // False, the outs unchanged, when the index is not below the count.
    bool GetDash(std::uint32_t index, double& value, std::int32_t& unit) const;
    // The document of the reference (null when unset); its element in `element`.
    DocTree* GetClipPath(Node*& element) const;
    DocTree* GetMask(Node*& element) const;
    std::uint32_t GetStopColor() const;
    // The alphas (0 to 1) of the stop colour and of the fill's and the
    // stroke's colours (currentColor's is the "color" property's; 1 for
    // anything but a colour).
    double GetStopAlpha() const;
    double GetFillAlpha() const;
    double GetStrokeAlpha() const;
    double GetStopOpacity(std::int32_t& unit) const;
    // Made through Graphics on the first call, then cached.
    Font* GetFont();

    // --- Setters by property id, as the cascade calls them ---
    // Keyword properties (the ids of the keyword tables); the flags kept as
    // keywords (13, 59, 65, 70, 88, 94) too. Ids of another storage are
    // ignored.
    void SetKeyword(std::uint32_t id, std::uint32_t keyword);
    // The keyword the property's code answers; 0 for an id without a table.
    std::uint32_t GetKeyword(std::uint32_t id) const;
    // Plain flags: 3 (italic), 4 (small capitals), 5 (bold).
    void SetFlag(std::uint32_t id, bool on);
    bool GetFlag(std::uint32_t id) const;
    // Words: 9, 10, 16, 17, 19, 22, 23, 34-37, 101-104.
    void SetWord(std::uint32_t id, std::uint32_t word);
    std::uint32_t GetWord(std::uint32_t id) const;
    // The transparent background colour (all ones in the top byte).
    void SetTransparentBackground();
    // Integer lengths: 6, 24-27, 29-32, 46-51, 109, 110.
    void SetIntLength(std::uint32_t id, std::int32_t value, std::int32_t unit);
    // The font size (id 6) with its fraction.
    void SetFontSize(double value, std::int32_t unit = kStyleUnitAbsolute);
    std::int32_t GetIntLength(std::uint32_t id, std::int32_t& unit) const;
    // Double lengths: 7 (unit ignored), 62, 63, 68, 71, 73, 77, 78, 90, 96;
    // the mark is kept by 68, 90 and 96.
    void SetLength(std::uint32_t id, double value, std::int32_t unit, bool mark = false);
    double GetLength(std::uint32_t id, std::int32_t& unit) const;
    bool GetLengthMark(std::uint32_t id) const;
    void SetMiterLimit(double value, std::int32_t unit);

    void SetFontFamily(const String& family);
    // Keyword 164 clears the four flags; 314, 344, 386 and 271 each set one.
    void SetTextDecoration(std::uint32_t keyword);
    bool GetTextDecoration(std::uint32_t keyword) const;
    // Id 91 (overflow) keeps a flag of its own for keyword 305.
    bool GetOverflowInherit() const;

    // Fill (69) and stroke (72) paints.
    void SetFillColour(std::uint32_t colour, double alpha = 1.0);
    void SetFillURL(const String* text);
    void SetFillKeyword(std::uint32_t keyword);
    void SetStrokeColour(std::uint32_t colour, double alpha = 1.0);
    void SetStrokeURL(const String* text);
    void SetStrokeKeyword(std::uint32_t keyword);
    std::uint8_t FillKind() const;
    std::uint8_t StrokeKind() const;

    // References by URL text (93 clip path, 95 mask, 97 filter, and the URL
    // form of 100); null or an empty text clears.
    void SetReference(std::uint32_t id, const String* text);
    StyleReference GetReference(std::uint32_t id) const;
    // Documents loaded for 80, 81 and 82.
    void SetLoadedDocument(std::uint32_t id, const String* text);
    DocTree* GetLoadedDocument(std::uint32_t id) const;
    // Images (11 background, 58 list): the URL is mapped to a local file
    // and the image cache asked for its picture at its own size; the record
    // holds one use of what the cache answers (null when the picture cannot
    // be loaded) and gives it back when the image is replaced or cleared
    // and with the record. A non-picture source (a script, a sound) holds
    // its placeholder. Null clears.
    void SetImage(std::uint32_t id, const String* text);
    imageload::Image* GetImage(std::uint32_t id) const;

    void ClearDashes();
    void AddDash(double value, std::int32_t unit);

    // The four-number block (98): keyword 330 stores the words and marks
    // them given; any other keyword clears the mark.
    void SetEnableBackground(std::uint32_t keyword, const std::int32_t words[4]);
    bool GetEnableBackground(std::int32_t words[4]) const;

    // Stop colour (89) and its inherit mark.
    void SetStopColor(std::uint32_t colour, bool mark, double alpha = 1.0);
    // The stop colour is the element's "color", whatever it computes to.
    void SetStopCurrentColour();
    // The alpha of the "color" property's colour.
    void SetColourAlpha(double alpha);
    // The list marker (100): a keyword stores the marker type and clears
    // the URL form.
    void SetListMarker(std::uint32_t keyword);
    std::uint32_t GetListMarker() const;

    // --- Values only the presentational rules set ---
    void SetPresentationalCode(std::uint32_t valueId);
    std::uint32_t GetPresentationalCode() const;
    void SetControlKind(std::uint32_t kind) { controlKind_ = kind; }
    std::uint32_t GetControlKind() const { return controlKind_; }
    void SetFontWord(std::uint32_t word) { fontWord_ = word; }
    std::uint32_t GetFontWord() const { return fontWord_; }
    void SetFontWord2(std::uint32_t word) { fontWord2_ = word; }
    std::uint32_t GetFontWord2() const { return fontWord2_; }
    void SetImageKind(std::uint32_t word) { imageKind_ = word; }
    std::uint32_t GetImageKind() const { return imageKind_; }
    void SetKindWord(std::uint32_t word) { kindWord_ = word; }
    std::uint32_t GetKindWord() const { return kindWord_; }
    void SetFlagsWord(std::uint32_t word) { flagsWord_ = word; }
    std::uint32_t GetFlagsWord() const { return flagsWord_; }
    void SetAlignWord(std::uint32_t word) { alignWord_ = word; }
    std::uint32_t GetAlignWord() const { return alignWord_; }
    void SetSizeRequest(std::uint8_t byte) { sizeRequest_ = byte; }
    std::uint8_t GetSizeRequest() const { return sizeRequest_; }
    // The list start value; its low byte doubles as the checked flag.
    void SetStartValue(std::uint32_t word) { startValue_ = word; }
    std::uint32_t GetStartValue() const { return startValue_; }
    void SetSecondString(const String& text);
    String& GetSecondString(String& out) const;
    void SetDefaultOnlyWord(std::uint32_t word, bool mark);
    std::uint32_t GetDefaultOnlyWord() const;
    void SetDefaultOnlyLength(double value, std::int32_t unit, bool mark);
    double GetDefaultOnlyLength(std::int32_t& unit) const;
    // The object the node's presentation attaches; owned, destroyed with
    // the record.
    void SetAttachedObject(std::unique_ptr<ExtraObject> object);
    ExtraObject* GetAttachedObject() const;

    // The parsed document of a URL, cached in the pane document per
    // absolute URL; null when it cannot be fetched or parsed.
    DocTree* LoadURLResource(const String& url);

    // The font request of the record's font at its stored size.
    FontRequest MakeFontRequest() const;

  private:
    // "#id" in this document, or another document's root by URL; the
    // element is null when nothing matches, both for a null or empty text.
    StyleReference ResolveReference(const String* text);

    struct Values;
    std::unique_ptr<Values> values_;
    Font* font_ = nullptr;
    const StyleProperties* parent_ = nullptr;
    StyleMapContext* mapper_;
    BasePaneDoc* pane_ = nullptr;
    std::uint32_t controlKind_ = 21;
    std::uint32_t fontWord_ = 0;
    std::uint32_t fontWord2_ = 0;
    std::uint32_t imageKind_ = 0;
    std::uint32_t kindWord_ = 0;
    std::uint32_t flagsWord_ = 0;
    std::uint32_t alignWord_ = 0;
    std::uint8_t sizeRequest_ = 0;
    std::uint32_t startValue_ = 0;
};

// The first element below the document's root, in document order, of the
// type (any type for 0) whose attribute of that id has the value, compared
// without case; null for a null document or when none has it.
Node* FindElementByAttribute(DocTree* document, std::uint32_t typeId, std::uint32_t attributeId,
                             const String& value);

}  // namespace markup::style
