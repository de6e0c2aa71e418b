// lumetra-map check [FILE]: reads a target file exactly as the saver does,
// lists the records it keeps on stdout and says on stderr why each dropped
// line was dropped.
#include <cstdio>
#include <new>
#include <string>
#include <string_view>
#include <system_error>

#include "targets/target_file.h"
#include "tools/lumetra-map/commands.h"

namespace lumetra::map_tool {
namespace {

constexpr int kExitClean = 0;
constexpr int kExitDropped = 1;
constexpr int kExitUnreadable = 2;

// A failed write to stdout is caught once, at the end, by the flush.
void Print(std::FILE* stream, std::string_view text) {
    static_cast<void>(std::fwrite(text.data(), 1, text.size(), stream));
}

int CheckUsage() {
    Print(stderr,
          "usage: lumetra-map check [FILE]\n"
          "  FILE defaults to the bundled target file " LUMETRA_DEFAULT_TARGET_FILE
          "\n"
          "  exit status: 0 every line read, 1 lines dropped, 2 file unreadable or bad arguments\n");
    return kExitUnreadable;
}

std::string RecordLine(const PingTarget& target) {
    return std::to_string(target.m_nType) + '\t' + std::to_string(target.m_dwAddress) + '\t' + target.m_strAddress +
           '\t' + target.m_strHost + '\t' + target.m_strInfo + '\t' + target.m_strNote + '\t' +
           std::to_string(target.m_nX) + '\t' + std::to_string(target.m_nY) + '\t' + target.m_strRegion + '\n';
}

}  // namespace

int RunCheck(Args args) {
    std::string path = LUMETRA_DEFAULT_TARGET_FILE;
    bool havePath = false;
    for (const std::string_view arg : args) {
        if ((arg.size() > 1 && arg.front() == '-') || havePath) return CheckUsage();
        path = arg;
        havePath = true;
    }

    std::size_t dropped = 0;
    std::error_code error;
    try {
        error = ReadTargetFile(path, [&dropped](std::size_t lineNumber, ParsedLine parsed) {
            if (parsed.status == LineStatus::kAccepted) {
                Print(stdout, RecordLine(*parsed.target));
            } else if (parsed.status != LineStatus::kIgnored) {
                ++dropped;
                Print(stderr, std::to_string(lineNumber) + ": " + DropReason(parsed) + '\n');
            }
        });
    } catch (const std::bad_alloc&) {
        Print(stderr, "lumetra-map check: " + path + ": out of memory\n");
        return kExitUnreadable;
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        Print(stderr, "lumetra-map check: the records could not be written\n");
        return kExitUnreadable;
    }
    if (error) {
        Print(stderr, "lumetra-map check: cannot read " + path + ": " + error.message() + '\n');
        return kExitUnreadable;
    }
    return dropped == 0 ? kExitClean : kExitDropped;
}

}  // namespace lumetra::map_tool
