#include "host/saver_bases_windows.h"

#include "framework/app_windows.h"
#include "host/escaped_fault.h"
#include "host/saver_host_windows.h"

namespace lumetra {

CScreenSaverWnd* g_pSaverWnd = nullptr;
CScreenSaverDlg* g_pSaverDlg = nullptr;

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);

// The application object, made once for the process with the first window object.
void EnsureApplication() {
    ModuleState* state = AfxGetModuleState();
    if (state == nullptr || state->pCurrentApp != nullptr) return;
    static CWinApp application(nullptr);
    if (state->pCurrentApp == nullptr) state->pCurrentApp = &application;
}

void StartFrameworkFor(HWND hwnd) {
    auto* instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE));
    AfxSetResourceHandle(instance);
    AfxWinInit(instance, nullptr, "", SW_SHOWNORMAL);
}

}  // namespace

const MessageEntry CScreenSaverWnd::kMessageEntries[] = {
    msg::OnCreate<&CScreenSaverWnd::OnCreate>(),
    msg::OnEraseBkgnd<&CScreenSaverWnd::OnEraseBkgnd>(),
    msg::OnPaint<&CScreenSaverWnd::OnPaint>(),
    msg::OnPaletteChanged<&CScreenSaverWnd::OnPaletteChanged>(),
    msg::OnQueryNewPalette<&CScreenSaverWnd::OnQueryNewPalette>(),
};
const MessageMap CScreenSaverWnd::kMessageMap{&CWnd::kMessageMap, kMessageEntries};

CScreenSaverWnd::CScreenSaverWnd() {
    g_pSaverWnd = this;
    EnsureApplication();
}

CScreenSaverWnd::~CScreenSaverWnd() {
    g_pSaverWnd = nullptr;
}

LRESULT CScreenSaverWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultSaverProc(m_hWnd, message, wParam, lParam);
}

int CScreenSaverWnd::OnCreate(CREATESTRUCTA* /*create*/) {
    if (Default() == -1) return -1;
    LoadSettings();
    OnStart();
    return 0;
}

BOOL CScreenSaverWnd::OnEraseBkgnd(CDC* pDC) {
    if (m_bBlackBackground != FALSE) pDC->FillSolidRect(GetClientRect(), kBlack);
    return TRUE;  // the class brush is never used
}

void CScreenSaverWnd::OnPaint() {
    CPaintDC dc(m_hWnd);
    if (m_pPalette != nullptr) {
        dc.SelectPalette(*m_pPalette, false);
        dc.RealizePalette();
    }
    OnDraw(&dc);
}

bool CScreenSaverWnd::RealizeOwnPalette() {
    if (m_pPalette == nullptr) return false;
    CClientDC dc(m_hWnd);
    dc.SelectPalette(*m_pPalette, false);
    dc.RealizePalette();
    return true;
}

BOOL CScreenSaverWnd::OnQueryNewPalette() {
    return RealizeOwnPalette() ? TRUE : FALSE;
}

void CScreenSaverWnd::OnPaletteChanged(CWnd* pFocusWnd) {
    if (pFocusWnd != this) RealizeOwnPalette();
}

const MessageEntry CScreenSaverDlg::kMessageEntries[] = {
    msg::OnNcDestroy<&CScreenSaverDlg::OnNcDestroy>(),
    msg::OnCreate<&CScreenSaverDlg::OnCreate>(),
    msg::OnCommand<IDOK, BN_CLICKED, &CScreenSaverDlg::OnOK>(),
    msg::OnCommand<IDCANCEL, BN_CLICKED, &CScreenSaverDlg::OnCancel>(),
};
// Straight to the root: only the entries listed here get framework handling.
const MessageMap CScreenSaverDlg::kMessageMap{&CCmdTarget::kMessageMap, kMessageEntries};

CScreenSaverDlg::CScreenSaverDlg() {
    g_pSaverDlg = this;
}

CScreenSaverDlg::~CScreenSaverDlg() {
    g_pSaverDlg = nullptr;
}

BOOL CScreenSaverDlg::OnInitDialog() {
    if (g_pSaverWnd != nullptr) g_pSaverWnd->LoadSettings();
    return CDialog::OnInitDialog();
}

LRESULT CScreenSaverDlg::DefWindowProc(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return 0;
}

int CScreenSaverDlg::OnCreate(CREATESTRUCTA* /*create*/) {
    return Default() == -1 ? -1 : 0;
}

LRESULT CALLBACK BridgeWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_pSaverWnd == nullptr) return 0;
    try {
        if (g_pSaverWnd->m_hWnd == nullptr) {
            StartFrameworkFor(hwnd);
            g_pSaverWnd->Attach(hwnd);
        }
        const LRESULT result = AfxCallWndProc(g_pSaverWnd, hwnd, message, wParam, lParam);
        if (message == WM_NCDESTROY) AfxWinTerm();
        return result;
    } catch (...) {
        // No C++ exception may unwind through the system's frames: keep it for SaverMain.
        KeepEscapedFault();
        PostQuitMessage(kExitFault);
        return 0;
    }
}

INT_PTR CALLBACK BridgeDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_pSaverDlg == nullptr) return FALSE;
    try {
        if (g_pSaverDlg->m_hWnd == nullptr) g_pSaverDlg->Attach(hDlg);
        if (message == WM_INITDIALOG) {
            auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hDlg));
            return dialog != nullptr ? dialog->OnInitDialog() : TRUE;
        }
        return AfxCallWndProc(g_pSaverDlg, hDlg, message, wParam, lParam);
    } catch (...) {
        KeepEscapedFault();
        ::EndDialog(hDlg, kExitFault);
        return TRUE;
    }
}

}  // namespace lumetra
