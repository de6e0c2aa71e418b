// An echo prober that answers as a test says and records every call, so the
// probe step is checked without a network.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "view/target_probe.h"

namespace lumetra::test {

class CScriptedProber final : public IEchoProber {
public:
    struct Call {
        std::string what;  // "PingAddress", "ResolveHostName" or "PingHostName"
        std::uint32_t address = 0;
        std::string host;
        int timeoutMs = 0;
        int dataSize = 0;
        int roundTripBefore = 0;  // the target's fields when the call came
        int secondBefore = 0;
    };

    // Round-trip times: an address or a name that is not listed does not
    // answer; a name listed in `unknown` does not resolve.
    std::map<std::uint32_t, int> byAddress;
    std::map<std::string, int> byName;
    std::vector<std::string> unknown;
    std::vector<Call> calls;

    int PingAddress(std::uint32_t address, int* roundTripMs, int* secondResult, int timeoutMs, int dataSize) override {
        calls.push_back({"PingAddress", address, "", timeoutMs, dataSize, *roundTripMs, *secondResult});
        const auto found = byAddress.find(address);
        if (found == byAddress.end()) return 0;
        *roundTripMs = *secondResult = found->second;
        return 1;
    }

    int ResolveHostName(const char* host, std::uint32_t* address) override {
        calls.push_back({"ResolveHostName", *address, host, 0, 0, 0, 0});
        return 1;
    }

    int PingHostName(const char* host, int* roundTripMs, int* secondResult, int timeoutMs, int dataSize,
                     bool* resolved) override {
        calls.push_back({"PingHostName", 0, host, timeoutMs, dataSize, *roundTripMs, *secondResult});
        *resolved = std::find(unknown.begin(), unknown.end(), host) == unknown.end();
        const auto found = byName.find(host);
        if (!*resolved || found == byName.end()) return 0;
        *roundTripMs = *secondResult = found->second;
        return 1;
    }
};

}  // namespace lumetra::test
