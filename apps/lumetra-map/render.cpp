// lumetra-map render: one frame exactly as the saver draws it after a probe,
// from a target file and a file of probe results, without any network.
#include <charconv>
#include <iterator>
#include <optional>
#include <string>

#include "apps/lumetra-map/commands.h"
#include "apps/lumetra-map/frame_output.h"
#include "apps/lumetra-map/tool_files.h"
#include "settings/settings_store.h"
#include "targets/results_file.h"
#include "view/frame_renderer.h"

namespace lumetra::map_tool {
namespace {

constexpr Option kRenderOptions[] = {
    {"--targets", "FILE", "the target file", true},
    {"--results", "FILE", "the probe results, one line \"INDEX RTT [SECOND]\" per result", true},
    {"--settings", "INI", "the saver's settings from this ini file instead of the user's own"},
    {"--current", "INDEX", "draw the marker of this target (0-based, in file order)"},
    {"--out", "FILE.bmp", "the frame, as a BMP file", true},
};

std::optional<std::size_t> TargetIndex(const std::string& text) {
    std::size_t index = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return index;
}

}  // namespace

const CommandSpec kRenderCommand = {
    "render",
    "draw one frame as the saver would after a probe, without any network",
    kRenderOptions,
    "the frame could not be made or written",
};

int RunRender(const ParsedOptions& options) {
    const std::string targetFile = *options.Value("--targets");
    const std::string resultsFile = *options.Value("--results");
    const std::string out = *options.Value("--out");

    // The saver reads a missing target file as an empty list; here a file that
    // cannot be read is a mistake in the command.
    TargetList targets;
    if (const std::error_code error = ReadTargets(targetFile, targets)) {
        return Fail(kRenderCommand, kExitBadInput, CannotRead("the target file", targetFile, error));
    }
    const std::string region(kRegionUsa);

    std::string resultsText;
    if (const std::error_code error = ReadText(resultsFile, resultsText)) {
        return Fail(kRenderCommand, kExitBadInput, CannotRead("the results file", resultsFile, error));
    }
    const ResultsReadout readout = ParseResults(resultsText, targets.size());
    if (!readout.error.empty()) return Fail(kRenderCommand, kExitBadInput, resultsFile + ": " + readout.error);
    ApplyResults(targets, readout.results);

    SaverSettings settings;
    if (const std::optional<std::string> settingsFile = options.Value("--settings")) {
        if (const std::error_code error = ReadSettings(*settingsFile, settings)) {
            return Fail(kRenderCommand, kExitBadInput, CannotRead("the settings file", *settingsFile, error));
        }
    } else {
        LoadSettings(settings);  // the user's own, as the saver reads them
    }
    ClampSettings(kRenderCommand, settings, options.Value("--settings").value_or(SettingsFilePath()));

    const PingTarget* current = nullptr;
    if (const std::optional<std::string> currentText = options.Value("--current")) {
        const std::optional<std::size_t> index = TargetIndex(*currentText);
        if (!index) {
            return UsageError(kRenderCommand, "--current needs a target index from 0 up, not '" + *currentText + "'");
        }
        if (*index >= targets.size()) {
            return Fail(kRenderCommand, kExitBadInput,
                        "--current " + std::to_string(*index) + " is out of range: the target file has " +
                            std::to_string(targets.size()) + " records");
        }
        current = std::next(targets.begin(), static_cast<std::ptrdiff_t>(*index))->get();
    }
    if (const std::error_code error = CheckCreatable(out)) {
        return Fail(kRenderCommand, kExitBadInput, "cannot create '" + out + "': " + error.message());
    }

    const CFrameRenderer renderer;
    const int code = DrawFrameTo(kRenderCommand, out, renderer, targets, region, settings, current);
    if (code != kExitDone) return code;
    Print(stdout, "wrote " + out + ": " + std::to_string(kFrameWidth) + " x " + std::to_string(kFrameHeight) +
                      ", range " + std::to_string(renderer.LastLow()) + "ms to " + std::to_string(renderer.LastHigh()) +
                      "ms\n");
    return kExitDone;
}

}  // namespace lumetra::map_tool
