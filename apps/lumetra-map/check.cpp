// lumetra-map check [FILE]: reads a target file exactly as the saver does,
// lists the records it keeps on stdout and says on stderr why each dropped
// line was dropped.
#include <string>

#include "apps/lumetra-map/commands.h"
#include "apps/lumetra-map/tool_files.h"
#include "targets/target_file.h"

namespace lumetra::map_tool {
namespace {

constexpr Option kCheckOptions[] = {
    {"FILE", "", "the target file to read; the one installed with the tool when left out"},
};

// The fields as the saver holds them, control bytes escaped (Printable).
std::string RecordLine(const PingTarget& target) {
    return std::to_string(target.m_nType) + '\t' + std::to_string(target.m_dwAddress) + '\t' +
           Printable(target.m_strAddress) + '\t' + Printable(target.m_strHost) + '\t' + Printable(target.m_strInfo) +
           '\t' + Printable(target.m_strNote) + '\t' + std::to_string(target.m_nX) + '\t' +
           std::to_string(target.m_nY) + '\t' + Printable(target.m_strRegion) + '\n';
}

}  // namespace

const CommandSpec kCheckCommand = {
    "check",
    "read a target file as the saver does and list its records",
    kCheckOptions,
    "lines were dropped (each named on stderr)",
};

int RunCheck(const ParsedOptions& options) {
    std::string path;
    if (const std::optional<std::string> given = options.Value("FILE")) {
        path = *given;
    } else if (const std::error_code error = FindBundledTargetFile(path)) {
        return Fail(kCheckCommand, kExitBadInput, "cannot find the bundled target file: " + error.message());
    }

    std::size_t dropped = 0;
    const std::error_code error = ReadTargetLines(path, [&dropped](std::size_t lineNumber, ParsedLine parsed) {
        if (parsed.status == LineStatus::kAccepted) {
            Print(stdout, RecordLine(*parsed.target));
        } else if (parsed.status != LineStatus::kIgnored) {
            ++dropped;
            Print(stderr, std::to_string(lineNumber) + ": " + DropReason(parsed) + '\n');
        }
    });
    if (error) return Fail(kCheckCommand, kExitBadInput, CannotRead("the target file", path, error));
    return dropped == 0 ? kExitDone : kExitIncomplete;
}

}  // namespace lumetra::map_tool
