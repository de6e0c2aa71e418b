// CWnd: a C++ object tied to a window handle. Attaching records the tie in a
// process-wide map so that a handle leads back to its object; CallWndProc
// routes one message through the object's message maps, and what they leave
// unhandled goes to the object's virtual DefWindowProc.
#pragma once

#include <windows.h>

#include "framework/dc_windows.h"
#include "framework/message_map_windows.h"

namespace lumetra {

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Ties the handle to this object; false when either is tied already.
    bool Attach(HWND hwnd);
    // Unties the handle and returns it; the window itself lives on.
    HWND Detach();
    // The object tied to `hwnd`, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);

    HWND GetSafeHwnd() const { return m_hWnd; }

    // The message maps, then DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // What no map handles: the system's default, unless a class says otherwise.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs after WM_NCDESTROY has untied the handle.
    virtual void PostNcDestroy() {}

    // DefWindowProc for the message being handled now.
    LRESULT Default();

    // Thin wrappers over the window calls on this object's handle.
    RECT GetClientRect() const;
    HWND GetDlgItem(int id) const;
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) const;
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse);
    void Invalidate(BOOL erase);

    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    static const MessageMap kMessageMap;

    HWND m_hWnd = nullptr;

protected:
    // Releases the tie between handle and object.
    void OnNcDestroy();

private:
    static const MessageEntry kMessageEntries[];
};

// Routes one message to the object (the caller has the handle tied to it)
// and remembers the message for Default() while it is handled.
LRESULT AfxCallWndProc(CWnd* wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

namespace msg {

template <auto Handler>
constexpr MessageEntry OnEraseBkgnd() {
    return {WM_ERASEBKGND, 0, 0, [](CCmdTarget& t, WPARAM w, LPARAM) -> LRESULT {
                CBorrowedDC dc(reinterpret_cast<HDC>(w));
                return (Target<Handler>(t).*Handler)(&dc);
            }};
}

template <auto Handler>
constexpr MessageEntry OnPaletteChanged() {
    return {WM_PALETTECHANGED, 0, 0, [](CCmdTarget& t, WPARAM w, LPARAM) -> LRESULT {
                (Target<Handler>(t).*Handler)(CWnd::FromHandlePermanent(reinterpret_cast<HWND>(w)));
                return 0;
            }};
}

}  // namespace msg
}  // namespace lumetra
