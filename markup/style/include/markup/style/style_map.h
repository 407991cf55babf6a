// The style mapper: computes and caches the computed style of the nodes of
// one document tree. For each element it applies the parent's inherited
// values, the HTML presentational rules (alignment, fonts of code-like
// elements, form controls, list numbering, presentational attributes) and
// the cascade of the document's style sheets; text-like nodes share their
// parent's record. Each record is cached on its node and lives until the
// cache is cleared.
#pragma once

#include <cstdint>
#include <memory>

#include "markup/doc_tree.h"
#include "markup/node.h"
#include "markup/pane_doc.h"
#include "markup/style/graphics.h"
#include "markup/style/style_properties.h"
#include "markup/style/visual_doc.h"

namespace markup::style {

class StyleMap : public StyleMapContext {
  public:
    ~StyleMap() override;
    // The node's record; false (and null) only for a null node. Nodes that
    // get no record of their own may answer null with true.
    virtual bool GetStyle(Node* node, StyleProperties*& out) = 0;
    // Deletes every record cached in the node's subtree.
    virtual void ClearCache(Node* node) = 0;
    // The context text is measured in (null: the mapper's own); resets the
    // points factor to 1.
    virtual void SetDeviceContext(DeviceContext* dc) = 0;
    virtual VisualSettings* GetSettings() const = 0;
    virtual std::uint32_t GetDocumentKind() const = 0;
};

class StyleMapImp : public StyleMap {
  public:
    // None of the three is owned. The container may be null (a plain
    // document with the default settings).
    StyleMapImp(DocTree* tree, BasePaneDoc* pane, VisualContainer* container);
    // Clears the whole tree's cache.
    ~StyleMapImp() override;
    StyleMapImp(const StyleMapImp&) = delete;
    StyleMapImp& operator=(const StyleMapImp&) = delete;

    bool GetStyle(Node* node, StyleProperties*& out) override;
    void ClearCache(Node* node) override;
    // Deletes the record cached on the node itself (not on its subtree).
    void ReleaseStyle(Node* node);
    void SetDeviceContext(DeviceContext* dc) override;
    VisualSettings* GetSettings() const override;
    std::uint32_t GetDocumentKind() const override;

    // StyleMapContext.
    Graphics& GetGraphics() override;
    DeviceContext& MeasuringContext() override;
    double PointsFactor() const override { return pointsFactor_; }
    void SetPointsFactor(double factor) { pointsFactor_ = factor; }

    // Fills a fresh record: inheritance, presentational rules, cascade,
    // control kind, list numbering.
    void ComputeStyle(DocElement* node, StyleProperties& style);
    // A record of the node computed as if `parent`'s element were its
    // parent (null: it inherits nothing), cached nowhere: the node drawn
    // in another place, as an SVG `use` instance draws its content.
    std::unique_ptr<StyleProperties> ComputeStyleUnder(Node* node, const StyleProperties* parent);

    DocTree* Tree() const { return tree_; }
    BasePaneDoc* PaneDocument() const { return pane_; }
    // The link colour (0x00BBGGRR) the last styled body set.
    std::uint32_t LinkColour() const { return linkColour_; }
    void SetLinkColour(std::uint32_t colour) { linkColour_ = colour; }
    // The type of the element that inherits nothing: 25 for the document
    // kinds 0, 2, 3 and 7, else the document node's.
    std::uint32_t RootKind() const;
    std::uint32_t StyleMode() const;

  private:
    // ComputeStyle with the parent's record given (when `parentGiven`)
    // instead of the tree parent's.
    void ComputeStyleWith(DocElement* node, StyleProperties& style, const StyleProperties* given,
                          bool parentGiven);

    DeviceContext* deviceContext_ = nullptr;
    DeviceContext memoryContext_;
    DocTree* tree_;
    BasePaneDoc* pane_;
    std::uint32_t linkColour_ = 0xFF0000;
    double pointsFactor_ = 1.0;
    VisualContainer* container_;
    VisualSettings defaultSettings_;
};

// A mapper for the visual document; null when memory runs out.
std::unique_ptr<StyleMapImp> CreateStyleMap(DocTree* tree, BasePaneDoc* pane, VisualContainer* container);

}  // namespace markup::style
