#include "framework/list_ctrl_windows.h"

namespace lumetra {
namespace {

// The control reads the text only; its records just have no const.
char* TextField(const std::string& text) {
    return const_cast<char*>(text.c_str());
}

}  // namespace

HIMAGELIST CListCtrl::SetImageList(HIMAGELIST imageList, int kind) {
    return reinterpret_cast<HIMAGELIST>(
        ::SendMessageA(m_hWnd, LVM_SETIMAGELIST, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(imageList)));
}

void CListCtrl::DeleteAllColumns() {
    while (::SendMessageA(m_hWnd, LVM_DELETECOLUMN, 0, 0) != FALSE) {
    }
}

int CListCtrl::InsertColumn(int index, const std::string& title, int format, int width) {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = format;
    column.cx = width;
    column.pszText = TextField(title);
    return static_cast<int>(
        ::SendMessageA(m_hWnd, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::GetItemCount() const {
    return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETITEMCOUNT, 0, 0));
}

int CListCtrl::InsertItem(int index, const std::string& text, int image, LPARAM data) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    item.pszText = TextField(text);
    item.iImage = image;
    item.lParam = data;
    return static_cast<int>(::SendMessageA(m_hWnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

LPARAM CListCtrl::GetItemData(int index) const {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (::SendMessageA(m_hWnd, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) == FALSE) return 0;
    return item.lParam;
}

bool CListCtrl::DeleteItem(int index) {
    return ::SendMessageA(m_hWnd, LVM_DELETEITEM, static_cast<WPARAM>(index), 0) != FALSE;
}

bool CListCtrl::SetItem(int index, int subItem, const std::string& text, int image) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.iSubItem = subItem;
    item.pszText = TextField(text);
    item.iImage = image;
    return ::SendMessageA(m_hWnd, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

bool CListCtrl::SetItemText(int index, int subItem, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = subItem;
    item.pszText = TextField(text);
    return ::SendMessageA(m_hWnd, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) !=
           FALSE;
}

}  // namespace lumetra
