// CControlImageList: an image list of the common controls (COMCTL32's
// HIMAGELIST), as list views and other controls draw them. The object owns
// the list and destroys it. Not to be confused with imaging/image_list.h's
// CImageList, which draws icons into our own frames without the system.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace lumetra {

class CControlImageList {
public:
    CControlImageList() = default;
    ~CControlImageList() { DeleteImageList(); }
    CControlImageList(CControlImageList&& other) noexcept;
    CControlImageList& operator=(CControlImageList&& other) noexcept;
    CControlImageList(const CControlImageList&) = delete;
    CControlImageList& operator=(const CControlImageList&) = delete;

    // Cuts bitmap resource `bitmapId` (from the resource handle) into images
    // `width` pixels wide, with `mask` as the transparent colour; the list
    // grows by `grow` images when more are added. Replaces the list held
    // before; false, and no list, when the system cannot make it.
    bool Create(UINT bitmapId, int width, int grow, COLORREF mask);
    void DeleteImageList() noexcept;

    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

private:
    HIMAGELIST m_hImageList = nullptr;
};

}  // namespace lumetra
