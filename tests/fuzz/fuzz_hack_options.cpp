// Fuzzes lumetra-x11's command line: the input, split at zero bytes, is the
// argument list. Whatever the parser takes must be something the saver can
// run with: every number a switch sets works (none that would send no probe
// or stall the frame), a given window has an id, and each clamped value
// came with a notice.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "apps/lumetra-x11/hack_options.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> args;
    for (std::size_t start = 0; start <= input.size() && args.size() < 64;) {
        const std::size_t end = std::min(input.find('\0', start), input.size());
        args.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    lumetra::x11::HackOptions options;
    if (lumetra::x11::ParseHackOptions(args, options)) return 0;

    lumetra::SaverSettings settings;
    lumetra::x11::ApplyOverrides(options.overrides, settings);
    for (const lumetra::x11::SettingOverride& given : options.overrides) {
        const auto* number = std::get_if<lumetra::IntField>(&given.option->field);
        if (number == nullptr || !number->usable) continue;
        Require(given.number >= number->usable->min && given.number <= number->usable->max);
        Require(settings.*number->member >= number->usable->min);
    }
    Require(options.notices.size() <= options.overrides.size());
    if (options.mode == lumetra::x11::DrawMode::kGivenWindow) Require(options.windowId != 0);
    if (options.probeLimit) Require(*options.probeLimit >= 0);
    return 0;
}
