// lumetra-map probe [--targets FILE] [--settings INI] [--out FILE.bmp]: probes
// every target of the region once, in list order, exactly as the saver's probe
// cycle does, shows the progress on stderr, prints the results as a table on
// stdout and writes the frame the saver would show after its last probe.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "framework/exceptions.h"
#include "framework/file.h"
#include "framework/native_path.h"
#include "imaging/dib.h"
#include "probe/echo_prober_linux.h"
#include "settings/settings_store.h"
#include "targets/target_file.h"
#include "tools/lumetra-map/commands.h"
#include "view/frame_renderer.h"
#include "view/target_cycle.h"
#include "view/target_probe.h"

namespace lumetra::map_tool {
namespace {

constexpr int kExitRan = 0;
constexpr int kExitUnfinished = 1;  // no ICMP for this user, or the frame could not be made
constexpr int kExitBadArguments = 2;

struct ProbeOptions {
    std::optional<std::string> targetFile;    // else the settings' TargetFile
    std::optional<std::string> settingsFile;  // else the saver's own ini file
    std::optional<std::string> outFile;       // else the saver's snapshot name
};

void Print(std::FILE* stream, std::string_view text) {
    static_cast<void>(std::fwrite(text.data(), 1, text.size(), stream));
}

int ProbeUsage() {
    Print(stderr,
          "usage: lumetra-map probe [--targets FILE] [--settings INI] [--out FILE.bmp]\n"
          "  probes every target of the region once, as the saver does, prints the round-trip times and\n"
          "  writes the frame the saver would show then\n"
          "  FILE defaults to the settings' TargetFile, INI to the saver's own settings file, FILE.bmp to\n"
          "  lumetra.bmp\n"
          "  exit status: 0 it ran, 1 this user may not send ICMP echoes or the frame could not be written,\n"
          "  2 bad arguments or unreadable files\n");
    return kExitBadArguments;
}

std::optional<ProbeOptions> ParseProbeArgs(Args args) {
    ProbeOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        std::optional<std::string>* slot = nullptr;
        if (arg == "--targets") slot = &options.targetFile;
        if (arg == "--settings") slot = &options.settingsFile;
        if (arg == "--out") slot = &options.outFile;
        if (slot == nullptr || slot->has_value() || i + 1 >= args.size() || args[i + 1].empty()) return std::nullopt;
        *slot = std::string(args[++i]);
    }
    return options;
}

bool IsReadableFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(NativePath(path), error)) return false;
    return std::ifstream(NativePath(path)).good();
}

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

// No half-written picture is left behind to be taken for a good one.
void RemoveUnfinished(CFile& file, const std::string& path) {
    try {
        file.Close();
    } catch (const FileException&) {
        // removed below all the same
    }
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::path(path), ignored);
}

// The frame after the last probe, without a marker, as the saver would
// show it.
bool WriteFrame(CFile& file, const std::string& path, const TargetList& targets, std::string_view region,
                const SaverSettings& settings) {
    try {
        const CFrameRenderer renderer;
        CDib frame;
        renderer.CreateFrame(frame);
        renderer.RenderFrame(frame, targets, region, settings, nullptr);
        frame.WriteBmp(&file);
        file.Close();
        Print(stderr, "wrote " + path + "\n");
        return true;
    } catch (const FileException& e) {
        Print(stderr, "lumetra-map probe: writing " + path + " failed: " + e.what() + "\n");
    } catch (const ResourceException& e) {
        Print(stderr, std::string("lumetra-map probe: cannot render: ") + e.what() + "\n");
    } catch (const MemoryException& e) {
        Print(stderr, std::string("lumetra-map probe: cannot render: ") + e.what() + "\n");
    }
    return false;
}

}  // namespace

int RunProbe(Args args) {
    const std::optional<ProbeOptions> options = ParseProbeArgs(args);
    if (!options) return ProbeUsage();

    SaverSettings settings;
    if (options->settingsFile) {
        if (!IsReadableFile(*options->settingsFile)) {
            Print(stderr, "lumetra-map probe: cannot read the settings file " + *options->settingsFile + "\n");
            return kExitBadArguments;
        }
        LoadSettings(settings, *options->settingsFile);
    } else {
        LoadSettings(settings);
    }

    const std::string targetFile = options->targetFile.value_or(settings.m_strTargetFile);
    TargetList targets;
    std::string region;
    try {
        region = kRegionUsa;
        const std::error_code error = ReadTargetFile(targetFile, [&targets](std::size_t, ParsedLine parsed) {
            if (parsed.status == LineStatus::kAccepted) targets.push_back(std::move(parsed.target));
        });
        if (error) {
            Print(stderr,
                  "lumetra-map probe: cannot read the target file " + targetFile + ": " + error.message() + "\n");
            return kExitBadArguments;
        }
    } catch (const std::bad_alloc&) {
        Print(stderr, "lumetra-map probe: " + targetFile + ": out of memory\n");
        return kExitBadArguments;
    }

    std::string why;
    if (!IcmpSocketsAvailable(&why)) {
        Print(stderr, "lumetra-map probe: cannot send ICMP echoes: " + why +
                          ".\nAllow it with one of:\n"
                          "  sysctl net.ipv4.ping_group_range=\"0 2147483647\"   (unprivileged ICMP sockets for all "
                          "groups)\n"
                          "  setcap cap_net_raw+ep lumetra-map                  (raw sockets for this program)\n");
        return kExitUnfinished;
    }

    // Opened before the probes, so that a wrong path costs no probe cycle.
    const std::string outFile = options->outFile.value_or("lumetra.bmp");
    CFile out;
    if (!out.Open(outFile, CFile::modeCreate | CFile::modeWrite)) {
        Print(stderr, "lumetra-map probe: cannot create " + outFile + ": " +
                          std::error_code(out.LastError(), std::generic_category()).message() + "\n");
        return kExitBadArguments;
    }

    CEchoProber prober;
    std::vector<ProbedTarget> probed;
    for (PingTarget* target : OneProbeCycle(targets, region)) {
        Print(stderr, target->m_strHost + " ... ");
        static_cast<void>(std::fflush(stderr));
        probed.push_back({target, ProbeTarget(*target, settings.m_nPingTimeout, prober)});
        Print(stderr, ResultText(probed.back()) + "\n");
    }
    PrintTable(probed);
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        Print(stderr, "lumetra-map probe: the table could not be written\n");
        RemoveUnfinished(out, outFile);
        return kExitUnfinished;
    }
    if (!WriteFrame(out, outFile, targets, region, settings)) {
        RemoveUnfinished(out, outFile);
        return kExitUnfinished;
    }
    return kExitRan;
}

}  // namespace lumetra::map_tool
