// CDC: owns one GDI drawing context (HDC). Windows only; portable code sees
// the class only as a forward declaration.
#pragma once

#include <windows.h>

namespace lumetra {

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

private:
    HDC m_hDC = nullptr;
};

}  // namespace lumetra
