#include "framework/dc_windows.h"

#include <utility>

namespace lumetra {

void CDC::Attach(HDC hdc) {
    DeleteDC();
    m_hDC = hdc;
}

HDC CDC::Detach() {
    return std::exchange(m_hDC, nullptr);
}

void CDC::DeleteDC() noexcept {
    if (m_hDC != nullptr) ::DeleteDC(std::exchange(m_hDC, nullptr));
}

}  // namespace lumetra
