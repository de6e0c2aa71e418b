#include "framework/wnd_windows.h"

#include <unordered_map>
#include <utility>

namespace lumetra {
namespace {

std::unordered_map<HWND, CWnd*>& PermanentMap() {
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// The message being handled on this thread, for Default().
struct CurrentMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
thread_local CurrentMessage t_current;

// Restores the outer message when a nested dispatch ends, however it ends.
class CurrentMessageScope {
public:
    explicit CurrentMessageScope(CurrentMessage message) : m_outer(std::exchange(t_current, message)) {}
    ~CurrentMessageScope() { t_current = m_outer; }
    CurrentMessageScope(const CurrentMessageScope&) = delete;
    CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;

private:
    CurrentMessage m_outer;
};

}  // namespace

const MessageMap CCmdTarget::kMessageMap{nullptr, {}};

const MessageEntry* FindMessageEntry(const MessageMap* map, UINT message, WPARAM wParam, LPARAM lParam) {
    UINT id = 0;
    UINT code = 0;
    if (message == WM_COMMAND) {
        id = LOWORD(wParam);
        code = HIWORD(wParam);
    } else if (message == WM_NOTIFY && lParam != 0) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        id = static_cast<UINT>(header->idFrom);
        code = header->code;
    }
    for (; map != nullptr; map = map->base) {
        for (const MessageEntry& entry : map->entries) {
            if (entry.message == message && entry.id == id && entry.code == code) return &entry;
        }
    }
    return nullptr;
}

const MessageEntry CWnd::kMessageEntries[] = {
    msg::OnNcDestroy<&CWnd::OnNcDestroy>(),
};
const MessageMap CWnd::kMessageMap{&CCmdTarget::kMessageMap, kMessageEntries};

CWnd::~CWnd() {
    Detach();
}

bool CWnd::Attach(HWND hwnd) {
    if (hwnd == nullptr || m_hWnd != nullptr) return false;
    if (!PermanentMap().emplace(hwnd, this).second) return false;
    m_hWnd = hwnd;
    return true;
}

HWND CWnd::Detach() {
    HWND hwnd = std::exchange(m_hWnd, nullptr);
    if (hwnd != nullptr) PermanentMap().erase(hwnd);
    return hwnd;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    const auto found = PermanentMap().find(hwnd);
    return found != PermanentMap().end() ? found->second : nullptr;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const MessageEntry* entry = FindMessageEntry(GetMessageMap(), message, wParam, lParam)) {
        return entry->handler(*this, wParam, lParam);
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(t_current.message, t_current.wParam, t_current.lParam);
}

void CWnd::OnNcDestroy() {
    Default();
    Detach();
    PostNcDestroy();
}

RECT CWnd::GetClientRect() const {
    RECT rect{};
    ::GetClientRect(m_hWnd, &rect);
    return rect;
}

HWND CWnd::GetDlgItem(int id) const {
    return ::GetDlgItem(m_hWnd, id);
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendDlgItemMessageA(m_hWnd, id, message, wParam, lParam);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse) {
    return ::SetTimer(m_hWnd, id, elapse, nullptr);
}

void CWnd::Invalidate(BOOL erase) {
    ::InvalidateRect(m_hWnd, nullptr, erase);
}

LRESULT AfxCallWndProc(CWnd* wnd, HWND /*hwnd*/, UINT message, WPARAM wParam, LPARAM lParam) {
    const CurrentMessageScope scope({message, wParam, lParam});
    return wnd->WindowProc(message, wParam, lParam);
}

}  // namespace lumetra
