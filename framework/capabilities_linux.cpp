#include "framework/capabilities_linux.h"

#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <array>

namespace lumetra {
namespace {

using CapabilitySets = std::array<__user_cap_data_struct, _LINUX_CAPABILITY_U32S_3>;

bool IsEmpty(const CapabilitySets& sets) {
    return std::all_of(sets.begin(), sets.end(), [](const __user_cap_data_struct& s) {
        return s.effective == 0 && s.permitted == 0 && s.inheritable == 0;
    });
}

}  // namespace

bool DropAllCapabilities() {
    // The ambient set first, while the others still allow it; a kernel
    // without ambient sets refuses the call and has none to clear.
    static_cast<void>(::prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0));
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    const CapabilitySets none{};
    // No libcap for two system calls: capset with empty sets lowers them all.
    if (::syscall(SYS_capset, &header, none.data()) != 0) return false;
    CapabilitySets left{};
    return ::syscall(SYS_capget, &header, left.data()) == 0 && IsEmpty(left);
}

}  // namespace lumetra
