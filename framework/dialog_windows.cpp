#include "framework/dialog_windows.h"

#include <commctrl.h>

namespace lumetra {

HWND CDataExchange::PrepareCtrl(int id) const {
    HWND control = m_pDlgWnd->GetDlgItem(id);
    if (control == nullptr) Fail();
    return control;
}

void CDataExchange::Fail() const {
    throw DataExchangeFailure("a control of the data exchange is missing");
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate != FALSE);
    try {
        DoDataExchange(&exchange);
    } catch (const DataExchangeFailure&) {
        return FALSE;
    }
    return TRUE;
}

void CDialog::EndDialog(int result) {
    ::EndDialog(m_hWnd, result);
}

void CDialog::OnOK() {
    if (UpdateData(TRUE) == FALSE) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.m_hWnd != nullptr) return;
    if (!control.Attach(pDX->PrepareCtrl(id))) pDX->Fail();
}

void DDX_Radio(CDataExchange* pDX, int id, int& value) {
    HWND button = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate) value = -1;
    // The group runs from the first button up to the next control that starts a group.
    for (int index = 0; button != nullptr; ++index) {
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
        } else {
            ::SendMessageA(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        button = ::GetWindow(button, GW_HWNDNEXT);
        if (button == nullptr || (::GetWindowLongA(button, GWL_STYLE) & WS_GROUP) != 0) break;
    }
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    HWND box = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageA(box, BM_GETCHECK, 0, 0));
        return;
    }
    const int shown = value < 0 || value > 2 ? 0 : value;
    ::SendMessageA(box, BM_SETCHECK, static_cast<WPARAM>(shown), 0);
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& value) {
    HWND list = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageA(list, CB_GETCURSEL, 0, 0));
    } else {
        ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
    }
}

void DDX_TrackbarPos(CDataExchange* pDX, int id, int& value) {
    HWND trackbar = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageA(trackbar, TBM_GETPOS, 0, 0));
    } else {
        ::SendMessageA(trackbar, TBM_SETPOS, TRUE, value);
    }
}

}  // namespace lumetra
