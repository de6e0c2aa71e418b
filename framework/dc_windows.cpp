#include "framework/dc_windows.h"

#include <utility>

#include "framework/palette.h"

namespace lumetra {

void CDC::Attach(HDC hdc) {
    DeleteDC();
    m_hDC = hdc;
}

HDC CDC::Detach() {
    return std::exchange(m_hDC, nullptr);
}

void CDC::DeleteDC() noexcept {
    if (m_hDC != nullptr) ::DeleteDC(std::exchange(m_hDC, nullptr));
}

void CDC::FillSolidRect(const RECT& rect, COLORREF color) {
    if (m_hDC == nullptr) return;
    const COLORREF previous = ::SetBkColor(m_hDC, color);
    // An opaque text-out of no text paints just the rectangle in the background colour.
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}

HPALETTE CDC::SelectPalette(const CPalette& palette, bool forceBackground) {
    auto* handle = static_cast<HPALETTE>(palette.GetSafeHandle());
    if (m_hDC == nullptr || handle == nullptr) return nullptr;
    return ::SelectPalette(m_hDC, handle, forceBackground ? TRUE : FALSE);
}

UINT CDC::RealizePalette() {
    return m_hDC != nullptr ? ::RealizePalette(m_hDC) : 0;
}

BOOL CDC::BitBlt(int x, int y, int width, int height, const CDC& source, int sourceX, int sourceY, DWORD rop) {
    if (m_hDC == nullptr || source.m_hDC == nullptr) return FALSE;
    return ::BitBlt(m_hDC, x, y, width, height, source.m_hDC, sourceX, sourceY, rop);
}

CPaintDC::CPaintDC(HWND window) : m_hWnd(window) {
    Attach(::BeginPaint(window, &m_ps));
}

CPaintDC::~CPaintDC() {
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(HWND window) : m_hWnd(window) {
    Attach(::GetDC(window));
}

CClientDC::~CClientDC() {
    HDC hdc = Detach();
    if (hdc != nullptr) ::ReleaseDC(m_hWnd, hdc);
}

}  // namespace lumetra
