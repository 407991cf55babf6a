// The visual document: the door through which a DOM client (the SVG
// import) asks for the computed style of an element. It is built over a
// parsed DOM document and owns what style computation needs: a pane
// document over the document tree, the visual settings, the visual
// container and the style mapper, whose cached records it answers.
#pragma once

#include <cstdint>
#include <memory>

#include "markup/pane_doc.h"
#include "markup/parser/dom/dom_handle.h"
#include "markup/string.h"
#include "markup/style/style_properties.h"

namespace markup::style {

class StyleMapImp;

// What style computation asks of the application that shows a document.
// The defaults are those of a plain import: the cascade on, no object
// placeholders, style sheets allowed.
class VisualSettings {
  public:
    virtual ~VisualSettings();
    // 0 cascades; 1 and 2 switch the cascade off, and 2 also selects the
    // alternative form fonts and texts.
    virtual std::uint32_t StyleMode() const { return 0; }
    // Whether scripts, server pages and hidden inputs show placeholders.
    virtual bool ObjectPlaceholders() const { return false; }
    virtual String SettingText() const { return String(); }
    virtual bool StyleSheetsAllowed() const { return true; }
};

// The application's frame around a document: it holds the settings (not
// owned) and answers the document kind (0: a plain document, whose root
// element is of type 25).
class VisualContainer {
  public:
    explicit VisualContainer(VisualSettings* settings) : settings_(settings) {}
    virtual ~VisualContainer();
    virtual void Refresh() {}
    virtual std::uint32_t DocumentKind() const { return 0; }
    VisualSettings* Settings() const { return settings_; }

  private:
    VisualSettings* settings_;
};

class IDOMVisualDoc {
  public:
    virtual ~IDOMVisualDoc();
    // The computed style of an element, or null for a handle that is not
    // an element of this document's kind. The record belongs to the visual
    // document and lives as long as it does, unless it is released.
    virtual StyleProperties* GetStyle(const WDOMHandle& node) = 0;
};

class WDOMVisualDoc_WerImp : public IDOMVisualDoc {
  public:
    // Over a parsed DOM document; `url` is the document's URL (its base
    // for relative references). A handle that is not a document leaves
    // every part null, and every style request then answers null. The DOM
    // document must outlive the visual document.
    WDOMVisualDoc_WerImp(const WDOMHandle& document, const String& url);
    // Destroys the mapper (and with it every record it cached), the pane
    // document, the settings and the container, in that order.
    ~WDOMVisualDoc_WerImp() override;
    WDOMVisualDoc_WerImp(const WDOMVisualDoc_WerImp&) = delete;
    WDOMVisualDoc_WerImp& operator=(const WDOMVisualDoc_WerImp&) = delete;

    StyleProperties* GetStyle(const WDOMHandle& node) override;
    // Lets the element's record go: the pointer GetStyle answered for it is
    // then void, and a later GetStyle computes the record anew. For a
    // client that has read what it needs (the import, once an element is
    // drawn), so that a large document's records are not all held at once.
    void ReleaseStyle(const WDOMHandle& node);
    // The element's computed style as a child of `parent`'s element
    // (null: of nothing), made for the caller and cached nowhere; null for
    // a handle that is not an element of this document.
    std::unique_ptr<StyleProperties> ComputeStyleUnder(const WDOMHandle& node, const StyleProperties* parent);

    BasePaneDoc* PaneDocument() const { return pane_.get(); }
    VisualSettings* Settings() const { return settings_.get(); }
    StyleMapImp* Mapper() const { return mapper_.get(); }
    VisualContainer* Container() const { return container_.get(); }

  private:
    std::unique_ptr<BasePaneDoc> pane_;
    std::unique_ptr<VisualSettings> settings_;
    std::unique_ptr<StyleMapImp> mapper_;
    std::unique_ptr<VisualContainer> container_;
};

}  // namespace markup::style
