#include "framework/bitmap_windows.h"

#include <utility>

#include "framework/app_windows.h"

namespace lumetra {

bool CBitmap::LoadBitmap(UINT id) {
    DeleteObject();
    m_hBitmap = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
    return m_hBitmap != nullptr;
}

void CBitmap::DeleteObject() noexcept {
    if (m_hBitmap != nullptr) ::DeleteObject(std::exchange(m_hBitmap, nullptr));
}

}  // namespace lumetra
