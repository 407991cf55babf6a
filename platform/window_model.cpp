// The headless window, the main-window and cursor state, the rectangle
// tracker.
#include "platform/window_model.h"

#include <algorithm>
#include <cstdio>

namespace platform {

namespace {

Window* g_mainWindow = nullptr;
std::uint32_t g_cursor = 0;

}  // namespace

Window::~Window() {
    if (parent_) parent_->RemoveChild(this);
    for (Window* child : children_) child->parent_ = nullptr;
}

void Window::AddChild(Window* child) {
    if (!child || child == this) return;
    if (child->parent_) child->parent_->RemoveChild(child);
    child->parent_ = this;
    children_.push_back(child);
}

void Window::RemoveChild(Window* child) {
    auto it = std::find(children_.begin(), children_.end(), child);
    if (it == children_.end()) return;
    (*it)->parent_ = nullptr;
    children_.erase(it);
}

Window* Window::ChildFromPoint(Point p) const {
    for (Window* child : children_) {
        if (child->bounds_.Contains(p)) return child;
    }
    return nullptr;
}

void Window::SetScrollPos(Bar bar, std::int32_t position, bool redraw) {
    ScrollBar(bar).position = position;
    log_.push_back(std::string("scrollpos ") + (bar == Bar::Vertical ? "v " : "h ") + std::to_string(position) +
                   (redraw ? " redraw" : ""));
}

void Window::Invalidate(bool erase) {
    log_.push_back(erase ? "invalidate erase" : "invalidate");
}

void Window::UpdateNow() {
    log_.push_back("update");
}

void Window::ScrollContents(std::int32_t dx, std::int32_t dy) {
    log_.push_back("scroll " + std::to_string(dx) + " " + std::to_string(dy));
}

void Window::FillRect(const Rect& rect, std::uint32_t colour) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%06X", colour);
    log_.push_back("fill " + std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
                   std::to_string(rect.right) + " " + std::to_string(rect.bottom) + " " + buffer);
}

Window* MainWindow() {
    return g_mainWindow;
}

void SetMainWindow(Window* window) {
    g_mainWindow = window;
}

std::uint32_t CurrentCursor() {
    return g_cursor;
}

void SetCurrentCursor(std::uint32_t id) {
    g_cursor = id;
}

bool RectTracker::OnResizeHandle(Point p) const {
    return rect_.Contains(p) && p.x >= rect_.right - 4 && p.y >= rect_.bottom - 4;
}

bool RectTracker::SetCursor(Point p) const {
    if (!rect_.Contains(p)) return false;
    SetCurrentCursor(OnResizeHandle(p) ? kResizeCursor : kMoveCursor);
    return true;
}

bool RectTracker::Track(Point press, Point release) {
    if (!rect_.Contains(press)) return false;
    const std::int32_t dx = release.x - press.x;
    const std::int32_t dy = release.y - press.y;
    if (OnResizeHandle(press)) {
        rect_.right = std::max(rect_.left, rect_.right + dx);
        rect_.bottom = std::max(rect_.top, rect_.bottom + dy);
    } else {
        rect_ = rect_.Offset(dx, dy);
    }
    return true;
}

}  // namespace platform
