// CBitmap: a GDI bitmap loaded from the program's resources, owned by the
// object and deleted with it.
#pragma once

#include <windows.h>

namespace lumetra {

class CBitmap {
public:
    CBitmap() = default;
    ~CBitmap() { DeleteObject(); }
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    // Loads bitmap resource `id` from the resource handle, replacing the one
    // held before; false, and no bitmap, when there is no such resource.
    bool LoadBitmap(UINT id);
    void DeleteObject() noexcept;

    HBITMAP GetSafeHandle() const { return m_hBitmap; }

private:
    HBITMAP m_hBitmap = nullptr;
};

}  // namespace lumetra
