#include "targets/target_file.h"

#include <cerrno>
#include <fstream>
#include <ios>
#include <utility>

#include "framework/native_path.h"

namespace lumetra {
namespace {

std::error_code LastSystemError(int fallback) {
    return {errno != 0 ? errno : fallback, std::generic_category()};
}

}  // namespace

std::error_code ReadTargetStream(std::istream& in, const TargetLineHandler& onLine) {
    // A failed read then throws instead of looking like the end of the file,
    // and so does anything thrown inside getline (std::bad_alloc), which the
    // stream would otherwise swallow into its state.
    in.exceptions(std::ios::badbit);
    std::string line;
    std::size_t number = 0;
    try {
        while (std::getline(in, line)) {
            // Binary reading and one CR stripped by hand: the same lines on
            // every platform, and no text-mode end-of-file at a Ctrl-Z.
            if (!line.empty() && line.back() == '\r') line.pop_back();
            onLine(++number, ParseTargetLine(line));
        }
    } catch (const std::ios_base::failure&) {
        return LastSystemError(EIO);
    }
    return {};
}

std::error_code ReadTargetFile(const std::string& path, const TargetLineHandler& onLine) {
    errno = 0;
    std::ifstream file(NativePath(path), std::ios::binary);
    if (!file) return LastSystemError(ENOENT);
    return ReadTargetStream(file, onLine);
}

void LoadTargetFile(const std::string& targetFile, TargetList& targets, std::string& region) {
    region = kRegionUsa;
    const std::error_code ignored = ReadTargetFile(targetFile, [&targets](std::size_t, ParsedLine parsed) {
        if (parsed.status == LineStatus::kAccepted) targets.push_back(std::move(parsed.target));
    });
    static_cast<void>(ignored);
}

void FreeTargetList(TargetList& targets) {
    while (!targets.empty()) targets.pop_front();
}

}  // namespace lumetra
