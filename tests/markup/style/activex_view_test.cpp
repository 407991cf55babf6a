// Scroll views, views of control sites, and the form-control windows with
// the form handler behind the push button.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "markup/style/activex_view.h"
#include "markup/style/html_elements.h"
#include "markup/style/html_form_handler.h"
#include "platform/system_info.h"
#include "style_fixtures.h"
#include "tree_fixtures.h"

namespace {

using markup::style::ActiveXView;
using markup::style::ControlSite;
using markup::style::ScrollView;
using platform::Point;
using platform::Rect;
using style_test::Str;

struct ScaleCase {
    std::int32_t total;
    std::int32_t position;
    std::int32_t bar;
};

class BarScaling : public testing::TestWithParam<ScaleCase> {};

TEST_P(BarScaling, BothWays) {
    const ScaleCase& c = GetParam();
    EXPECT_EQ(ScrollView::BarFromPosition(c.position, c.total), c.bar);
    EXPECT_EQ(ScrollView::PositionFromBar(c.bar, c.total), c.position);
}

INSTANTIATE_TEST_SUITE_P(Rows, BarScaling,
                         testing::Values(ScaleCase{64000, 16000, 8000}, ScaleCase{32000, 16000, 16000},
                                         ScaleCase{64000, 0, 0}, ScaleCase{100000, 50000, 16000},
                                         ScaleCase{1000, 999, 999}));

ScrollView* Scrollable(ScrollView& view, std::int32_t height) {
    view.Bounds() = {0, 0, 400, 300};
    view.ScrollBar(platform::Bar::Vertical).hasStyle = true;
    view.SetScrollSizes({400, height}, {400, 300});
    return &view;
}

TEST(ScrollView, ThumbTrackingTakesTheScaledBarBack) {
    ScrollView view;
    Scrollable(view, 64000);
    EXPECT_TRUE(view.OnScroll(0x0500, 8000, true));
    EXPECT_EQ(view.GetScrollPosition(), (Point{0, 16000}));
    EXPECT_EQ(view.Log(), (std::vector<std::string>{"scrollpos h 0 redraw", "scrollpos v 8000 redraw",
                                                    "scroll 0 -16000", "update"}));
}

TEST(ScrollView, PositionStaysInsideTheDocument) {
    ScrollView view;
    Scrollable(view, 1000);
    EXPECT_TRUE(view.OnScroll(0x0700, 0, true)) << "to the end";
    EXPECT_EQ(view.GetScrollPosition().y, 700) << "total less page";
    EXPECT_FALSE(view.OnScroll(0x0300, 0, true)) << "a page on from the end stays";
    EXPECT_TRUE(view.OnScroll(0x0000, 0, true)) << "a line back";
    EXPECT_EQ(view.GetScrollPosition().y, 670) << "a line is a tenth of the page";
    EXPECT_TRUE(view.OnScroll(0x0600, 0, false)) << "to the start, without scrolling";
    EXPECT_EQ(view.GetScrollPosition().y, 670) << "the flag off only answers";
    EXPECT_FALSE(view.OnScrollBy(500, 0, true)) << "no horizontal bar, no horizontal scroll";
    view.ScrollBar(platform::Bar::Vertical).hasControl = true;
    view.ScrollBar(platform::Bar::Vertical).enabled = false;
    EXPECT_FALSE(view.OnScrollBy(0, -100, true)) << "a disabled bar's control";
    view.ScrollBar(platform::Bar::Vertical).enabled = true;
    EXPECT_TRUE(view.OnScrollBy(0, INT32_MIN, true)) << "no overflow far before the start";
    EXPECT_EQ(view.GetScrollPosition().y, 0);
}

std::unique_ptr<ControlSite> Site(Rect rect, const markup::Node* element) {
    auto site = std::make_unique<ControlSite>();
    site->Bounds() = rect;
    site->rect = rect;
    site->tracker = platform::RectTracker(rect);
    site->element = element;
    return site;
}

TEST(ActiveXView, RunModeAndNamedCreationDiffer) {
    ActiveXView run(0);
    run.Bounds() = {0, 0, 200, 100};
    run.OnEraseBackground();
    EXPECT_EQ(run.Log(), std::vector<std::string>{"fill 0 0 200 100 FFFFFF"});
    EXPECT_EQ(run.OnMouseActivate(), ActiveXView::kActivate);

    ASSERT_NE(ActiveXView::kClass.create, nullptr);
    EXPECT_EQ(ScrollView::kClass.create, nullptr) << "a scroll view is not made by name";
    EXPECT_EQ(ActiveXView::kClass.base, &ScrollView::kClass);
    std::unique_ptr<ScrollView> named(ActiveXView::kClass.create());
    auto* design = dynamic_cast<ActiveXView*>(named.get());
    ASSERT_NE(design, nullptr);
    EXPECT_EQ(design->DesignMode(), 1u);
    design->OnEraseBackground();
    EXPECT_TRUE(design->Log().empty());
    EXPECT_EQ(design->OnMouseActivate(), ActiveXView::kFrameworkActivation);
}

TEST(ActiveXView, DraggingASiteMovesItAndResizingMarksIt) {
    for (std::uint32_t mode : {0u, 1u}) {
        ActiveXView view(mode);
        Scrollable(view, 64000);
        view.ScrollToDevicePosition({0, 100});
        view.ClearLog();
        view.AddSite(Site({10, 10, 50, 40}, nullptr));
        ControlSite* site = view.Children().front() ? dynamic_cast<ControlSite*>(view.Children().front()) : nullptr;
        ASSERT_NE(site, nullptr);

        view.OnLeftButtonDown({20, 20}, {30, 25});  // a move
        EXPECT_EQ(view.CurrentSite(), site);
        EXPECT_FALSE(site->changed);
        EXPECT_EQ(site->rect, (Rect{20, 115, 60, 145})) << "the scroll position is added";
        EXPECT_EQ(site->Log(), std::vector<std::string>{"invalidate erase"});
        EXPECT_EQ(view.Log().size(), mode == 0 ? 1u : 0u) << "only run mode repaints the view";

        view.OnLeftButtonDown({58, 43}, {68, 53});  // the corner: a resize
        EXPECT_TRUE(site->changed);
        EXPECT_EQ(site->tracker.GetRect(), (Rect{20, 15, 70, 55}));

        EXPECT_TRUE(view.OnSetCursor({21, 16}));
        EXPECT_EQ(platform::CurrentCursor(), platform::RectTracker::kMoveCursor);
        EXPECT_FALSE(view.OnSetCursor({300, 200}));
        EXPECT_EQ(platform::CurrentCursor(), ActiveXView::kArrowCursor);
    }
}

TEST(ActiveXView, ElementDestructionReleasesItsSitesInEveryView) {
    platform::Window main;
    platform::Window frame;
    main.AddChild(&frame);
    platform::SetMainWindow(&main);
    auto* element = new markup::style::ActiveXElementBase;
    auto* other = new markup::AttrElement;
    {
        ActiveXView first(0);
        ActiveXView nested(1);
        frame.AddChild(&first);
        first.AddChild(&nested);
        first.AddSite(Site({0, 0, 10, 10}, element));
        first.AddSite(Site({20, 0, 30, 10}, other));
        nested.AddSite(Site({0, 0, 10, 10}, element));
        markup::List<ControlSite> sites;
        sites.InsertAt(0, nullptr);
        first.ListSites(sites);
        EXPECT_EQ(sites.Count(), 2u) << "emptied first, then every site";

        delete element;
        EXPECT_EQ(first.SiteForElement(element), nullptr);
        EXPECT_EQ(nested.SiteForElement(element), nullptr);
        EXPECT_NE(first.SiteForElement(other), nullptr);
        first.ListSites(sites);
        EXPECT_EQ(sites.Count(), 1u);
        sites.RemoveAll();
    }
    delete other;
    platform::SetMainWindow(nullptr);
}

// Forms: type 56; inputs (73) and selects (122) are form controls; 80 a
// paragraph that holds them.
constexpr std::uint32_t kForm = 56;
constexpr std::uint32_t kInput = 73;
constexpr std::uint32_t kSelect = 122;
constexpr std::uint32_t kValue = markup::style::HTMLFormElementHandler::kValueAttribute;

class Forms : public testing::Test {
  protected:
    Forms() { dictionary_.groups[7] = {kInput, kSelect}; }

    markup::AttrElement* Input(const char* label, const char* value) {
        markup::AttrElement* input = markup_test::Named(kInput, label);
        if (value) markup_test::WithAttribute(input, kValue, value);
        return input;
    }
    static std::string Value(markup::Node* node) {
        const markup::Attribute* value = markup::AsAttrElement(node)->FindAttribute(kValue, false);
        return value ? Str(value->value) : "-";
    }

    markup_test::FakeDictionary dictionary_;
};

TEST_F(Forms, NestedControlsAreCollectedInDocumentOrder) {
    std::unique_ptr<markup::AttrElement> form(markup_test::E(
        kForm, {Input("a", "1"),
                markup_test::E(80, {markup_test::Named(kSelect, "b", {Input("c", nullptr)}), Input("d", "4")}),
                Input("e", "5")}));
    markup::style::HTMLFormElementHandler handler(form.get(), &dictionary_);
    std::string order;
    for (std::uint32_t i = 0; i < handler.Count(); ++i) order += Str(handler.ControlAt(i)->Text());
    EXPECT_EQ(order, "abcde");
    EXPECT_EQ(handler.ControlAt(handler.Count()), nullptr);
    form->DeleteSubtree();
    form.release();
}

TEST_F(Forms, AFormWithoutControlsHasNoArray) {
    markup::AttrElement* form = markup_test::E(kForm, {markup_test::E(80), markup_test::T(160, "text")});
    markup::style::HTMLFormElementHandler handler(form, &dictionary_);
    EXPECT_EQ(handler.Count(), 0u);
    EXPECT_FALSE(handler.HasArray());
    handler.ClearValues();
    markup::style::HTMLFormElementHandler noDictionary(form, nullptr);
    EXPECT_EQ(noDictionary.Count(), 0u);
    form->DeleteSubtree();
}

TEST_F(Forms, DeepFormsAreWalkedWithoutRecursion) {
    markup::AttrElement* form = markup_test::E(kForm);
    markup::Node* last = form;
    for (int i = 0; i < 100000; ++i) {
        markup::Node* next = markup_test::E(80);
        last->AppendChild(next);
        last = next;
    }
    last->AppendChild(Input("deep", "x"));
    markup::style::HTMLFormElementHandler handler(form, &dictionary_);
    EXPECT_EQ(handler.Count(), 1u);
    form->DeleteSubtree();
}

// A reset button inside the form, and what its click does by type code.
struct ButtonCase {
    std::uint32_t code;
    bool insideForm;
    bool cleared;
};

class PushButton : public Forms, public testing::WithParamInterface<ButtonCase> {};

TEST_P(PushButton, ResetClearsTheFormOnly) {
    markup::AttrElement* button = Input("button", "Reset");
    auto type = std::make_unique<markup::Attribute>(markup::style::PushButtonWindow::kTypeAttribute);
    type->value = "reset";
    type->valueCode = GetParam().code;
    button->AddAttribute(std::move(type));
    markup::AttrElement* field = Input("field", "typed");
    markup::AttrElement* root = markup_test::E(25);
    markup::AttrElement* holder = markup_test::E(GetParam().insideForm ? kForm : 80, {field, markup_test::E(80, {button})});
    root->AppendChild(holder);
    markup::AttrElement* outside = Input("outside", "kept");
    root->AppendChild(outside);

    markup::style::PushButtonWindow window(button, &dictionary_);
    window.OnNotify(1);
    EXPECT_EQ(Value(field), "typed") << "only the click notification counts";
    window.OnNotify(markup::style::PushButtonWindow::kClickNotification);
    EXPECT_EQ(Value(field), GetParam().cleared ? "" : "typed");
    EXPECT_EQ(Value(button), GetParam().cleared ? "" : "Reset");
    EXPECT_EQ(Value(outside), "kept");
    root->DeleteSubtree();
}

INSTANTIATE_TEST_SUITE_P(Codes, PushButton,
                         testing::Values(ButtonCase{200, true, true}, ButtonCase{228, true, false},
                                         ButtonCase{200, false, false}, ButtonCase{0, true, false}));

TEST(TextFieldWindow, KeepsTheTextOnEachChange) {
    markup::style::TextFieldWindow field;
    field.SetText("abc");
    field.OnNotify(0);
    EXPECT_EQ(field.Value(), "");
    field.OnNotify(markup::style::TextFieldWindow::kChangeNotification);
    EXPECT_EQ(field.Value(), "abc");
}

}  // namespace
