// The node classes of documents built for style work: tables and cells,
// paragraph-like elements, image-map areas, embedded controls and CDATA
// runs. Each keeps its class when cloned.
#pragma once

#include <cstdint>
#include <memory>

#include "markup/attr_element.h"
#include "markup/extra_object.h"
#include "markup/string.h"
#include "markup/text_elements.h"

namespace imageload {
class Image;
}

namespace markup::style {

// HTML element type ids the classes are made for.
enum HTMLElementType : std::uint32_t {
    kTypeArea = 7,
    kTypeEmbeddedControl = 103,
    kTypeTable = 139,
    kTypeTableData = 141,
    kTypeTableHeader = 146,
};

// What the classes below answer beyond an AttrElement.
class HTMLAttrElement : public AttrElement {
  public:
    ~HTMLAttrElement() override;
    // Whether the element is a table cell.
    virtual bool IsCell() const { return false; }
    // Whether the element shows an embedded control.
    virtual bool IsEmbedded() const { return false; }
};

class AreaElement : public HTMLAttrElement {
  public:
    ~AreaElement() override;
    // Null when memory runs out.
    AreaElement* Clone() const override;
};

// Headings, paragraphs, preformatted blocks and their kin.
class AttrElementParagraph : public HTMLAttrElement {
  public:
    ~AttrElementParagraph() override;
    AttrElementParagraph* Clone() const override;
};

class AttrElementTable : public HTMLAttrElement {
  public:
    // Also frees the table's layout (SetTableLayout).
    ~AttrElementTable() override;
    AttrElementTable* Clone() const override;
};

// Data and header cells share the class.
class AttrElementTDTH : public HTMLAttrElement {
  public:
    ~AttrElementTDTH() override;
    AttrElementTDTH* Clone() const override;
    bool IsCell() const override { return true; }
};

// The process-wide table of table layouts, keyed by table: the layout
// engine keeps what it computed for a table here; the table's destructor
// frees it. Setting replaces an earlier layout; null removes it.
void SetTableLayout(const AttrElementTable* table, std::unique_ptr<ExtraObject> layout);
ExtraObject* FindTableLayout(const AttrElementTable* table);

// An element showing an embedded control (type 103).
class ActiveXElementBase : public HTMLAttrElement {
  public:
    // Height and width attributes of an embedded object, and its class id.
    static constexpr std::uint32_t kHeightAttribute = 0x67004E;
    static constexpr std::uint32_t kWidthAttribute = 0x6700B7;
    static constexpr std::uint32_t kClassIdAttribute = 0x67001F;

    ActiveXElementBase() = default;
    // The placeholder use is the element's own: a copy would give it back twice.
    ActiveXElementBase(const ActiveXElementBase&) = delete;
    ActiveXElementBase& operator=(const ActiveXElementBase&) = delete;
    // Lets every view of the main window that shows the element let it go,
    // and gives the placeholder back to the image cache.
    ~ActiveXElementBase() override;
    ActiveXElementBase* Clone() const override;
    bool IsEmbedded() const override { return true; }

    // Reads the size from the height and width attributes; when either is
    // missing or 0, from the control's own extent; then the image cache's
    // placeholder of embedded controls stands for the control at that size
    // (loaded), one use held until the element goes or is measured again.
    // A control that gives no size leaves 0 by 0, not loaded, and holds no
    // placeholder.
    void Measure();

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    bool PlaceholderLoaded() const { return loaded_; }
    imageload::Image* Placeholder() const { return placeholder_; }
    std::uint32_t ControlWord() const { return controlWord_; }
    void SetControlWord(std::uint32_t word) { controlWord_ = word; }

  private:
    void ReleasePlaceholder();

    imageload::Image* placeholder_ = nullptr;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    bool loaded_ = false;
    std::uint32_t controlWord_ = 0;
};

// A CDATA section: its output text is its text wrapped in the section's
// markers.
class CDataRun : public RunElement {
  public:
    ~CDataRun() override;
    CDataRun* Clone() const override;
    const String& TextRef() const override;

  private:
    mutable String output_;
};

}  // namespace markup::style
