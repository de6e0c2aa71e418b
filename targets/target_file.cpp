#include "targets/target_file.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <ios>
#include <utility>

#include "framework/native_path.h"
#include "targets/regular_file.h"

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

void ReadTargetText(std::string_view text, const TargetLineHandler& onLine) {
    std::size_t number = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        onLine(++number, ParseTargetLine(line));
        start = end + 1;
    }
}

void LoadTargetFile(const std::string& targetFile, TargetList& targets, std::string& region) {
    region = kRegionUsa;
    std::string text;
    if (ReadRegularFile(NativePath(targetFile), text)) return;
    ReadTargetText(text, [&targets](std::size_t, ParsedLine parsed) {
        if (parsed.status == LineStatus::kAccepted) targets.push_back(std::move(parsed.target));
    });
}

void FreeTargetList(TargetList& targets) {
    while (!targets.empty()) targets.pop_front();
}

}  // namespace lumetra
