#include "framework/control_image_list_windows.h"

#include <utility>

#include "framework/app_windows.h"

namespace lumetra {

CControlImageList::CControlImageList(CControlImageList&& other) noexcept
    : m_hImageList(std::exchange(other.m_hImageList, nullptr)) {}

CControlImageList& CControlImageList::operator=(CControlImageList&& other) noexcept {
    if (this != &other) {
        DeleteImageList();
        m_hImageList = std::exchange(other.m_hImageList, nullptr);
    }
    return *this;
}

bool CControlImageList::Create(UINT bitmapId, int width, int grow, COLORREF mask) {
    DeleteImageList();
    m_hImageList =
        ::ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(bitmapId), width, grow, mask, IMAGE_BITMAP, 0);
    return m_hImageList != nullptr;
}

void CControlImageList::DeleteImageList() noexcept {
    if (m_hImageList != nullptr) ::ImageList_Destroy(std::exchange(m_hImageList, nullptr));
}

}  // namespace lumetra
