// lumetra-map import: a target file made from a list of places, a CSV table
// of hosts with their latitude and longitude or the anchors of RIPE Atlas,
// each host placed on the map as the bundled hosts were. A row that cannot
// be placed is named on stderr with its line and left out.
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "apps/lumetra-map/commands.h"
#include "apps/lumetra-map/tool_files.h"
#include "places/host_import.h"
#include "places/target_fields.h"
#include "view/frame_size.h"

namespace lumetra::map_tool {
namespace {

// The inputs the tool reads; a run names exactly one.
struct Source {
    std::string_view option;
    std::string_view what;  // for messages and the file's header
    ImportOutcome (*import)(std::string_view text, const CLandMask& land);
};
constexpr Source kSources[] = {
    {"--csv", "the CSV table", ImportCsvHosts},
    {"--anchors", "the RIPE Atlas anchors", ImportAnchorsJson},
};

constexpr Option kImportOptions[] = {
    {"--csv", "FILE",
     "a CSV table whose header row names host, lat (or latitude) and lon (or longitude), and optionally "
     "type, address, info and note; give this or --anchors"},
    {"--anchors", "FILE", "the JSON list that the RIPE Atlas anchors API returns; keeps the anchors in the US"},
    {"--out", "FILE", "the target file, written whole or not at all (default: standard output)"},
};

// The comment lines the file starts with: where it came from and its fields.
std::string Header(const Source& source, const std::string& path) {
    const std::string name = path.substr(path.find_last_of("/\\") + 1);
    const std::string map = std::to_string(kFrameWidth) + " x " + std::to_string(kFrameHeight);
    std::string header = "; Lumetra target file, made by lumetra-map import from ";
    header += std::string(source.what) + " " + Quoted(name) + ".\n";
    header +=
        "; Seven fields separated by tabs: type (1 to 7, the icon), address (dotted\n"
        "; IPv4, or \"name\" to look the host name up), host, info, note (* for none),\n";
    header += "; x,y on the " + map + " map, region.\n";
    return header;
}

std::string Plural(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// How the run went, on stderr, after the rows that were left out.
std::string Summary(const ImportResult& result, const std::optional<std::string>& out) {
    std::string summary =
        Plural(result.lines.size(), "host", "hosts") + " placed" + (out ? ", written to " + *out : "");
    if (!result.problems.empty()) summary += ", " + Plural(result.problems.size(), "row", "rows") + " left out";
    if (result.nSkipped != 0) {
        summary += ", " + Plural(result.nSkipped, "anchor", "anchors") + " of other countries passed over";
    }
    return summary;
}

}  // namespace

const CommandSpec kImportCommand = {
    "import",
    "make a target file from a CSV table of places or the RIPE Atlas anchors",
    kImportOptions,
    "rows were left out (each named on stderr with its line)",
};

int RunImport(const ParsedOptions& options) {
    const Source* source = nullptr;
    for (const Source& candidate : kSources) {
        if (!options.Given(candidate.option)) continue;
        if (source != nullptr) return UsageError(kImportCommand, "give only one of --csv and --anchors");
        source = &candidate;
    }
    if (source == nullptr) return UsageError(kImportCommand, "give --csv FILE or --anchors FILE");

    const std::string path = *options.Value(source->option);
    std::string text;
    if (const std::error_code error = ReadText(path, text)) {
        return Fail(kImportCommand, kExitBadInput, CannotRead(source->what, path, error));
    }
    ImportOutcome outcome = source->import(text, CLandMask::Outline());
    if (const auto* error = std::get_if<ImportError>(&outcome)) {
        return Fail(kImportCommand, kExitBadInput,
                    path + ":" + std::to_string(error->nLine) + ": " + error->message + "; nothing written");
    }
    const ImportResult& result = std::get<ImportResult>(outcome);
    for (const ImportProblem& problem : result.problems) {
        Print(stderr, std::to_string(problem.nLine) + ": " + problem.message + "\n");
    }

    std::string file = Header(*source, path);
    for (const std::string& line : result.lines) (file += line) += '\n';
    const std::optional<std::string> out = options.Value("--out");
    if (!out) {
        Print(stdout, file);
    } else if (const std::error_code error = ReplaceWithBytes(*out, file)) {
        return Fail(kImportCommand, kExitBadInput, "cannot write '" + *out + "': " + error.message());
    }
    Print(stderr, "lumetra-map import: " + Summary(result, out) + "\n");
    return result.problems.empty() ? kExitDone : kExitIncomplete;
}

}  // namespace lumetra::map_tool
