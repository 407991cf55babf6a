// A small HTML-like tree styled by the style mapper under a style sheet,
// for the tests of the pictures records take from the image cache: a body
// holding a bulleted list (ul), a numbered list (ol) and whatever a test
// appends, in a document whose URL a test may place beside its pictures.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "imageload/image_handler.h"
#include "markup/doc_tree.h"
#include "markup/pane_doc.h"
#include "markup/style/css_manager.h"
#include "markup/style/graphics_imp.h"
#include "markup/style/style_map.h"
#include "markup/style/visual_doc.h"
#include "platform/font_backend.h"
#include "style_fixtures.h"
#include "tree_fixtures.h"

namespace style_test {

enum ImageKinds : std::uint32_t { kBody = 25, kNumbered = 105, kBulleted = 153, kItem = 85, kDocument = 173 };

class PlaceholderSettings : public markup::style::VisualSettings {
  public:
    bool ObjectPlaceholders() const override { return placeholders; }
    bool placeholders = false;
};

class StyledImageTree : public ::testing::Test {
  protected:
    StyledImageTree() {
        tree_.SetDictionary(dictionary_.get());
        document_ = markup_test::E(kDocument, {body_ = markup_test::E(kBody)});
        body_->AppendChild(bulleted_ = markup_test::E(kBulleted, {markup_test::E(kItem), markup_test::E(kItem)}));
        body_->AppendChild(numbered_ = markup_test::E(kNumbered, {markup_test::E(kItem)}));
        tree_.AppendChild(document_);
        pane_.SetTree(&tree_);
    }
    ~StyledImageTree() override {
        mapper_.reset();
        markup::Singleton<imageload::ImageHandler>::Release();
    }

    // The document is read from `url`; its links resolve beside it.
    void PlaceDocument(const std::string& url) {
        markup::URLSpec spec;
        spec.Parse(url.c_str());
        pane_.SetURL(&spec);
    }
    void Sheet(const char* text) { manager_.AddStyleText(text, 0); }

    markup::style::StyleMapImp& Mapper() {
        if (!mapper_) mapper_ = std::make_unique<markup::style::StyleMapImp>(&tree_, &pane_, &container_);
        return *mapper_;
    }
    markup::style::StyleProperties& Style(markup::Node* node) {
        markup::style::StyleProperties* style = nullptr;
        EXPECT_TRUE(Mapper().GetStyle(node, style));
        EXPECT_NE(style, nullptr);
        return *style;
    }
    // Every element's record, so that each holds what it takes.
    void StyleAll(markup::Node* node = nullptr) {
        if (!node) node = document_;
        Style(node);
        for (markup::Node* child = node->FirstChild(); child; child = child->NextSibling()) StyleAll(child);
    }
    markup::Node* Item(markup::Node* list, int index) {
        markup::Node* item = list->FirstChild();
        while (item && index-- > 0) item = item->NextSibling();
        return item;
    }
    std::int32_t Pixels(std::int32_t value) { return graphics_.PixelsToUnits(static_cast<float>(value)); }

    platform::FixedFontBackend backend_;
    markup::style::GraphicsImp graphics_{backend_};
    std::unique_ptr<markup::Dictionary> dictionary_ =
        SmallDictionary({{kBody, "body", {}}, {kNumbered, "ol", {}}, {kBulleted, "ul", {}}, {kItem, "li", {}},
                         {kDocument, "html", {}}},
                        {});
    markup::style::CSSManager manager_{Css()};
    markup_test::TestFactory factory_;
    markup::DocTree tree_{&factory_, &manager_};
    markup::BasePaneDoc pane_;
    PlaceholderSettings settings_;
    markup::style::VisualContainer container_{&settings_};
    markup::AttrElement* document_ = nullptr;
    markup::AttrElement* body_ = nullptr;
    markup::AttrElement* bulleted_ = nullptr;
    markup::AttrElement* numbered_ = nullptr;
    std::unique_ptr<markup::style::StyleMapImp> mapper_;
};

}  // namespace style_test
