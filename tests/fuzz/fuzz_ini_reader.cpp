// Arbitrary bytes as an ini file, queried and rewritten. Checks: a written
// key reads back exactly, every other probed key keeps its value, a refused
// write changes nothing, the text survives a reparse, and untouched text
// comes back byte for byte.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "settings/private_profile.h"

namespace {

using lumetra::CProfileText;

void Check(bool condition, int line) {
    if (condition) return;
    static_cast<void>(std::fprintf(stderr, "fuzz_ini_reader: check on line %d failed\n", line));
    std::abort();
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    a = Trim(a);
    b = Trim(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

struct Probe {
    std::string section;
    std::string key;
    std::optional<std::string> value;
};

std::optional<std::string> Lookup(const CProfileText& ini, const std::string& section, const std::string& key) {
    const std::optional<std::string_view> found = ini.Find(section, key);
    if (!found) return std::nullopt;
    return std::string(*found);
}

// An added key or section only inserts bytes.
bool IsSubsequence(std::string_view part, std::string_view whole) {
    std::size_t at = 0;
    for (const char c : whole) {
        if (at < part.size() && part[at] == c) ++at;
    }
    return at == part.size();
}

// A replaced value differs from the old text within one line only.
bool ChangesOneLineOnly(std::string_view before, std::string_view after) {
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
        ++tail;
    }
    const std::string_view removed = before.substr(head, before.size() - head - tail);
    const std::string_view added = after.substr(head, after.size() - head - tail);
    return removed.find('\n') == std::string_view::npos && added.find('\n') == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(32);
    const std::string key = input.ConsumeRandomLengthString(32);
    const std::string value = input.ConsumeRandomLengthString(64);
    std::vector<Probe> probes;
    for (int i = 0; i < 4; ++i) {
        std::string probeSection = input.ConsumeBool() ? section : input.ConsumeRandomLengthString(16);
        probes.push_back({std::move(probeSection), input.ConsumeRandomLengthString(16), std::nullopt});
    }
    const std::size_t limit = input.ConsumeIntegralInRange<std::size_t>(0, 2048);
    const std::string text = input.ConsumeRemainingBytesAsString();

    CProfileText ini(text);
    Check(ini.Text() == text, __LINE__);
    for (Probe& probe : probes) probe.value = Lookup(ini, probe.section, probe.key);

    const std::optional<std::string> old = Lookup(ini, section, key);
    if (old) {
        Check(lumetra::CutToLimit(*old, limit).size() == std::min(old->size(), limit == 0 ? 0 : limit - 1), __LINE__);
        static_cast<void>(lumetra::ParseProfileInt(*old, 0));
    }

    if (!ini.Set(section, key, value)) {
        Check(ini.Text() == text, __LINE__);
        return 0;
    }
    const std::string written = ini.Text();
    const CProfileText reread(written);
    Check(reread.Text() == written, __LINE__);
    Check(Lookup(ini, section, key) == value, __LINE__);
    Check(Lookup(reread, section, key) == value, __LINE__);
    for (const Probe& probe : probes) {
        if (SameName(probe.section, section) && SameName(probe.key, key)) continue;
        Check(Lookup(reread, probe.section, probe.key) == probe.value, __LINE__);
    }
    // A second identical write changes nothing.
    Check(ini.Set(section, key, value), __LINE__);
    Check(ini.Text() == written, __LINE__);
    if (old) {
        Check(ChangesOneLineOnly(text, written), __LINE__);
    } else {
        Check(written.size() > text.size() && IsSubsequence(text, written), __LINE__);
    }
    return 0;
}
