// Arbitrary bytes as a CSV table of hosts and as an anchors list. Besides
// crashes and sanitizer reports it checks that every line made is one the
// saver reads back whole (seven fields, a valid host, a land pixel), that
// problems come in input order, that the CSV records survive being written
// out again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "places/csv_reader.h"
#include "places/host_import.h"
#include "places/target_fields.h"
#include "targets/target_line.h"

namespace {

using namespace lumetra;

void Require(bool condition, const char* what) {
    if (!condition) {
        static_cast<void>(std::fprintf(stderr, "fuzz_places_import: broken: %s\n", what));
        std::abort();
    }
}

void RequireReadable(const ImportOutcome& outcome, const CLandMask& land) {
    const auto* result = std::get_if<ImportResult>(&outcome);
    if (result == nullptr) return;
    for (const std::string& line : result->lines) {
        const ParsedLine parsed = ParseTargetLine(line);
        Require(parsed.status == LineStatus::kAccepted && parsed.nFields == kTargetFields, "line not read whole");
        const PingTarget& t = *parsed.target;
        Require(FormatTargetLine({t.m_nType, t.m_strAddress, t.m_strHost, t.m_strInfo, t.m_strNote},
                                 {t.m_nX, t.m_nY, 0}) == line,
                "line not read back as written");
        Require(FieldsProblem({t.m_nType, t.m_strAddress, t.m_strHost, t.m_strInfo, t.m_strNote}).empty(),
                "line of fields that are refused");
        Require(land.IsLand(t.m_nX, t.m_nY), "position off the land");
    }
    for (std::size_t i = 1; i < result->problems.size(); ++i) {
        Require(result->problems[i - 1].nLine <= result->problems[i].nLine, "problems out of order");
    }
}

// Every record written out with every field quoted reads back the same.
void RequireCsvRoundTrip(std::string_view text) {
    const auto records = ReadCsv(text);
    if (std::holds_alternative<CsvError>(records)) return;
    std::string written;
    for (const CsvRecord& record : std::get<std::vector<CsvRecord>>(records)) {
        for (std::size_t i = 0; i < record.fields.size(); ++i) {
            written += i > 0 ? ",\"" : "\"";
            for (char c : record.fields[i]) written += c == '"' ? std::string("\"\"") : std::string(1, c);
            written += '"';
        }
        written += '\n';
    }
    const auto again = ReadCsv(written);
    Require(std::holds_alternative<std::vector<CsvRecord>>(again), "written records unreadable");
    const auto& first = std::get<std::vector<CsvRecord>>(records);
    const auto& second = std::get<std::vector<CsvRecord>>(again);
    Require(first.size() == second.size(), "record count changed");
    for (std::size_t i = 0; i < first.size(); ++i) Require(first[i].fields == second[i].fields, "fields changed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CLandMask& land = CLandMask::Outline();
    const std::string text(reinterpret_cast<const char*>(data), size);

    RequireReadable(ImportCsvHosts(text, land), land);
    RequireCsvRoundTrip(text);

    RequireReadable(ImportAnchorsJson(text, land), land);
    return 0;
}
