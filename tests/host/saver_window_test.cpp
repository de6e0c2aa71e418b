// The saver window on the NT family, driven with real messages on a real
// window made by RunSaverWindow.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/palette.h"
#include "tests/host/saver_harness_windows.h"

namespace lumetra::testing {
namespace {

using SaverWindow = SaverWindowFixture;

struct InputCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool closes;
};

TEST_F(SaverWindow, InputThatClosesAndInputThatDoesNot) {
    const InputCase cases[] = {
        {"key", WM_KEYDOWN, 'A', true},
        {"system key", WM_SYSKEYDOWN, VK_MENU, true},
        {"left button", WM_LBUTTONDOWN, MK_LBUTTON, true},
        {"right button", WM_RBUTTONDOWN, MK_RBUTTON, true},
        {"middle button", WM_MBUTTONDOWN, MK_MBUTTON, true},
        {"losing activation", WM_ACTIVATEAPP, FALSE, true},
        {"gaining activation", WM_ACTIVATEAPP, TRUE, false},
        {"button up", WM_LBUTTONUP, 0, false},
        {"double click", WM_LBUTTONDBLCLK, MK_LBUTTON, false},
        {"wheel", WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), false},
        {"key up", WM_KEYUP, 'A', false},
    };
    std::vector<std::string> wrong;
    EXPECT_EQ(Run([&](HWND hwnd) {
                  for (const InputCase& c : cases) {
                      TakePostedClose(hwnd);
                      SendMessageA(hwnd, c.message, c.wParam, 0);
                      if (TakePostedClose(hwnd) != c.closes) wrong.emplace_back(c.name);
                  }
              }),
              0);
    EXPECT_TRUE(wrong.empty()) << ::testing::PrintToString(wrong);
}

TEST_F(SaverWindow, SmallMovesAddUpAgainstTheAnchor) {
    constexpr auto kT = static_cast<LONG>(kMouseThreshold);
    bool first = true;
    bool four = true;
    bool five = false;
    bool afterClose = true;
    Run([&](HWND hwnd) {
        SendMessageA(hwnd, WM_MOUSEMOVE, 0, 0);  // the cursor where it was at creation
        first = TakePostedClose(hwnd);
        SetCursorPos(kAnchor.x + kT - 1, kAnchor.y + 1);  // the threshold in total
        SendMessageA(hwnd, WM_MOUSEMOVE, 0, 0);
        four = TakePostedClose(hwnd);
        SetCursorPos(kAnchor.x + kT, kAnchor.y + 1);  // one past it, 1 from the last move
        SendMessageA(hwnd, WM_MOUSEMOVE, 0, 0);
        five = TakePostedClose(hwnd);
        // The anchor moved with the close: staying put closes nothing more.
        SendMessageA(hwnd, WM_MOUSEMOVE, 0, 0);
        afterClose = TakePostedClose(hwnd);
    });
    EXPECT_FALSE(first);
    EXPECT_FALSE(four);
    EXPECT_TRUE(five);
    EXPECT_FALSE(afterClose);
}

TEST_F(SaverWindow, TaskSwitchAndSaverCommandsAreDroppedButCloseIsNot) {
    bool stillThere = false;
    bool closedBySysClose = false;
    Run([&](HWND hwnd) {
        for (WPARAM command : {SC_SCREENSAVE, SC_NEXTWINDOW, SC_PREVWINDOW}) {
            EXPECT_EQ(SendMessageA(hwnd, WM_SYSCOMMAND, command, 0), 0);
        }
        stillThere = IsWindow(hwnd) != FALSE;
        SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        closedBySysClose = IsWindow(hwnd) == FALSE;
    });
    EXPECT_TRUE(stillThere);
    EXPECT_EQ(window.sysCommands, 1);  // only SC_CLOSE reached the object
    EXPECT_TRUE(closedBySysClose);
}

TEST_F(SaverWindow, TitleNeverChanges) {
    char title[64] = {};
    Run([&](HWND hwnd) {
        EXPECT_EQ(SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Other")), 0);
        GetWindowTextA(hwnd, title, sizeof(title));
    });
    EXPECT_STREQ(title, "Screen Saver");
}

TEST_F(SaverWindow, HooksRunInOrderAndTheFrameworkStartsOnceAndEndsLast) {
    const int startsBefore = AfxGetModuleState()->nStarts;
    Run([&](HWND hwnd) {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
    });
    ASSERT_GE(window.hooks.size(), 3U);
    EXPECT_EQ(window.hooks[0], "LoadSettings");
    EXPECT_EQ(window.hooks[1], "OnStart");
    EXPECT_EQ(window.hooks[2], "OnDraw");
    EXPECT_TRUE(window.attachedAtFirstMessage);
    EXPECT_TRUE(window.firstMessage == WM_GETMINMAXINFO || window.firstMessage == WM_NCCREATE) << window.firstMessage;
    EXPECT_EQ(AfxGetModuleState()->nStarts, startsBefore + 1);
    EXPECT_TRUE(window.frameworkRunningAfterNcDestroy);  // ended after the dispatch, not before
    EXPECT_FALSE(AfxGetModuleState()->bRunning);
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);  // untied at WM_NCDESTROY
    EXPECT_NE(AfxGetModuleState()->pCurrentApp, nullptr);
}

TEST_F(SaverWindow, AfterTheCloseIsAcceptedTheObjectIsBypassed) {
    std::vector<std::string> hooksAfter;
    int timersAfter = -1;
    bool closePosted = true;
    Run([&](HWND hwnd) {
        SendMessageA(hwnd, WM_TIMER, 1, 0);
        ASSERT_EQ(window.timers, 1);
        g_saverHost.bCloseAccepted = TRUE;
        const size_t hooksBefore = window.hooks.size();
        EXPECT_EQ(SendMessageA(hwnd, WM_TIMER, 1, 0), 0);
        timersAfter = window.timers;
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
        hooksAfter.assign(window.hooks.begin() + static_cast<std::ptrdiff_t>(hooksBefore), window.hooks.end());
        SendMessageA(hwnd, WM_KEYDOWN, 'A', 0);
        closePosted = TakePostedClose(hwnd);
    });
    EXPECT_EQ(timersAfter, 1);
    EXPECT_TRUE(hooksAfter.empty()) << ::testing::PrintToString(hooksAfter);
    EXPECT_FALSE(closePosted);
}

TEST_F(SaverWindow, EraseFillsTheClientAreaBlack) {
    COLORREF corner = CLR_INVALID;
    COLORREF middle = CLR_INVALID;
    LRESULT answer = 0;
    Run([&](HWND hwnd) {
        HDC screen = GetDC(hwnd);
        HDC memory = CreateCompatibleDC(screen);
        RECT client{};
        GetClientRect(hwnd, &client);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        HGDIOBJ old = SelectObject(memory, bitmap);
        PatBlt(memory, 0, 0, client.right, client.bottom, WHITENESS);
        answer = SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
        corner = GetPixel(memory, client.right - 1, client.bottom - 1);
        middle = GetPixel(memory, client.right / 2, client.bottom / 2);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(hwnd, screen);
    });
    EXPECT_EQ(answer, TRUE);
    EXPECT_EQ(corner, RGB(0, 0, 0));
    EXPECT_EQ(middle, RGB(0, 0, 0));
}

// The palette selected into the window's own drawing context. The class keeps
// one context per window, so a palette realised through it stays there.
HGDIOBJ OwnContextPalette(HWND hwnd) {
    HDC dc = GetDC(hwnd);
    HGDIOBJ palette = GetCurrentObject(dc, OBJ_PAL);
    ReleaseDC(hwnd, dc);
    return palette;
}

TEST_F(SaverWindow, PaletteMessagesWithAndWithoutAPalette) {
    CPalette palette;
    const PaletteEntry entries[] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    ASSERT_TRUE(palette.CreatePalette(entries));
    const auto other = reinterpret_cast<WPARAM>(GetDesktopWindow());
    LRESULT queryWithout = -1;
    LRESULT queryWith = -1;
    HGDIOBJ without = nullptr;
    HGDIOBJ afterOwnChange = nullptr;
    HGDIOBJ afterOtherChange = nullptr;
    Run([&](HWND hwnd) {
        queryWithout = SendMessageA(hwnd, WM_QUERYNEWPALETTE, 0, 0);
        SendMessageA(hwnd, WM_PALETTECHANGED, other, 0);
        without = OwnContextPalette(hwnd);
        window.m_pPalette = &palette;
        SendMessageA(hwnd, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(hwnd), 0);  // the saver caused it
        afterOwnChange = OwnContextPalette(hwnd);
        SendMessageA(hwnd, WM_PALETTECHANGED, other, 0);
        afterOtherChange = OwnContextPalette(hwnd);
        queryWith = SendMessageA(hwnd, WM_QUERYNEWPALETTE, 0, 0);
        window.m_pPalette = nullptr;
    });
    const HGDIOBJ standard = GetStockObject(DEFAULT_PALETTE);
    EXPECT_EQ(queryWithout, FALSE);
    EXPECT_EQ(without, standard);
    EXPECT_EQ(afterOwnChange, standard) << "realised for a change the saver made itself";
    EXPECT_EQ(afterOtherChange, palette.GetSafeHandle()) << "not realised for another window's change";
    EXPECT_EQ(queryWith, TRUE);
}

TEST_F(SaverWindow, NoWindowObjectMeansNoWindow) {
    g_pSaverWnd = nullptr;
    EXPECT_EQ(RunSaverWindow(nullptr), 0);
    EXPECT_EQ(g_saverHost.hSaverWnd, nullptr);
    g_pSaverWnd = &window;
}

TEST_F(SaverWindow, NtFamilyNeverAsksForThePassword) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key), ERROR_SUCCESS);
    const DWORD on = 1;
    RegSetValueExA(key, "ScreenSaveUsePassword", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof(on));
    bool closed = false;
    Run([&](HWND hwnd) {
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        closed = IsWindow(hwnd) == FALSE;
    });
    RegDeleteValueA(key, "ScreenSaveUsePassword");
    RegCloseKey(key);
    EXPECT_TRUE(closed);
    EXPECT_EQ(g_saverHost.hPasswordLib, nullptr);
}

// A visible top-level window of a class registered for `instance`, gone with
// the object.
class TopWindow {
public:
    TopWindow(const char* className, const char* name, HINSTANCE instance) : m_class(className), m_instance(instance) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = className;
        RegisterClassA(&windowClass);
        m_hWnd = CreateWindowExA(0, className, name, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 160, nullptr, nullptr,
                                 instance, nullptr);
    }
    ~TopWindow() {
        if (IsWindow(m_hWnd) != FALSE) DestroyWindow(m_hWnd);
        UnregisterClassA(m_class, m_instance);
    }
    TopWindow(const TopWindow&) = delete;
    TopWindow& operator=(const TopWindow&) = delete;

    HWND Handle() const { return m_hWnd; }

private:
    const char* m_class;
    HINSTANCE m_instance;
    HWND m_hWnd = nullptr;
};

// The display settings' window, in which a preview runs.
class PreviewParent : public TopWindow {
public:
    PreviewParent() : TopWindow("LumetraPreviewParent", "Display settings", GetModuleHandleA(nullptr)) {}
};

// A saver that another process runs: there the class is that process's own,
// so registering ours would succeed and only the search can find it. A class
// of the same name registered for another module stands for it here.
TEST_F(SaverWindow, ASecondFullScreenRunFindsTheFirstAndCreatesNothing) {
    const TopWindow running(kSaverClassName, kSaverWindowName, GetModuleHandleA("kernel32.dll"));
    const PreviewParent elsewhere;
    ASSERT_NE(running.Handle(), nullptr);
    SetForegroundWindow(elsewhere.Handle());
    const HWND foregroundBefore = GetForegroundWindow();
    EXPECT_EQ(Run([](HWND) {}), 0);
    EXPECT_EQ(g_saverHost.hSaverWnd, nullptr) << "a second saver window was created";
    EXPECT_TRUE(window.hooks.empty()) << ::testing::PrintToString(window.hooks);
    EXPECT_EQ(foregroundBefore, elsewhere.Handle());
    EXPECT_EQ(GetForegroundWindow(), running.Handle()) << "the running saver was not brought forward";
}

struct CursorMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// The messages after which the full-screen saver hides the cursor again.
constexpr CursorMessage kCursorHidingMessages[] = {
    {WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)},
    {WM_SHOWWINDOW, TRUE, 0},
    {WM_PAINT, 0, 0},
};

// '1' where the cursor is hidden, '0' where it shows: as the script finds it,
// then after each of the messages above, each sent with the arrow showing.
std::string CursorHidden(HWND hwnd) {
    std::string hidden(1, GetCursor() == nullptr ? '1' : '0');
    for (const CursorMessage& m : kCursorHidingMessages) {
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        SendMessageA(hwnd, m.message, m.wParam, m.lParam);
        hidden += GetCursor() == nullptr ? '1' : '0';
    }
    return hidden;
}

struct WindowKind {
    const char* name;
    bool preview;
    DWORD style;
    DWORD exStyle;
    const char* cursorHidden;
};

// The full-screen window covers every monitor, above every other window; the
// preview fills its parent and leaves the cursor alone.
TEST_F(SaverWindow, EachKindHasItsStylesPlaceAndCursor) {
    const WindowKind kinds[] = {
        {"full screen", false, WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_TOPMOST, "1111"},
        {"preview", true, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, "0000"},
    };
    for (const WindowKind& kind : kinds) {
        ResetHost();
        std::optional<PreviewParent> parent;
        const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        RECT expected{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
        if (kind.preview) {
            parent.emplace();
            GetClientRect(parent->Handle(), &expected);
            MapWindowPoints(parent->Handle(), nullptr, reinterpret_cast<POINT*>(&expected), 2);
        }
        DWORD style = 0;
        DWORD exStyle = 0;
        RECT placed{};
        std::string cursorHidden;
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        Run(
            [&](HWND hwnd) {
                cursorHidden = CursorHidden(hwnd);
                style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
                exStyle = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE));
                GetWindowRect(hwnd, &placed);
            },
            parent ? parent->Handle() : nullptr);
        EXPECT_EQ(style, kind.style) << kind.name;
        EXPECT_EQ(exStyle, kind.exStyle) << kind.name;
        EXPECT_TRUE(EqualRect(&placed, &expected) != FALSE)
            << kind.name << ": " << placed.left << "," << placed.top << "," << placed.right << "," << placed.bottom;
        EXPECT_EQ(cursorHidden, kind.cursorHidden) << kind.name;
    }
}

TEST_F(SaverWindow, PreviewNeverClosesOnInputAndForwardsHelpToItsParent) {
    PreviewParent parent;
    ASSERT_NE(parent.Handle(), nullptr);
    std::vector<std::string> closedBy;
    MSG forwarded{};
    bool gotForwarded = false;
    RECT client{};
    RECT parentClient{};
    GetClientRect(parent.Handle(), &parentClient);
    const int result = Run(
        [&](HWND hwnd) {
            GetClientRect(hwnd, &client);
            const InputCase inputs[] = {{"key", WM_KEYDOWN, 'A', true},
                                        {"click", WM_LBUTTONDOWN, MK_LBUTTON, true},
                                        {"deactivation", WM_ACTIVATEAPP, FALSE, true}};
            for (const InputCase& c : inputs) {
                SendMessageA(hwnd, c.message, c.wParam, 0);
                if (TakePostedClose(hwnd)) closedBy.emplace_back(c.name);
            }
            SetCursorPos(kAnchor.x + 50, kAnchor.y + 50);
            SendMessageA(hwnd, WM_MOUSEMOVE, 0, 0);
            if (TakePostedClose(hwnd)) closedBy.emplace_back("mouse");
            EXPECT_EQ(SendMessageA(hwnd, WM_CONTEXTMENU, 0, MAKELPARAM(10, 20)), 1);
            gotForwarded =
                PeekMessageA(&forwarded, parent.Handle(), WM_CONTEXTMENU, WM_CONTEXTMENU, PM_REMOVE) != FALSE;
            EXPECT_EQ(SendMessageA(hwnd, WM_HELP, 0, 0), 1);
            // The preview ends when the display settings destroy their window.
            DestroyWindow(parent.Handle());
        },
        parent.Handle());
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(closedBy.empty()) << ::testing::PrintToString(closedBy);
    EXPECT_EQ(client.right, parentClient.right);  // the child fills the parent's client area
    EXPECT_EQ(client.bottom, parentClient.bottom);
    ASSERT_TRUE(gotForwarded);
    EXPECT_EQ(forwarded.wParam, reinterpret_cast<WPARAM>(parent.Handle()));
    EXPECT_EQ(forwarded.lParam, MAKELPARAM(10, 20));
}

}  // namespace
}  // namespace lumetra::testing
