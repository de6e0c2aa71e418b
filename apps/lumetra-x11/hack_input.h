// Which input ends a run, decided apart from X11: the window of its own ends
// on q, Escape and the window manager's close; the full screen on the saver's
// own dismissal rules, the same arithmetic as the Windows host's; a window
// made by someone else (xscreensaver's, the root) never on input.
#pragma once

#include "apps/lumetra-x11/hack_options.h"
#include "host/dismissal.h"

namespace lumetra::x11 {

enum class InputKind {
    kKeyPress,
    kButtonPress,
    kPointerMotion,  // the pointer is at `pointer`, in screen coordinates
    kFocusLost,      // the window no longer has the keyboard
    kCloseRequest,   // the window manager asks the window to close
};

struct HackInput {
    InputKind kind;
    bool quitKey = false;  // for a key: q or Escape
    ScreenPoint pointer = {};
};

class CDismissal {
public:
    // `anchor`: where the pointer was when the window was made.
    CDismissal(DrawMode mode, ScreenPoint anchor) : m_mode(mode), m_anchor(anchor) {}

    // True when `input` ends the run. A pointer that has moved beyond the
    // threshold becomes the new anchor; a smaller move leaves the anchor, so
    // that small moves add up against it.
    bool Ends(const HackInput& input);

    ScreenPoint Anchor() const { return m_anchor; }

private:
    DrawMode m_mode;
    ScreenPoint m_anchor;
};

}  // namespace lumetra::x11
