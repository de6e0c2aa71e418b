// Fuzzes the target file reader. Besides crashes and sanitizer reports it
// checks that every record is well formed, that the lines are the ones an
// independent splitter finds, and that each line is judged as the C
// library's strtok_r, atoi and sscanf would judge it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "targets/target_file.h"

namespace {

using lumetra::LineStatus;
using lumetra::ParsedLine;
using lumetra::PingTarget;

void Require(bool condition, const char* what) {
    if (!condition) {
        static_cast<void>(std::fprintf(stderr, "fuzz_target_file: broken: %s\n", what));
        std::abort();
    }
}

// The lines of the file: split at LF, one CR before it removed.
std::vector<std::string> SplitLines(std::string_view data) {
    std::vector<std::string> lines;
    while (!data.empty()) {
        const std::size_t end = data.find('\n');
        std::string line(data.substr(0, end));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        data = end == std::string_view::npos ? std::string_view{} : data.substr(end + 1);
    }
    return lines;
}

void RequireWellFormed(const ParsedLine& parsed) {
    Require(parsed.nFields >= 0 && parsed.nFields <= lumetra::kTargetFields, "field count out of range");
    Require((parsed.status == LineStatus::kAccepted) == (parsed.target != nullptr), "record without acceptance");
    if (!parsed.target) return;
    const PingTarget& t = *parsed.target;
    Require(t.m_nType >= 1 && t.m_nType <= 7, "type outside 1..7");
    for (const std::string* field : {&t.m_strAddress, &t.m_strHost, &t.m_strInfo, &t.m_strNote, &t.m_strRegion}) {
        Require(!field->empty(), "empty field");
        Require(field->find('\t') == std::string::npos, "tab inside a field");
        Require(field->find('\n') == std::string::npos, "line feed inside a field");
        Require(field->find('\0') == std::string::npos, "NUL inside a field");
    }
    Require(t.m_nRoundTripMs == -1 && t.m_nSecondResult == -1, "results not reset");
}

// What the C library makes of the line, for comparison.
void RequireSameAsCLibrary(const std::string& line, const ParsedLine& parsed) {
    const std::string text(line.data(), std::strlen(line.data()));  // C text ends at the first NUL
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos || text[first] == ';') {
        Require(parsed.status == LineStatus::kIgnored, "blank or comment line not ignored");
        return;
    }
    std::vector<char> buffer(text.begin() + static_cast<std::ptrdiff_t>(first), text.end());
    buffer.push_back('\0');
    std::vector<const char*> fields;
    char* state = nullptr;
    for (char* token = strtok_r(buffer.data(), "\t", &state); token != nullptr && fields.size() < 7;
         token = strtok_r(nullptr, "\t", &state)) {
        fields.push_back(token);
    }
    int x = 0;
    int y = 0;
    const bool positionRead = fields.size() >= 6 && std::sscanf(fields[5], "%d,%d", &x, &y) == 2;
    Require(parsed.nFields == static_cast<int>(fields.size()), "field count differs from strtok");
    if (fields.size() >= 6 && !positionRead) {
        Require(parsed.status == LineStatus::kBadPosition, "bad position not reported");
        return;
    }
    if (fields.size() < 7) {
        Require(parsed.status == LineStatus::kTooFewFields, "missing fields not reported");
        return;
    }
    Require(parsed.status == LineStatus::kAccepted, "good line not accepted");
    const PingTarget& t = *parsed.target;
    const int type = std::atoi(fields[0]);  // NOLINT(cert-err34-c): the reference for our own reading
    Require(t.m_nType == (type < 1 || type > 7 ? 6 : type), "type differs from atoi");
    int a[4] = {};
    std::uint32_t address = 0;
    if (std::sscanf(fields[1], "%d.%d.%d.%d", &a[0], &a[1], &a[2], &a[3]) == 4) {
        for (int i = 0; i < 4; ++i) address |= (static_cast<std::uint32_t>(a[i]) & 0xFFU) << (8 * i);
    }
    Require(t.m_dwAddress == address, "address differs from sscanf");
    Require(t.m_strAddress == fields[1] && t.m_strHost == fields[2] && t.m_strInfo == fields[3] &&
                t.m_strNote == fields[4] && t.m_strRegion == fields[6],
            "text fields differ from strtok");
    Require(t.m_nX == x && t.m_nY == y, "position differs from sscanf");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream in{std::string(bytes)};
    std::vector<ParsedLine> parsed;
    std::size_t expectedNumber = 0;
    const std::error_code error = lumetra::ReadTargetStream(in, [&](std::size_t number, ParsedLine line) {
        Require(number == ++expectedNumber, "line numbers not consecutive from 1");
        parsed.push_back(std::move(line));
    });
    Require(!error, "reading from memory failed");

    const std::vector<std::string> lines = SplitLines(bytes);
    Require(parsed.size() == lines.size(), "line count differs");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        RequireWellFormed(parsed[i]);
        RequireSameAsCLibrary(lines[i], parsed[i]);
        // The parser again on a buffer of exactly the line's size, so that
        // AddressSanitizer sees any read past its end.
        const auto exact = std::make_unique<char[]>(lines[i].size());
        std::memcpy(exact.get(), lines[i].data(), lines[i].size());
        const ParsedLine again = lumetra::ParseTargetLine(std::string_view(exact.get(), lines[i].size()));
        Require(again.status == parsed[i].status && again.nFields == parsed[i].nFields, "parser not repeatable");
    }
    return 0;
}
