// The framework bases of the saver's window object and of its configuration
// dialog object, and the two bridges through which the host's own window
// procedure and dialog box hand messages to them. There is one object of
// each per process, static, published in g_pSaverWnd and g_pSaverDlg.
#pragma once

#include <windows.h>

#include "framework/dialog_windows.h"
#include "framework/palette.h"
#include "framework/wnd_windows.h"

namespace lumetra {

class CScreenSaverWnd : public CWnd {
public:
    CScreenSaverWnd();
    ~CScreenSaverWnd() override;
    CScreenSaverWnd(const CScreenSaverWnd&) = delete;
    CScreenSaverWnd& operator=(const CScreenSaverWnd&) = delete;

    // The hooks, in the order they run: settings, start, then every paint.
    virtual void OnDraw(CDC* /*pDC*/) {}
    virtual void OnStart() {}
    virtual void SaveSettings() {}
    virtual void LoadSettings() {}

    // What no message map handles gets the saver's default: close on input.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    static const MessageMap kMessageMap;

    BOOL m_bBlackBackground = TRUE;  // erase to black; nothing changes it
    CPalette* m_pPalette = nullptr;  // not owned; realised on paint when set

private:
    int OnCreate(CREATESTRUCTA* create);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();
    BOOL OnQueryNewPalette();
    void OnPaletteChanged(CWnd* pFocusWnd);
    // Selects and realises m_pPalette in a client context; false without one.
    bool RealizeOwnPalette();

    static const MessageEntry kMessageEntries[];
};

class CScreenSaverDlg : public CDialog {
public:
    CScreenSaverDlg();
    ~CScreenSaverDlg() override;
    CScreenSaverDlg(const CScreenSaverDlg&) = delete;
    CScreenSaverDlg& operator=(const CScreenSaverDlg&) = delete;

    // Loads the saver object's settings, then fills the controls.
    BOOL OnInitDialog() override;
    // Unhandled messages answer FALSE, so the dialog manager does its own processing.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    static const MessageMap kMessageMap;

private:
    int OnCreate(CREATESTRUCTA* create);

    static const MessageEntry kMessageEntries[];
};

extern CScreenSaverWnd* g_pSaverWnd;
extern CScreenSaverDlg* g_pSaverDlg;

LRESULT CALLBACK BridgeWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK BridgeDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace lumetra
