// Message maps: each window class lists the messages it handles in one static
// table, and names the table of its base. Dispatch looks in the most derived
// table first and walks the chain; a message that no table lists ends in the
// object's DefWindowProc. Entries are made by the helpers in `msg`, which
// turn each handler's own signature into one calling form, so a table reads
//
//     const MessageEntry CMyWnd::kMessageEntries[] = {
//         msg::OnTimer<&CMyWnd::OnTimer>(),
//         msg::OnDestroy<&CMyWnd::OnDestroy>(),
//     };
//     const MessageMap CMyWnd::kMessageMap{&CBaseWnd::kMessageMap, kMessageEntries};
#pragma once

#include <windows.h>

#include <span>

namespace lumetra {

class CCmdTarget;
class CDC;
class CWnd;

using MessageHandler = LRESULT (*)(CCmdTarget& target, WPARAM wParam, LPARAM lParam);

struct MessageEntry {
    UINT message;
    UINT code;  // WM_COMMAND: notification code; WM_NOTIFY: NMHDR code; else 0
    UINT id;    // WM_COMMAND and WM_NOTIFY: control id; else 0
    MessageHandler handler;
};

struct MessageMap {
    const MessageMap* base;  // null for the root
    std::span<const MessageEntry> entries;
};

// The first entry along the chain that handles the message, or null.
const MessageEntry* FindMessageEntry(const MessageMap* map, UINT message, WPARAM wParam, LPARAM lParam);

// The root of every chain: handles nothing.
class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    virtual const MessageMap* GetMessageMap() const { return &kMessageMap; }

    static const MessageMap kMessageMap;
};

namespace msg {

template <class T>
struct MemberOf;
template <class C, class F>
struct MemberOf<F C::*> {
    using type = C;
};
template <auto Handler>
using ClassOf = typename MemberOf<decltype(Handler)>::type;

template <auto Handler>
ClassOf<Handler>& Target(CCmdTarget& target) {
    return static_cast<ClassOf<Handler>&>(target);
}

// void Handler(): the result is 0.
template <UINT Message, auto Handler>
constexpr MessageEntry OnVoid() {
    return {Message, 0, 0, [](CCmdTarget& t, WPARAM, LPARAM) -> LRESULT {
                (Target<Handler>(t).*Handler)();
                return 0;
            }};
}

template <auto Handler>
constexpr MessageEntry OnCreate() {  // int Handler(CREATESTRUCTA*)
    return {WM_CREATE, 0, 0, [](CCmdTarget& t, WPARAM, LPARAM l) -> LRESULT {
                return (Target<Handler>(t).*Handler)(reinterpret_cast<CREATESTRUCTA*>(l));
            }};
}

template <auto Handler>
constexpr MessageEntry OnEraseBkgnd();  // BOOL Handler(CDC*); defined in wnd_windows.h

template <auto Handler>
constexpr MessageEntry OnPaint() {
    return OnVoid<WM_PAINT, Handler>();
}
template <auto Handler>
constexpr MessageEntry OnDestroy() {
    return OnVoid<WM_DESTROY, Handler>();
}
template <auto Handler>
constexpr MessageEntry OnNcDestroy() {
    return OnVoid<WM_NCDESTROY, Handler>();
}

template <auto Handler>
constexpr MessageEntry OnTimer() {  // void Handler(UINT_PTR id)
    return {WM_TIMER, 0, 0, [](CCmdTarget& t, WPARAM w, LPARAM) -> LRESULT {
                (Target<Handler>(t).*Handler)(static_cast<UINT_PTR>(w));
                return 0;
            }};
}

template <auto Handler>
constexpr MessageEntry OnQueryNewPalette() {  // BOOL Handler()
    return {WM_QUERYNEWPALETTE, 0, 0,
            [](CCmdTarget& t, WPARAM, LPARAM) -> LRESULT { return (Target<Handler>(t).*Handler)(); }};
}

template <auto Handler>
constexpr MessageEntry OnPaletteChanged();  // void Handler(CWnd* focus); defined in wnd_windows.h

// Any message, handled by LRESULT Handler() through the object's Default().
template <UINT Message, auto Handler>
constexpr MessageEntry OnMessage() {
    return {Message, 0, 0, [](CCmdTarget& t, WPARAM, LPARAM) -> LRESULT { return (Target<Handler>(t).*Handler)(); }};
}

// WM_COMMAND from control `Id` with notification `Code` (BN_CLICKED is 0).
template <UINT Id, UINT Code, auto Handler>
constexpr MessageEntry OnCommand() {
    return {WM_COMMAND, Code, Id, [](CCmdTarget& t, WPARAM, LPARAM) -> LRESULT {
                (Target<Handler>(t).*Handler)();
                return 0;
            }};
}

// WM_NOTIFY from control `Id` with notification `Code`.
template <UINT Id, UINT Code, auto Handler>
constexpr MessageEntry OnNotify() {
    return {WM_NOTIFY, Code, Id, [](CCmdTarget& t, WPARAM, LPARAM) -> LRESULT {
                (Target<Handler>(t).*Handler)();
                return 0;
            }};
}

}  // namespace msg
}  // namespace lumetra
