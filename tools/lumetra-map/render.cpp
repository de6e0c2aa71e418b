// lumetra-map render: one frame exactly as the saver draws it after a probe,
// from a target file and a file of probe results, without any network.
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <utility>

#include "framework/exceptions.h"
#include "framework/file.h"
#include "imaging/dib.h"
#include "settings/settings_store.h"
#include "targets/results_file.h"
#include "targets/target_file.h"
#include "tools/lumetra-map/commands.h"
#include "view/frame_renderer.h"

namespace lumetra::map_tool {

namespace {

constexpr const char* kRenderUsage =
    "usage: lumetra-map render --targets FILE --results FILE [--settings INI] [--current INDEX] --out FILE.bmp\n";

struct RenderOptions {
    std::string targets;
    std::string results;
    std::optional<std::string> settings;
    std::optional<std::size_t> current;
    std::string out;
};

int Fail(const std::string& message) {
    static_cast<void>(std::fprintf(stderr, "lumetra-map render: %s\n", message.c_str()));
    return 2;
}

int UsageError(const std::string& message) {
    static_cast<void>(std::fprintf(stderr, "lumetra-map render: %s\n%s", message.c_str(), kRenderUsage));
    return 2;
}

std::optional<std::string> ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return text.str();
}

// Fills options from the arguments; returns the message of the first problem.
std::optional<std::string> ParseOptions(Args args, RenderOptions& options) {
    bool seenTargets = false;
    bool seenResults = false;
    bool seenOut = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view name = args[i];
        if (name != "--targets" && name != "--results" && name != "--settings" && name != "--current" &&
            name != "--out") {
            return "unknown option '" + std::string(name) + "'";
        }
        if (i + 1 >= args.size()) return "option " + std::string(name) + " needs a value";
        const std::string value(args[++i]);
        bool repeated = false;
        if (name == "--targets") {
            repeated = std::exchange(seenTargets, true);
            options.targets = value;
        } else if (name == "--results") {
            repeated = std::exchange(seenResults, true);
            options.results = value;
        } else if (name == "--out") {
            repeated = std::exchange(seenOut, true);
            options.out = value;
        } else if (name == "--settings") {
            repeated = options.settings.has_value();
            options.settings = value;
        } else {
            repeated = options.current.has_value();
            std::size_t index = 0;
            const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), index);
            if (ec != std::errc() || ptr != value.data() + value.size()) {
                return "--current needs a target index from 0 up, not '" + value + "'";
            }
            options.current = index;
        }
        if (repeated) return "option " + std::string(name) + " is given twice";
    }
    if (!seenTargets) return "missing --targets FILE";
    if (!seenResults) return "missing --results FILE";
    if (!seenOut) return "missing --out FILE.bmp";
    return std::nullopt;
}

std::string SystemError() {
    return std::strerror(errno);
}

}  // namespace

int RunRender(Args args) {
    RenderOptions options;
    if (const std::optional<std::string> problem = ParseOptions(args, options)) return UsageError(*problem);

    // The saver reads a missing target file as an empty list; here a file that
    // cannot be read is a mistake in the command.
    if (!ReadFileText(options.targets)) {
        return Fail("cannot read the target file '" + options.targets + "': " + SystemError());
    }
    TargetList targets;
    std::string region;
    LoadTargetFile(options.targets, targets, region);

    const std::optional<std::string> resultsText = ReadFileText(options.results);
    if (!resultsText) return Fail("cannot read the results file '" + options.results + "': " + SystemError());
    const ResultsReadout readout = ParseResults(*resultsText, targets.size());
    if (!readout.error.empty()) return Fail(options.results + ": " + readout.error);
    ApplyResults(targets, readout.results);

    SaverSettings settings;
    if (options.settings) {
        if (!ReadFileText(*options.settings)) {
            return Fail("cannot read the settings file '" + *options.settings + "': " + SystemError());
        }
        LoadSettings(settings, *options.settings);
    } else {
        LoadSettings(settings);  // the user's own, as the saver reads them
    }

    const PingTarget* current = nullptr;
    if (options.current) {
        if (*options.current >= targets.size()) {
            return Fail("--current " + std::to_string(*options.current) + " is out of range: the target file has " +
                        std::to_string(targets.size()) + " records");
        }
        current = std::next(targets.begin(), static_cast<std::ptrdiff_t>(*options.current))->get();
    }

    const CFrameRenderer renderer;
    CDib frame;
    renderer.CreateFrame(frame);
    renderer.RenderFrame(frame, targets, region, settings, current);

    CFile file;
    if (!file.Open(options.out, CFile::modeCreate | CFile::modeWrite)) {
        errno = file.LastError();
        return Fail("cannot create '" + options.out + "': " + SystemError());
    }
    try {
        frame.WriteBmp(&file);
        file.Close();
    } catch (const FileException& e) {
        static_cast<void>(
            std::fprintf(stderr, "lumetra-map render: writing '%s' failed: %s\n", options.out.c_str(), e.what()));
        return 1;
    }
    std::printf("wrote %s: %d x %d, range %dms to %dms\n", options.out.c_str(), kFrameWidth, kFrameHeight,
                renderer.LastLow(), renderer.LastHigh());
    return 0;
}

}  // namespace lumetra::map_tool
