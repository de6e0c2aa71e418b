// The saver window on the 9x family (Wine poses as Windows 98 for this
// program): the screen-saver password, asked through a verifier of our own.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/host/saver_harness_windows.h"

namespace lumetra::testing {
namespace {

constexpr UINT kSpiGetScreenSaverRunning = 114;

using ConfigureFn = void (*)(BOOL, void (*)(HWND));
using CallsFn = int (*)();

bool SaverRunningFlag() {
    BOOL running = FALSE;
    SystemParametersInfoA(kSpiGetScreenSaverRunning, 0, &running, 0);
    return running != FALSE;
}

// The verifier as the saver loaded it; null before it is loaded.
template <class Fn>
Fn Verifier(const char* name) {
    HMODULE library = GetModuleHandleA("PASSWORD.CPL");
    return library != nullptr ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

class Win9xSaver : public SaverWindowFixture {
protected:
    void SetUp() override {
        SaverWindowFixture::SetUp();
        ASSERT_TRUE(RunsAsWin9x()) << "Wine's AppDefaults must report Windows 98 for this program";
        ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &m_key), ERROR_SUCCESS);
    }
    void TearDown() override {
        RegDeleteValueA(m_key, "ScreenSaveUsePassword");
        RegCloseKey(m_key);
        SaverWindowFixture::TearDown();
    }
    void SetUsePassword(DWORD value) {
        RegSetValueExA(m_key, "ScreenSaveUsePassword", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof(value));
    }

private:
    HKEY m_key = nullptr;
};

HWND g_verifying = nullptr;
bool g_inputClosedDuringVerification = false;
bool g_timerLeftBeforeVerification = false;
LRESULT g_nestedClose = -1;

void DuringVerification(HWND hwnd) {
    MSG pending{};
    g_timerLeftBeforeVerification = PeekMessageA(&pending, hwnd, WM_TIMER, WM_TIMER, PM_NOREMOVE) != FALSE;
    g_verifying = hwnd;
    SendMessageA(hwnd, WM_KEYDOWN, 'A', 0);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SetCursorPos(kAnchor.x + 40, kAnchor.y);
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, 0);
    g_inputClosedDuringVerification = TakePostedClose(hwnd);
    g_nestedClose = SendMessageA(hwnd, WM_CLOSE, 0, 0);
}

// The verifier's dialog shows the arrow while it asks.
void ShowArrow(HWND /*hwnd*/) {
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(Win9xSaver, RefusalKeepsTheSaverUpAndWaitsTwoHundredMilliseconds) {
    SetUsePassword(1);
    int callsAfterRefusal = 0;
    bool hiddenAfterRefusal = false;
    int callsWithin200 = 0;
    int callsAfter200 = 0;
    bool upAfterRefusal = false;
    POINT anchorAfterRefusal{};
    bool flagDuringRun = false;
    bool closedOnAccept = false;
    Run([&](HWND hwnd) {
        flagDuringRun = SaverRunningFlag();
        auto configure = Verifier<ConfigureFn>("TestConfigure");
        auto calls = Verifier<CallsFn>("TestCalls");
        ASSERT_NE(configure, nullptr);
        ASSERT_NE(calls, nullptr);
        configure(FALSE, ShowArrow);
        SetCursorPos(kAnchor.x + 30, kAnchor.y + 30);
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        callsAfterRefusal = calls();
        hiddenAfterRefusal = GetCursor() == nullptr;
        upAfterRefusal = IsWindow(hwnd) != FALSE;
        anchorAfterRefusal = g_saverHost.ptCursorAnchor;
        SendMessageA(hwnd, WM_CLOSE, 0, 0);  // within 200 ms of the refusal
        callsWithin200 = calls();
        Sleep(250);
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        callsAfter200 = calls();
        configure(TRUE, nullptr);
        Sleep(250);
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        closedOnAccept = IsWindow(hwnd) == FALSE;
    });
    EXPECT_TRUE(flagDuringRun);
    EXPECT_FALSE(SaverRunningFlag());  // lowered when the verifier was unloaded
    EXPECT_EQ(callsAfterRefusal, 1);
    EXPECT_TRUE(hiddenAfterRefusal) << "the verifier's arrow stayed";
    EXPECT_TRUE(upAfterRefusal);
    EXPECT_EQ(anchorAfterRefusal.x, kAnchor.x + 30);
    EXPECT_EQ(anchorAfterRefusal.y, kAnchor.y + 30);
    EXPECT_EQ(callsWithin200, 1);
    EXPECT_EQ(callsAfter200, 2);
    EXPECT_TRUE(closedOnAccept);
    EXPECT_EQ(g_saverHost.hPasswordLib, nullptr);
}

TEST_F(Win9xSaver, InputDuringAVerificationClosesNothingAndTimersAreDroppedFirst) {
    SetUsePassword(1);
    bool up = false;
    Run([&](HWND hwnd) {
        Verifier<ConfigureFn>("TestConfigure")(FALSE, DuringVerification);
        PostMessageA(hwnd, WM_TIMER, 1, 0);
        PostMessageA(hwnd, WM_TIMER, 1, 0);
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        up = IsWindow(hwnd) != FALSE;
        Verifier<ConfigureFn>("TestConfigure")(TRUE, nullptr);
    });
    EXPECT_EQ(g_verifying, g_saverHost.hSaverWnd);
    EXPECT_FALSE(g_inputClosedDuringVerification);
    EXPECT_FALSE(g_timerLeftBeforeVerification);
    EXPECT_EQ(g_nestedClose, 0);  // a close request during the verification is dropped
    EXPECT_EQ(window.timers, 0);
    EXPECT_TRUE(up);
}

struct NoPasswordCase {
    const char* name;
    bool setValue;
    DWORD value;
};

TEST_F(Win9xSaver, WithoutThePasswordSettingTheFirstCloseProceeds) {
    const NoPasswordCase cases[] = {{"value missing", false, 0}, {"value 0", true, 0}};
    for (const NoPasswordCase& c : cases) {
        ResetHost();
        if (c.setValue) SetUsePassword(c.value);
        bool closed = false;
        bool loaded = true;
        Run([&](HWND hwnd) {
            loaded = GetModuleHandleA("PASSWORD.CPL") != nullptr;
            SendMessageA(hwnd, WM_KEYDOWN, 'A', 0);
            Pump();
            closed = IsWindow(hwnd) == FALSE;
        });
        EXPECT_FALSE(loaded) << c.name;
        EXPECT_TRUE(closed) << c.name;
        EXPECT_FALSE(SaverRunningFlag()) << c.name;
    }
}

TEST_F(Win9xSaver, WithoutAVerifierTheAnswerIsYes) {
    bool answer = false;
    Run([&](HWND hwnd) { answer = SendMessageA(hwnd, WM_VERIFYPASSWORD, 0, 0) == 1; });
    EXPECT_TRUE(answer);
}

}  // namespace
}  // namespace lumetra::testing
