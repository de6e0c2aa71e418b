// lumetra-map probe [--targets FILE] [--settings INI] [--out FILE.bmp]: probes
// every target of the region once, in list order, exactly as the saver's probe
// cycle does, shows the progress on stderr, prints the results as a table on
// stdout and writes the frame the saver would show after its last probe.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "apps/lumetra-map/commands.h"
#include "apps/lumetra-map/frame_output.h"
#include "apps/lumetra-map/probe_waits_linux.h"
#include "apps/lumetra-map/tool_files.h"
#include "probe/echo_prober_linux.h"
#include "settings/settings_store.h"
#include "targets/target_file.h"
#include "view/frame_renderer.h"
#include "view/saver_files.h"
#include "view/target_cycle.h"
#include "view/target_probe.h"

namespace lumetra::map_tool {
namespace {

constexpr Option kProbeOptions[] = {
    {"--targets", "FILE", "the target file; the settings' TargetFile when left out"},
    {"--settings", "INI", "the saver's settings from this ini file instead of the user's own"},
    {"--out", "FILE.bmp", "the frame the saver would show after the cycle", false, kSnapshotFileName},
};

// A target of the cycle and how its probe went.
struct ProbedTarget {
    PingTarget* target;
    ProbeOutcome outcome;
};

std::string ResultText(const ProbedTarget& probed) {
    switch (probed.outcome) {
        case ProbeOutcome::kAnswered: return std::to_string(probed.target->m_nRoundTripMs) + " ms";
        case ProbeOutcome::kUnknownHost: return "unknown host";
        case ProbeOutcome::kUnanswered: break;
    }
    return "timeout";
}

std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

void PrintTable(const std::vector<ProbedTarget>& probed) {
    std::size_t hostWidth = 4, addressWidth = 7;
    for (const ProbedTarget& row : probed) {
        hostWidth = std::max(hostWidth, row.target->m_strHost.size());
        addressWidth = std::max(addressWidth, row.target->m_strAddress.size());
    }
    char header[32];
    static_cast<void>(std::snprintf(header, sizeof header, "%6s %6s", "x", "y"));
    Print(stdout,
          Padded("host", hostWidth) + "  " + Padded("address", addressWidth) + "  " + header + "  round trip\n");
    int answered = 0;
    for (const ProbedTarget& row : probed) {
        const PingTarget* t = row.target;
        char position[32];
        static_cast<void>(std::snprintf(position, sizeof position, "%6d %6d", t->m_nX, t->m_nY));
        Print(stdout, Padded(t->m_strHost, hostWidth) + "  " + Padded(t->m_strAddress, addressWidth) + "  " + position +
                          "  " + ResultText(row) + "\n");
        answered += t->HasResult() ? 1 : 0;
    }
    Print(stdout, std::to_string(answered) + " of " + std::to_string(probed.size()) + " targets answered\n");
}

// The frame after the last probe, without a marker, as the saver would
// show it.
int WriteFrame(const std::string& path, const TargetList& targets, std::string_view region,
               const SaverSettings& settings) {
    const int code = DrawFrameTo(kProbeCommand, path, CFrameRenderer(), targets, region, settings, nullptr);
    if (code == kExitDone) Print(stderr, "wrote " + path + "\n");
    return code;
}

}  // namespace

const CommandSpec kProbeCommand = {
    "probe",
    "probe every target of the region once, as the saver does, list the times and write the frame",
    kProbeOptions,
    "this user may not send ICMP echoes, or the frame could not be made or written",
};

int RunProbe(const ParsedOptions& options) {
    SaverSettings settings;
    if (const std::optional<std::string> settingsFile = options.Value("--settings")) {
        if (const std::error_code error = ReadSettings(*settingsFile, settings)) {
            return Fail(kProbeCommand, kExitBadInput, CannotRead("the settings file", *settingsFile, error));
        }
    } else {
        LoadSettings(settings);
    }

    const std::string targetFile = options.Value("--targets").value_or(settings.m_strTargetFile);
    TargetList targets;
    const std::string region(kRegionUsa);
    if (const std::error_code error = ReadTargets(targetFile, targets)) {
        return Fail(kProbeCommand, kExitBadInput, CannotRead("the target file", targetFile, error));
    }

    std::string why;
    if (!IcmpSocketsAvailable(&why)) {
        return Fail(kProbeCommand, kExitIncomplete, IcmpNotAllowedMessage(why, "lumetra-map"));
    }

    // Ctrl-C or SIGTERM ends the run while it waits for a probe, and only then.
    CInterruptibleProbes probes;
    // Asked before the probes, so that a wrong path costs no probe cycle; the
    // frame itself replaces the file only at the end.
    const std::string outFile = *options.Value("--out");
    if (const std::error_code error = CheckCreatable(outFile)) {
        return Fail(kProbeCommand, kExitBadInput, "cannot create '" + outFile + "': " + error.message());
    }

    std::vector<ProbedTarget> probed;
    for (PingTarget* target : OneProbeCycle(targets, region)) {
        Print(stderr, target->m_strHost + " ... ");
        static_cast<void>(std::fflush(stderr));
        const std::optional<ProbeOutcome> outcome = probes.Probe(*target, settings.m_nPingTimeout);
        if (!outcome) probes.EndBySignal();
        probed.push_back({target, *outcome});
        Print(stderr, ResultText(probed.back()) + "\n");
    }
    PrintTable(probed);
    return WriteFrame(outFile, targets, region, settings);
}

}  // namespace lumetra::map_tool
