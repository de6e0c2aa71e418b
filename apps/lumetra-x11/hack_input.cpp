#include "apps/lumetra-x11/hack_input.h"

namespace lumetra::x11 {

bool CDismissal::Ends(const HackInput& input) {
    switch (m_mode) {
        case DrawMode::kOwnWindow:
            return input.kind == InputKind::kCloseRequest || (input.kind == InputKind::kKeyPress && input.quitKey);
        case DrawMode::kFullScreen:
            if (input.kind != InputKind::kPointerMotion) return true;
            if (!MovedBeyondThreshold(m_anchor, input.pointer)) return false;
            m_anchor = input.pointer;
            return true;
        case DrawMode::kRoot:
        case DrawMode::kGivenWindow: break;
    }
    return false;
}

}  // namespace lumetra::x11
