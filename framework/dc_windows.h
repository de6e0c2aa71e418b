// Drawing contexts. CDC owns a GDI context and deletes it; CPaintDC and
// CClientDC borrow one from a window for their own lifetime and give it back
// the way it was obtained. Windows only; portable code sees CDC only as a
// forward declaration.
#pragma once

#include <windows.h>

namespace lumetra {

class CPalette;

class CDC {
public:
    CDC() = default;
    explicit CDC(HDC hdc) : m_hDC(hdc) {}
    ~CDC() { DeleteDC(); }
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Takes ownership of `hdc`, deleting any context held before.
    void Attach(HDC hdc);
    // Gives up ownership without deleting.
    HDC Detach();
    // Deletes the context (DeleteDC); harmless when there is none.
    void DeleteDC() noexcept;

    HDC GetSafeHdc() const { return m_hDC; }

    // Fills `rect` with one solid colour, leaving the background colour as it was.
    void FillSolidRect(const RECT& rect, COLORREF color);
    // Selects the palette (null handle: nothing); returns the one selected before.
    HPALETTE SelectPalette(const CPalette& palette, bool forceBackground);
    UINT RealizePalette();
    BOOL BitBlt(int x, int y, int width, int height, const CDC& source, int sourceX, int sourceY, DWORD rop);

private:
    HDC m_hDC = nullptr;
};

// BeginPaint for the window's lifetime of the object, EndPaint after.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(HWND window);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    const PAINTSTRUCT& PaintStruct() const { return m_ps; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps{};
};

// The window's client-area context, released (not deleted) after.
class CClientDC : public CDC {
public:
    explicit CClientDC(HWND window);
    ~CClientDC();
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;

private:
    HWND m_hWnd;
};

// A context that the caller lent (a message's wParam): used, never released.
class CBorrowedDC : public CDC {
public:
    explicit CBorrowedDC(HDC hdc) : CDC(hdc) {}
    ~CBorrowedDC() { Detach(); }
    CBorrowedDC(const CBorrowedDC&) = delete;
    CBorrowedDC& operator=(const CBorrowedDC&) = delete;
};

}  // namespace lumetra
