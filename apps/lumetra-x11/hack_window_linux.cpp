#include "apps/lumetra-x11/hack_window_linux.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdio>
#include <utility>

#include "apps/lumetra-x11/x_display_linux.h"

namespace lumetra::x11 {
namespace {

constexpr unsigned kOwnWidth = 800;
constexpr unsigned kOwnHeight = 600;
constexpr char kTitle[] = "Lumetra";

// What a window of someone else's may be asked for: several clients can
// watch its size and exposure, but only one can take its input.
constexpr long kAdoptedEvents = ExposureMask | StructureNotifyMask;
constexpr long kOwnEvents = kAdoptedEvents | KeyPressMask;
constexpr long kFullScreenEvents = kOwnEvents | ButtonPressMask | PointerMotionMask | FocusChangeMask;

ScreenPoint PointerPosition(Display* display) {
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned mask = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y, &mask);
    return {rootX, rootY};
}

// An empty cursor: the full-screen saver shows none.
Cursor BlankCursor(Display* display, Window window) {
    static const char kNoBits[1] = {0};
    const Pixmap pixmap = XCreateBitmapFromData(display, window, kNoBits, 1, 1);
    XColor black{};
    const Cursor cursor = XCreatePixmapCursor(display, pixmap, pixmap, &black, &black, 0, 0);
    XFreePixmap(display, pixmap);
    return cursor;
}

bool IsQuitKey(XKeyEvent key) {
    const KeySym sym = XLookupKeysym(&key, 0);
    return sym == XK_q || sym == XK_Q || sym == XK_Escape;
}

// Focus that moved away from the window itself, not within it nor to a grab
// that gives it back.
bool LosesFocus(const XFocusChangeEvent& focus) {
    const bool modeCounts = focus.mode == NotifyNormal || focus.mode == NotifyWhileGrabbed;
    return modeCounts && focus.detail != NotifyInferior && focus.detail != NotifyPointer;
}

}  // namespace

Window CHackWindow::CreateOwn(Display* display, DrawMode mode) {
    const int screen = DefaultScreen(display);
    const bool fullScreen = mode == DrawMode::kFullScreen;
    const unsigned width = fullScreen ? static_cast<unsigned>(DisplayWidth(display, screen)) : kOwnWidth;
    const unsigned height = fullScreen ? static_cast<unsigned>(DisplayHeight(display, screen)) : kOwnHeight;
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.override_redirect = fullScreen ? True : False;
    attributes.event_mask = fullScreen ? kFullScreenEvents : kOwnEvents;
    const Window window =
        XCreateWindow(display, RootWindow(display, screen), 0, 0, width, height, 0, CopyFromParent, InputOutput,
                      CopyFromParent, CWBackPixel | CWOverrideRedirect | CWEventMask, &attributes);
    XStoreName(display, window, kTitle);
    XClassHint hint{};
    std::string name(kProgramName), className(kTitle);
    hint.res_name = name.data();
    hint.res_class = className.data();
    XSetClassHint(display, window, &hint);
    return window;
}

std::variant<CHackWindow, std::string> CHackWindow::Open(Display* display, const DrawTarget& target) {
    const unsigned long mark = CXConnection::ErrorCount();
    Window window = 0;
    bool owned = false;
    switch (target.mode) {
        case DrawMode::kGivenWindow: window = static_cast<Window>(target.windowId); break;
        case DrawMode::kRoot: window = DefaultRootWindow(display); break;
        case DrawMode::kOwnWindow:
        case DrawMode::kFullScreen:
            window = CreateOwn(display, target.mode);
            owned = true;
            break;
    }
    XWindowAttributes attributes{};
    const bool known = XGetWindowAttributes(display, window, &attributes) != 0;
    if (!known || XSync(display, False) == 0 || CXConnection::ErrorCount() != mark) {
        char id[32];
        static_cast<void>(std::snprintf(id, sizeof id, "0x%lx", window));
        return "there is no window " + std::string(id) + " on this display";
    }
    CHackWindow opened(display, window, owned);
    opened.m_pVisual = attributes.visual;
    opened.m_nDepth = attributes.depth;
    opened.m_nWidth = attributes.width;
    opened.m_nHeight = attributes.height;
    opened.m_bFullScreen = target.mode == DrawMode::kFullScreen;
    opened.m_anchor = PointerPosition(display);
    if (!owned) {
        XSelectInput(display, window, kAdoptedEvents);
        XSetWindowBackground(display, window, BlackPixel(display, DefaultScreen(display)));
        XClearWindow(display, window);
    } else {
        opened.m_deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
        XSetWMProtocols(display, window, &opened.m_deleteWindow, 1);
        if (opened.m_bFullScreen) {
            opened.m_blankCursor = BlankCursor(display, window);
            XDefineCursor(display, window, opened.m_blankCursor);
        }
        XMapRaised(display, window);
    }
    XGCValues values{};
    values.graphics_exposures = False;
    opened.m_gc = XCreateGC(display, window, GCGraphicsExposures, &values);
    XSync(display, False);
    return opened;
}

CHackWindow::CHackWindow(Display* display, Window window, bool owned)
    : m_pDisplay(display), m_window(window), m_bOwned(owned) {}

CHackWindow::CHackWindow(CHackWindow&& other) noexcept
    : m_pDisplay(std::exchange(other.m_pDisplay, nullptr)),
      m_window(other.m_window),
      m_bOwned(other.m_bOwned),
      m_bFullScreen(other.m_bFullScreen),
      m_bFocusAsked(other.m_bFocusAsked),
      m_gc(std::exchange(other.m_gc, nullptr)),
      m_pVisual(other.m_pVisual),
      m_nDepth(other.m_nDepth),
      m_nWidth(other.m_nWidth),
      m_nHeight(other.m_nHeight),
      m_anchor(other.m_anchor),
      m_deleteWindow(other.m_deleteWindow),
      m_blankCursor(std::exchange(other.m_blankCursor, 0)) {}

CHackWindow::~CHackWindow() {
    if (m_pDisplay == nullptr) return;
    if (m_gc != nullptr) XFreeGC(m_pDisplay, m_gc);
    if (m_blankCursor != 0) XFreeCursor(m_pDisplay, m_blankCursor);
    if (m_bOwned) XDestroyWindow(m_pDisplay, m_window);
    XSync(m_pDisplay, False);
}

void CHackWindow::TakeFocusWhenMapped(const XEvent& event) {
    // The focus can only go to a viewable window: asked for once it is mapped.
    if (!m_bFullScreen || m_bFocusAsked || event.type != MapNotify) return;
    XSetInputFocus(m_pDisplay, m_window, RevertToParent, CurrentTime);
    m_bFocusAsked = true;
}

WindowEvent CHackWindow::Translate(const XEvent& event) {
    WindowEvent meaning;
    if (event.xany.window != m_window) return meaning;
    TakeFocusWhenMapped(event);
    switch (event.type) {
        case Expose: meaning.repaint = event.xexpose.count == 0; break;
        case ConfigureNotify:
            m_nWidth = event.xconfigure.width;
            m_nHeight = event.xconfigure.height;
            break;
        case DestroyNotify: meaning.gone = event.xdestroywindow.window == m_window; break;
        case KeyPress: meaning.input = HackInput{InputKind::kKeyPress, IsQuitKey(event.xkey)}; break;
        case ButtonPress: meaning.input = HackInput{InputKind::kButtonPress}; break;
        case MotionNotify:
            meaning.input = HackInput{InputKind::kPointerMotion, false, {event.xmotion.x_root, event.xmotion.y_root}};
            break;
        case FocusOut:
            if (LosesFocus(event.xfocus)) meaning.input = HackInput{InputKind::kFocusLost};
            break;
        case ClientMessage:
            if (m_deleteWindow != 0 && static_cast<Atom>(event.xclient.data.l[0]) == m_deleteWindow) {
                meaning.input = HackInput{InputKind::kCloseRequest};
            }
            break;
        default: break;
    }
    return meaning;
}

}  // namespace lumetra::x11
