// Scroll views with scaled bars, views of control sites and the form-control
// windows.
#include "markup/style/activex_view.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "markup/attr_element.h"
#include "markup/doc_element.h"
#include "markup/style/html_form_handler.h"
#include "platform/system_info.h"

namespace markup::style {

namespace {

ScrollView* CreateActiveXView() {
    return new ActiveXView(1);
}

std::int32_t Axis(const Size& s, platform::Bar bar) {
    return bar == platform::Bar::Vertical ? s.cy : s.cx;
}

// Keeps a sum of positions and distances inside 32 bits.
std::int32_t Clamp32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

const ViewClass kFrameworkScrollViewClass = {"FrameworkScrollView", 0xFFFF, nullptr, nullptr};
const ViewClass ScrollView::kClass = {"ScrollView", 0xFFFF, nullptr, &kFrameworkScrollViewClass};
const ViewClass ActiveXView::kClass = {"ActiveXView", 0xFFFF, &CreateActiveXView, &ScrollView::kClass};

ScrollView::ScrollView() = default;
ScrollView::~ScrollView() = default;

void ScrollView::SetScrollSizes(Size total, Size page, Size line) {
    total_ = total;
    page_ = {page.cx ? page.cx : total.cx / 10, page.cy ? page.cy : total.cy / 10};
    line_ = {line.cx ? line.cx : page_.cx / 10, line.cy ? line.cy : page_.cy / 10};
}

std::int32_t ScrollView::BarFromPosition(std::int32_t position, std::int32_t total) {
    if (total <= kBarRange) return position;
    return static_cast<std::int32_t>(position / (total * 0.00003125) + 0.5);
}

std::int32_t ScrollView::PositionFromBar(std::int32_t bar, std::int32_t total) {
    if (total <= kBarRange) return bar;
    return static_cast<std::int32_t>(total * 0.00003125 * bar + 0.5);
}

std::int32_t ScrollView::StepFor(std::uint32_t code, std::int32_t current, std::int32_t barPosition,
                                 platform::Bar bar) const {
    switch (code) {
        case 0: return Clamp32(static_cast<std::int64_t>(current) - Axis(line_, bar));
        case 1: return Clamp32(static_cast<std::int64_t>(current) + Axis(line_, bar));
        case 2: return Clamp32(static_cast<std::int64_t>(current) - Axis(page_, bar));
        case 3: return Clamp32(static_cast<std::int64_t>(current) + Axis(page_, bar));
        case 5: return PositionFromBar(barPosition, Axis(total_, bar));
        case 6: return 0;
        case 7: return 0x7FFFFFFF;
        default: return current;
    }
}

bool ScrollView::OnScroll(std::uint32_t codes, std::int32_t barPosition, bool doScroll) {
    const std::int32_t x = StepFor(codes & 0xFF, position_.x, barPosition, platform::Bar::Horizontal);
    const std::int32_t y = StepFor((codes >> 8) & 0xFF, position_.y, barPosition, platform::Bar::Vertical);
    const bool scrolled = OnScrollBy(Clamp32(static_cast<std::int64_t>(x) - position_.x),
                                     Clamp32(static_cast<std::int64_t>(y) - position_.y), doScroll);
    if (scrolled && doScroll) UpdateNow();
    return scrolled;
}

bool ScrollView::CanScroll(platform::Bar bar) const {
    const platform::ScrollBarState& state = ScrollBar(bar);
    if (state.hasControl) return state.enabled;
    return state.hasStyle;
}

bool ScrollView::OnScrollBy(std::int32_t dx, std::int32_t dy, bool doScroll) {
    if (!CanScroll(platform::Bar::Horizontal)) dx = 0;
    if (!CanScroll(platform::Bar::Vertical)) dy = 0;
    auto place = [](std::int32_t current, std::int32_t distance, std::int32_t total, std::int32_t page) {
        std::int64_t next = static_cast<std::int64_t>(current) + distance;
        next = std::min<std::int64_t>(next, static_cast<std::int64_t>(total) - page);
        return Clamp32(std::max<std::int64_t>(next, 0));
    };
    const platform::Point next{place(position_.x, dx, total_.cx, page_.cx),
                               place(position_.y, dy, total_.cy, page_.cy)};
    if (next == position_) return false;
    if (doScroll) ScrollToDevicePosition(next);
    return true;
}

void ScrollView::ScrollToDevicePosition(platform::Point position) {
    SetScrollPos(platform::Bar::Horizontal, BarFromPosition(position.x, total_.cx), true);
    SetScrollPos(platform::Bar::Vertical, BarFromPosition(position.y, total_.cy), true);
    ScrollContents(Clamp32(static_cast<std::int64_t>(position_.x) - position.x),
                   Clamp32(static_cast<std::int64_t>(position_.y) - position.y));
    position_ = position;
}

ActiveXView::ActiveXView(std::uint32_t designMode) : designMode_(designMode) {}

ActiveXView::~ActiveXView() {
    std::vector<ControlSite*> sites;
    sites.swap(sites_);
    if (ownsSites_) {
        for (ControlSite* site : sites) delete site;
    }
}

void ActiveXView::AddSite(std::unique_ptr<ControlSite> site) {
    if (!site) return;
    AddChild(site.get());
    sites_.push_back(site.release());
}

void ActiveXView::OnEraseBackground() {
    if (designMode_ == 0) FillRect(ClientRect(), platform::SystemColour(platform::kColourWindow));
}

int ActiveXView::OnMouseActivate() const {
    return designMode_ == 0 ? kActivate : kFrameworkActivation;
}

bool ActiveXView::OnSetCursor(platform::Point point) const {
    for (const ControlSite* site : sites_) {
        if (site && site->tracker.SetCursor(point)) return true;
    }
    platform::SetCurrentCursor(kArrowCursor);
    return false;
}

void ActiveXView::OnLeftButtonDown(platform::Point press, platform::Point release) {
    for (ControlSite* site : sites_) {
        if (!site || !site->tracker.HitTest(press)) continue;
        current_ = site;
        site->tracker.Track(press, release);
        const platform::Rect tracked = site->tracker.GetRect();
        if (tracked.Width() != site->rect.Width() || tracked.Height() != site->rect.Height()) site->changed = true;
        const platform::Point scroll = GetScrollPosition();
        site->rect = tracked.Offset(scroll.x, scroll.y);
        site->Invalidate(true);
        if (designMode_ == 0) Invalidate(true);
        return;
    }
    platform::Window* under = ChildFromPoint(press);
    for (ControlSite* site : sites_) {
        if (site && site == under) current_ = site;
    }
}

void ActiveXView::ListSites(List<ControlSite>& out) const {
    out.RemoveAll();
    for (ControlSite* site : sites_) {
        if (site) out.InsertAt(out.Count(), site);
    }
}

ControlSite* ActiveXView::SiteForElement(const Node* element) const {
    for (ControlSite* site : sites_) {
        if (site && element && site->element == element) return site;
    }
    return nullptr;
}

void ActiveXView::ReleaseSite(const Node* element) {
    if (!element) return;
    for (auto it = sites_.begin(); it != sites_.end();) {
        ControlSite* site = *it;
        if (!site || site->element != element) {
            ++it;
            continue;
        }
        it = sites_.erase(it);
        if (current_ == site) current_ = nullptr;
        if (secondSite_ == site) secondSite_ = nullptr;
        RemoveChild(site);
        if (ownsSites_) delete site;
    }
}

void ReleaseElementSites(const Node* element) {
    platform::Window* main = platform::MainWindow();
    if (!main || !element) return;
    // Views first, then the release, so that no site dies under the walk.
    std::vector<ActiveXView*> views;
    std::vector<platform::Window*> pending(main->Children().rbegin(), main->Children().rend());
    while (!pending.empty()) {
        platform::Window* window = pending.back();
        pending.pop_back();
        if (auto* view = dynamic_cast<ActiveXView*>(window)) views.push_back(view);
        pending.insert(pending.end(), window->Children().rbegin(), window->Children().rend());
    }
    for (ActiveXView* view : views) view->ReleaseSite(element);
}

void PushButtonWindow::OnNotify(std::uint32_t code) {
    if (code != kClickNotification) return;
    AttrElement* button = AsAttrElement(element_);
    if (!button) return;
    const Attribute* type = button->FindAttribute(kTypeAttribute, true);
    if (!type) return;
    DocElement* form = button->FindAncestorOfType(kFormType);
    if (!form) return;
    if (type->valueCode == kResetCode) {
        HTMLFormElementHandler handler(form, dictionary_);
        handler.ClearValues();
    } else if (type->valueCode == kSubmitCode) {
        HTMLFormElementHandler handler(form, dictionary_);
        handler.Submit();
    }
}

void TextFieldWindow::OnNotify(std::uint32_t code) {
    if (code == kChangeNotification) value_ = Text();
}

}  // namespace markup::style
