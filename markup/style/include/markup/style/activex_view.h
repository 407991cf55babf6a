// The views that show embedded controls: a scrolling view that keeps its
// own position and scales it onto 16-bit-range scroll bars, a view of
// control sites that the user moves and resizes, and the two form-control
// windows (a push button, a text field). They run on the headless window
// model of the platform layer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "markup/containers.h"
#include "markup/dictionary_base.h"
#include "markup/node.h"
#include "platform/window_model.h"

namespace markup::style {

class ScrollView;

// A view class as the framework knows it by name.
struct ViewClass {
    const char* name;
    std::uint32_t schema;
    // Null when the class cannot be created by name.
    ScrollView* (*create)();
    const ViewClass* base;
};

// The framework's own scroll view, the root of the classes below.
extern const ViewClass kFrameworkScrollViewClass;

struct Size {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
};

class ScrollView : public platform::Window {
  public:
    static const ViewClass kClass;
    // Scroll bars show positions up to this; longer axes are scaled.
    static constexpr std::int32_t kBarRange = 32000;

    ScrollView();
    ~ScrollView() override;
    virtual const ViewClass& GetClass() const { return kClass; }

    // The document's size and the steps of a page and a line; a page of 0
    // is a tenth of the total, a line of 0 a tenth of the page.
    void SetScrollSizes(Size total, Size page = {}, Size line = {});
    Size TotalSize() const { return total_; }

    // The position in device units, as stored (never read back from the
    // bars).
    platform::Point GetScrollPosition() const { return position_; }

    // Position and bar position along an axis of `total` device units.
    static std::int32_t BarFromPosition(std::int32_t position, std::int32_t total);
    static std::int32_t PositionFromBar(std::int32_t bar, std::int32_t total);

    // Bar codes: the horizontal code in the low byte, the vertical in the
    // second (0 line back, 1 line on, 2 page back, 3 page on, 5 thumb at
    // `barPosition`, 6 start, 7 end). Answers whether the view scrolled;
    // with doScroll it also updates the window at once.
    bool OnScroll(std::uint32_t codes, std::int32_t barPosition, bool doScroll);
    // Scrolls by a distance, kept inside the document; an axis without an
    // enabled bar does not move. False when the position stays.
    bool OnScrollBy(std::int32_t dx, std::int32_t dy, bool doScroll);
    // Sets both bars (scaled), scrolls the contents and stores the position.
    void ScrollToDevicePosition(platform::Point position);

  private:
    std::int32_t StepFor(std::uint32_t code, std::int32_t current, std::int32_t barPosition, platform::Bar bar) const;
    bool CanScroll(platform::Bar bar) const;

    platform::Point position_;
    Size total_;
    Size page_;
    Size line_;
};

// One control shown in an ActiveXView: a child window with its tracker,
// its rectangle in document coordinates, whether the user resized it, and
// the element it shows (not owned).
struct ControlSite : public platform::Window {
    platform::RectTracker tracker;
    platform::Rect rect;
    bool changed = false;
    const Node* element = nullptr;
};

class ActiveXView : public ScrollView {
  public:
    static const ViewClass kClass;
    // What OnMouseActivate answers when the view activates itself, and
    // when it leaves the choice to the framework.
    static constexpr int kActivate = 1;
    static constexpr int kFrameworkActivation = 0;
    static constexpr std::uint32_t kArrowCursor = 32512;

    // Design mode 0 is run mode: the view paints its background, activates
    // itself on a click and is repainted after a site moves.
    explicit ActiveXView(std::uint32_t designMode);
    // Deletes the sites while it owns them.
    ~ActiveXView() override;
    const ViewClass& GetClass() const override { return kClass; }

    // The view takes the site (and shows it as a child window).
    void AddSite(std::unique_ptr<ControlSite> site);
    void SetOwnsSites(bool owns) { ownsSites_ = owns; }

    void OnEraseBackground();
    int OnMouseActivate() const;
    // True when a site's tracker set the cursor; else the arrow is set.
    bool OnSetCursor(platform::Point point) const;
    // A press at `press`, released at `release` (the tracker's drag).
    void OnLeftButtonDown(platform::Point press, platform::Point release);

    // Empties the list (deleting nothing) and appends every site in order;
    // the list does not own them.
    void ListSites(List<ControlSite>& out) const;
    ControlSite* SiteForElement(const Node* element) const;
    // The view drops (and deletes, while it owns them) every site that
    // shows the element.
    void ReleaseSite(const Node* element);
    ControlSite* CurrentSite() const { return current_; }
    std::uint32_t DesignMode() const { return designMode_; }

  private:
    ControlSite* current_ = nullptr;
    ControlSite* secondSite_ = nullptr;
    std::vector<ControlSite*> sites_;
    std::uint32_t designMode_;
    bool ownsSites_ = true;
};

// Every ActiveXView among the main window's descendants lets go of the
// sites that show the element (its destructor calls this).
void ReleaseElementSites(const Node* element);

// The window of a form's push button. Its element's type attribute decides
// what a click does to the enclosing form: reset (value code 200) empties
// the form's values, submit (228) sends nothing.
class PushButtonWindow : public platform::Window {
  public:
    static constexpr std::uint32_t kClickNotification = 0;
    static constexpr std::uint32_t kTypeAttribute = 0x4900AA;
    static constexpr std::uint32_t kFormType = 56;
    static constexpr std::uint32_t kResetCode = 200;
    static constexpr std::uint32_t kSubmitCode = 228;

    // The element and its document's dictionary are not owned.
    PushButtonWindow(Node* element, const DictionaryBase* dictionary)
        : element_(element), dictionary_(dictionary) {}
    // A notification reflected from the button control.
    void OnNotify(std::uint32_t code);

  private:
    Node* element_;
    const DictionaryBase* dictionary_;
};

// The window of a text field: on each change it keeps the control's text.
class TextFieldWindow : public platform::Window {
  public:
    static constexpr std::uint32_t kChangeNotification = 0x300;

    void OnNotify(std::uint32_t code);
    const std::string& Value() const { return value_; }

  private:
    std::string value_;
};

}  // namespace markup::style
