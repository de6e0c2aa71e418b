// CListCtrl: a list-view control driven through its messages. The object has
// no message handlers of its own; a dialog attaches the control to it and
// talks to the control through it. Texts are 8-bit ANSI.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "framework/wnd_windows.h"

namespace lumetra {

class CListCtrl : public CWnd {
public:
    // Hands the list `imageList` as its image list of `kind` (LVSIL_SMALL, ...)
    // and returns the one it had. Unless the list has LVS_SHAREIMAGELISTS, it
    // destroys the image list when it is destroyed.
    HIMAGELIST SetImageList(HIMAGELIST imageList, int kind);

    // Deletes every column.
    void DeleteAllColumns();
    // Inserts a column at `index` with its title, alignment (LVCFMT_LEFT, ...)
    // and width in pixels; returns its index, or -1.
    int InsertColumn(int index, const std::string& title, int format, int width);

    int GetItemCount() const;
    // Inserts an item at `index` (beyond the end: at the end) with the text
    // of its first column, its image and its data; returns its index, or -1.
    int InsertItem(int index, const std::string& text, int image, LPARAM data);
    LPARAM GetItemData(int index) const;
    bool DeleteItem(int index);
    // Sets the text of column `subItem` of an item and, with it, the item's image.
    bool SetItem(int index, int subItem, const std::string& text, int image);
    bool SetItemText(int index, int subItem, const std::string& text);
};

}  // namespace lumetra
