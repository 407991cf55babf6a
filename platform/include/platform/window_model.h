// A headless window: what the engines' views ask of a windowing system
// (a client rectangle, child windows, scroll bars, invalidation, scrolling
// of the contents, background fills), kept as state and a log of what was
// done, so that views run and can be inspected without a display.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
    bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    Rect Offset(std::int32_t dx, std::int32_t dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

enum class Bar { Horizontal = 0, Vertical = 1 };

// One scroll bar: a control of the window (which may be disabled), or the
// window's scroll-bar style, or neither.
struct ScrollBarState {
    bool hasControl = false;
    bool enabled = true;
    bool hasStyle = false;
    std::int32_t position = 0;
};

class Window {
  public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Links a child (not owned); a child has one parent.
    void AddChild(Window* child);
    void RemoveChild(Window* child);
    Window* Parent() const { return parent_; }
    const std::vector<Window*>& Children() const { return children_; }
    // The first child whose rectangle (in this window's client coordinates)
    // holds the point, else null.
    Window* ChildFromPoint(Point p) const;

    Rect& Bounds() { return bounds_; }
    const Rect& Bounds() const { return bounds_; }
    Rect ClientRect() const { return {0, 0, bounds_.Width(), bounds_.Height()}; }

    ScrollBarState& ScrollBar(Bar bar) { return bars_[static_cast<int>(bar)]; }
    const ScrollBarState& ScrollBar(Bar bar) const { return bars_[static_cast<int>(bar)]; }
    void SetScrollPos(Bar bar, std::int32_t position, bool redraw);

    // What was done, in order, as lines ("invalidate erase", "update",
    // "scroll dx dy", "fill l t r b colour", "scrollpos v 8000").
    void Invalidate(bool erase);
    void UpdateNow();
    void ScrollContents(std::int32_t dx, std::int32_t dy);
    void FillRect(const Rect& rect, std::uint32_t colour);
    const std::vector<std::string>& Log() const { return log_; }
    // The window's text (an edit control's contents, a button's label).
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text) { text_ = text; }
    void ClearLog() { log_.clear(); }

  private:
    Window* parent_ = nullptr;
    std::vector<Window*> children_;
    Rect bounds_;
    ScrollBarState bars_[2];
    std::vector<std::string> log_;
    std::string text_;
};

// The thread's main window, whose children the engines walk; null until set.
Window* MainWindow();
void SetMainWindow(Window* window);

// The cursor a view last asked for (0 until set).
std::uint32_t CurrentCursor();
void SetCurrentCursor(std::uint32_t id);

// A rectangle the user moves or resizes with the mouse. Headless, a drag is
// a press point and a release point: a press within 4 pixels inside the
// bottom-right corner resizes, anywhere else inside moves.
class RectTracker {
  public:
    static constexpr std::uint32_t kMoveCursor = 32646;    // four-way arrows
    static constexpr std::uint32_t kResizeCursor = 32642;  // diagonal arrows

    explicit RectTracker(Rect rect = {}) : rect_(rect) {}

    Rect& GetRect() { return rect_; }
    const Rect& GetRect() const { return rect_; }
    bool HitTest(Point p) const { return rect_.Contains(p); }
    // Sets the cursor for the point when it lies on the rectangle.
    bool SetCursor(Point p) const;
    // Follows the drag; false when the press missed the rectangle.
    bool Track(Point press, Point release);

  private:
    bool OnResizeHandle(Point p) const;

    Rect rect_;
};

}  // namespace platform
