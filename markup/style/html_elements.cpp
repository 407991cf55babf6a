// The HTML node classes: clones that keep their class, the table-layout
// table, embedded-control sizing and CDATA output text.
#include "markup/style/html_elements.h"

#include <cstdlib>
#include <map>
#include <new>

#include "imageload/image_handler.h"
#include "markup/style/activex_controls.h"
#include "markup/style/activex_view.h"

namespace markup::style {

namespace {

std::map<const AttrElementTable*, std::unique_ptr<ExtraObject>>& TableLayouts() {
    static std::map<const AttrElementTable*, std::unique_ptr<ExtraObject>> layouts;
    return layouts;
}

// A number attribute as written ("120", "120px" read as 120); 0 when the
// element lacks it.
std::int32_t NumberAttribute(const AttrElement& element, std::uint32_t id) {
    const Attribute* attribute = element.FindAttribute(id, true);
    if (!attribute) return 0;
    return static_cast<std::int32_t>(std::strtol(attribute->value.Text(), nullptr, 10));
}

}  // namespace

// Clones of the classes: a failed allocation answers null.
#define SVGFILTER_CLONE_OR_NULL(Class)          \
    Class* Class::Clone() const {               \
        try {                                   \
            return CloneAs<Class>();            \
        } catch (const std::bad_alloc&) {       \
            return nullptr;                     \
        }                                       \
    }

SVGFILTER_CLONE_OR_NULL(AreaElement)
SVGFILTER_CLONE_OR_NULL(AttrElementParagraph)
SVGFILTER_CLONE_OR_NULL(AttrElementTable)
SVGFILTER_CLONE_OR_NULL(AttrElementTDTH)
SVGFILTER_CLONE_OR_NULL(ActiveXElementBase)
SVGFILTER_CLONE_OR_NULL(CDataRun)

#undef SVGFILTER_CLONE_OR_NULL

HTMLAttrElement::~HTMLAttrElement() = default;
AreaElement::~AreaElement() = default;
AttrElementParagraph::~AttrElementParagraph() = default;
AttrElementTDTH::~AttrElementTDTH() = default;
CDataRun::~CDataRun() = default;

AttrElementTable::~AttrElementTable() {
    TableLayouts().erase(this);
}

void SetTableLayout(const AttrElementTable* table, std::unique_ptr<ExtraObject> layout) {
    if (!table) return;
    if (layout) {
        TableLayouts()[table] = std::move(layout);
    } else {
        TableLayouts().erase(table);
    }
}

ExtraObject* FindTableLayout(const AttrElementTable* table) {
    auto hit = TableLayouts().find(table);
    return hit == TableLayouts().end() ? nullptr : hit->second.get();
}

ActiveXElementBase::~ActiveXElementBase() {
    ReleaseElementSites(this);
    ReleasePlaceholder();
}

void ActiveXElementBase::ReleasePlaceholder() {
    if (placeholder_) imageload::ImageHandler::Instance().ReleaseImage(placeholder_);
    placeholder_ = nullptr;
}

void ActiveXElementBase::Measure() {
    ReleasePlaceholder();
    std::int32_t height = NumberAttribute(*this, kHeightAttribute);
    std::int32_t width = NumberAttribute(*this, kWidthAttribute);
    if (width == 0 || height == 0) {
        if (!ControlNaturalSize(*this, width, height)) {
            width_ = height_ = 0;
            loaded_ = false;
            return;
        }
    }
    width_ = width;
    height_ = height;
    // The placeholder is drawn at the element's size; its own bounds are
    // the cache's and not the element's.
    platform::Rect rect{0, 0, width, height};
    placeholder_ = imageload::ImageHandler::Instance().GetPlaceholder(imageload::kMediaActiveX, nullptr, rect);
    loaded_ = true;
}

const String& CDataRun::TextRef() const {
    output_ = "<![CDATA[";
    output_ += text_;
    output_ += "]]>";
    return output_;
}

}  // namespace markup::style
