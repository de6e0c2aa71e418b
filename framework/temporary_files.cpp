#include "framework/temporary_files.h"

#include <array>
#include <atomic>
#include <cstring>

#include "framework/replace_file.h"

namespace lumetra {
namespace {

// A handful of writes at once is all any program here makes; the paths live
// in fixed storage because a signal handler may not allocate.
constexpr std::size_t kSlots = 8;
constexpr std::size_t kLongestPath = 4096;

enum SlotState : int { kFree, kFilling, kRecorded, kClaimed };

struct Slot {
    std::atomic<int> state{kFree};
    std::array<char, kLongestPath> path{};
};

std::array<Slot, kSlots> g_slots;

static_assert(std::atomic<int>::is_always_lock_free, "the record is read from signal handlers");

}  // namespace

std::string TemporaryNameBeside(const std::string& path, std::uint64_t random) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string name = path + '.';
    for (int shift = 60; shift >= 0; shift -= 4) name += kDigits[(random >> shift) & 0xF];
    return name + ".tmp";
}

CRecordedTemporary::CRecordedTemporary(const std::string& path) noexcept {
    if (path.size() >= kLongestPath) return;
    for (std::size_t i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (!g_slots[i].state.compare_exchange_strong(expected, kFilling)) continue;
        std::memcpy(g_slots[i].path.data(), path.c_str(), path.size() + 1);
        g_slots[i].state.store(kRecorded);
        m_nSlot = static_cast<int>(i);
        return;
    }
}

CRecordedTemporary::~CRecordedTemporary() {
    if (m_nSlot < 0) return;
    // A handler that claimed the slot is removing the file: the process ends.
    int expected = kRecorded;
    g_slots[static_cast<std::size_t>(m_nSlot)].state.compare_exchange_strong(expected, kFree);
}

void RemoveUnfinishedTemporaryFiles() noexcept {
    for (Slot& slot : g_slots) {
        int expected = kRecorded;
        if (slot.state.compare_exchange_strong(expected, kClaimed)) RemoveFileNow(slot.path.data());
    }
}

}  // namespace lumetra
