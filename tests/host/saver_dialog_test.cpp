// The dialog base and its bridge: a real modal dialog shown the way the
// configuration mode shows it, driven from inside its own modal loop.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/run_modes_windows.h"
#include "tests/host/saver_harness_windows.h"

namespace lumetra::testing {
namespace {

constexpr int kCheck = 101;
constexpr int kFirstRadio = 102;
constexpr int kSecondRadio = 103;
constexpr int kTrackbar = 104;

class CRecordingDlg : public CScreenSaverDlg {
public:
    BOOL OnInitDialog() override {
        log.emplace_back("OnInitDialog");
        SendDlgItemMessage(kTrackbar, TBM_SETRANGE, FALSE, MAKELPARAM(1, 3));
        const BOOL result = CScreenSaverDlg::OnInitDialog();
        PostMessageA(m_hWnd, kRunScript, 0, 0);
        return result;
    }
    void DoDataExchange(CDataExchange* pDX) override {
        log.emplace_back(pDX->m_bSaveAndValidate ? "save" : "load");
        DDX_Check(pDX, kCheck, check);
        DDX_Radio(pDX, kFirstRadio, radio);
        DDX_TrackbarPos(pDX, kTrackbar, position);
        if (failExchange) DDX_Check(pDX, 999, check);  // no such control
    }

    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    static const MessageMap kMessageMap;

    std::function<void(CRecordingDlg&)> script;
    std::vector<std::string> log;
    int check = 0;
    int radio = 0;
    int position = 0;
    bool failExchange = false;

private:
    LRESULT OnRunScript() {
        if (script) script(*this);
        return 0;
    }
    LRESULT OnInitDialogInTheMap() {
        log.emplace_back("map saw WM_INITDIALOG");
        return 0;
    }

    static const MessageEntry kMessageEntries[];
};

const MessageEntry CRecordingDlg::kMessageEntries[] = {
    msg::OnMessage<kRunScript, &CRecordingDlg::OnRunScript>(),
    msg::OnMessage<WM_INITDIALOG, &CRecordingDlg::OnInitDialogInTheMap>(),
};
const MessageMap CRecordingDlg::kMessageMap{&CScreenSaverDlg::kMessageMap, CRecordingDlg::kMessageEntries};

LRESULT Checked(HWND dialog, int id) {
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0);
}

class SaverDialog : public SaverWindowFixture {
protected:
    int Show(std::function<void(CRecordingDlg&)> script) {
        dialog.script = std::move(script);
        return ShowConfigDialog(nullptr);
    }
    CRecordingDlg dialog;
};

void Press(CRecordingDlg& dialog, int id) {
    SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(dialog.GetDlgItem(id)));
}

TEST_F(SaverDialog, InitLoadsTheSettingsThenFillsTheControlsAndOkStoresThem) {
    dialog.check = 1;
    dialog.radio = 1;
    dialog.position = 7;  // beyond the trackbar's 1..3
    LRESULT shown[4] = {};
    const int result = Show([&](CRecordingDlg& d) {
        shown[0] = Checked(d.m_hWnd, kCheck);
        shown[1] = Checked(d.m_hWnd, kFirstRadio);
        shown[2] = Checked(d.m_hWnd, kSecondRadio);
        shown[3] = d.SendDlgItemMessage(kTrackbar, TBM_GETPOS, 0, 0);
        SendDlgItemMessageA(d.m_hWnd, kCheck, BM_SETCHECK, BST_UNCHECKED, 0);
        Press(d, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(shown[0], BST_CHECKED);
    EXPECT_EQ(shown[1], BST_UNCHECKED);
    EXPECT_EQ(shown[2], BST_CHECKED);
    EXPECT_EQ(shown[3], 3);  // clamped by the trackbar
    EXPECT_EQ(dialog.check, 0);
    EXPECT_EQ(dialog.radio, 1);
    EXPECT_EQ(dialog.position, 3);
    const std::vector<std::string> expected{"OnInitDialog", "load", "save"};
    EXPECT_EQ(dialog.log, expected);  // WM_INITDIALOG never went through a map
    ASSERT_FALSE(window.hooks.empty());
    EXPECT_EQ(window.hooks.front(), "LoadSettings");  // on the window object, which has no window
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);  // untied at WM_NCDESTROY
}

struct CheckCase {
    int value;
    LRESULT shown;
};

TEST_F(SaverDialog, CheckBoxesShowOnlyZeroToTwoAndRadioGroupsMayHaveNoneChecked) {
    const CheckCase cases[] = {{-1, BST_UNCHECKED}, {0, BST_UNCHECKED}, {1, BST_CHECKED}, {3, BST_UNCHECKED}};
    for (const CheckCase& c : cases) {
        dialog.log.clear();
        dialog.check = c.value;
        dialog.radio = 5;
        LRESULT shown = -1;
        LRESULT firstRadio = -1;
        LRESULT secondRadio = -1;
        EXPECT_EQ(Show([&](CRecordingDlg& d) {
                      shown = Checked(d.m_hWnd, kCheck);
                      firstRadio = Checked(d.m_hWnd, kFirstRadio);
                      secondRadio = Checked(d.m_hWnd, kSecondRadio);
                      Press(d, IDOK);
                  }),
                  IDOK);
        EXPECT_EQ(shown, c.shown) << c.value;
        EXPECT_EQ(firstRadio, BST_UNCHECKED);
        EXPECT_EQ(secondRadio, BST_UNCHECKED);
        EXPECT_EQ(dialog.radio, -1);  // none checked reads back as -1
        EXPECT_EQ(dialog.check, c.shown == BST_CHECKED ? 1 : 0) << c.value;
    }
}

TEST_F(SaverDialog, AFailedExchangeKeepsTheDialogOpenAndCancelEndsItWithTwo) {
    bool openAfterOk = false;
    const int result = Show([&](CRecordingDlg& d) {
        d.failExchange = true;
        Press(d, IDOK);
        openAfterOk = IsWindow(d.m_hWnd) != FALSE;
        Press(d, IDCANCEL);
    });
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(result, IDCANCEL);
}

// Asked directly: through the dialog manager every answer would come back 0.
// The system's default answers TRUE to WM_QUERYOPEN, so passing the message
// on to it instead of answering FALSE would show.
TEST_F(SaverDialog, UnhandledMessagesAnswerFalse) {
    LRESULT systemDefault = FALSE;
    INT_PTR answer = -1;
    Show([&](CRecordingDlg& d) {
        systemDefault = DefWindowProcA(d.m_hWnd, WM_QUERYOPEN, 0, 0);
        answer = BridgeDialogProc(d.m_hWnd, WM_QUERYOPEN, 0, 0);
        Press(d, IDCANCEL);
    });
    ASSERT_NE(systemDefault, FALSE);
    EXPECT_EQ(answer, FALSE);
}

}  // namespace
}  // namespace lumetra::testing
