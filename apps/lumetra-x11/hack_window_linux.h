// The window lumetra-x11 draws in, made or adopted as the mode says, with its
// size kept up to date and its X events turned into what the run needs.
#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <string>
#include <variant>

#include "apps/lumetra-x11/hack_input.h"
#include "apps/lumetra-x11/hack_options.h"
#include "imaging/canvas.h"

namespace lumetra::x11 {

// What one X event means for the run.
struct WindowEvent {
    bool repaint = false;            // an exposed part needs the frame again
    bool gone = false;               // the window was destroyed
    std::optional<HackInput> input;  // input the dismissal rules decide on
};

class CHackWindow {
public:
    // The window for `target`, mapped and black; a message when there is none.
    static std::variant<CHackWindow, std::string> Open(Display* display, const DrawTarget& target);
    CHackWindow(CHackWindow&& other) noexcept;
    CHackWindow& operator=(CHackWindow&&) = delete;
    CHackWindow(const CHackWindow&) = delete;
    CHackWindow& operator=(const CHackWindow&) = delete;
    // Destroys a window of its own; leaves an adopted one as it is.
    ~CHackWindow();

    Window Id() const { return m_window; }
    GC Gc() const { return m_gc; }
    Visual* VisualOf() const { return m_pVisual; }
    int Depth() const { return m_nDepth; }
    // The client area, from (0, 0).
    Rect Client() const { return {0, 0, m_nWidth, m_nHeight}; }
    // Where the pointer was when the window was opened, in screen coordinates.
    ScreenPoint PointerAtOpen() const { return m_anchor; }

    // Reads one event of this window (events of other windows mean nothing).
    WindowEvent Translate(const XEvent& event);

private:
    CHackWindow(Display* display, Window window, bool owned);
    static Window CreateOwn(Display* display, DrawMode mode);
    void TakeFocusWhenMapped(const XEvent& event);

    Display* m_pDisplay = nullptr;
    Window m_window = 0;
    bool m_bOwned = false;
    bool m_bFullScreen = false;
    bool m_bFocusAsked = false;
    GC m_gc = nullptr;
    Visual* m_pVisual = nullptr;
    int m_nDepth = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    ScreenPoint m_anchor;
    Atom m_deleteWindow = 0;
    Cursor m_blankCursor = 0;
};

}  // namespace lumetra::x11
