// CDialog: a window object for a dialog that someone else shows (the host
// calls DialogBoxParamA itself). The data exchange moves values between the
// controls and the object's members in one direction at a time; OK stores
// them and ends the dialog only when the exchange succeeded.
#pragma once

#include <windows.h>

#include <stdexcept>

#include "framework/wnd_windows.h"

namespace lumetra {

// Raised by CDataExchange::Fail; UpdateData turns it into FALSE.
class DataExchangeFailure : public std::runtime_error {
public:
    explicit DataExchangeFailure(const char* what) : std::runtime_error(what) {}
};

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, bool saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    // The control `id` of the dialog; a missing control fails the exchange.
    HWND PrepareCtrl(int id) const;
    [[noreturn]] void Fail() const;

    const bool m_bSaveAndValidate;  // true: controls to members; false: members to controls
    CWnd* const m_pDlgWnd;
};

class CDialog : public CWnd {
public:
    CDialog() = default;

    // Fills the controls from the members; TRUE puts the focus on the first tab stop.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* /*pDX*/) {}
    // One exchange; false when it failed (the members may be partly stored).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    void EndDialog(int result);

    virtual void OnOK();
    virtual void OnCancel();
};

// Ties control `id` to `control` the first time, so the object can drive it.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
// The radio group that starts at `id`: loading checks the button whose index
// is `value` and clears the others; saving gives the index checked, or -1.
void DDX_Radio(CDataExchange* pDX, int id, int& value);
// A check box: loading shows `value` (below 0 or above 2 shows clear);
// saving gives the check state.
void DDX_Check(CDataExchange* pDX, int id, int& value);
// A list's (combo box's) chosen entry: loading chooses entry `value` (none
// for a value outside the list); saving gives the chosen one, or -1.
void DDX_CBIndex(CDataExchange* pDX, int id, int& value);
// A trackbar position: loading sets it (the trackbar clamps it into its
// range); saving reads it back.
void DDX_TrackbarPos(CDataExchange* pDX, int id, int& value);

}  // namespace lumetra
