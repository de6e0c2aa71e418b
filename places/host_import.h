// Target file lines from lists of places: a CSV table of hosts with their
// latitude and longitude, or the JSON list of measurement anchors that the
// RIPE Atlas anchors API gives. Each host is placed on the map as the bundled
// hosts were; a row that cannot become a line is reported and left out.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "places/land_mask.h"

namespace lumetra {

// A row left out: its 1-based line in the input, and why.
struct ImportProblem {
    std::size_t nLine;
    std::string message;
};

// The input as a whole cannot be read (it ends half-way, it has no header...).
struct ImportError {
    std::size_t nLine;
    std::string message;
};

struct ImportResult {
    std::vector<std::string> lines;       // target file lines, without line ends
    std::vector<ImportProblem> problems;  // in input order
    std::size_t nSkipped = 0;             // anchors of other countries, left out without a problem
};

using ImportOutcome = std::variant<ImportResult, ImportError>;

// A CSV table whose header row names the columns `host`, `lat` (or
// `latitude`) and `lon` (or `longitude`), in any order and case, and
// optionally `type` (1 to 7; 1, a server, when empty), `address` (a dotted
// IPv4 address to probe instead of looking the name up), `info` (the
// coordinates as written when empty) and `note` ("*" when empty). Other
// columns are passed over; blanks around a field are not part of it.
ImportOutcome ImportCsvHosts(std::string_view text, const CLandMask& land);

// The anchors API's answer: a list of anchors, or an object whose
// "results" is that list (one page of the paged API). Anchors whose
// "country" is "US" become servers probed by their "fqdn", placed at
// "geometry": {"coordinates": [longitude, latitude]}, with their "company"
// as info and their "city" as note; the line of a problem is that of the
// anchor's opening brace.
ImportOutcome ImportAnchorsJson(std::string_view text, const CLandMask& land);

}  // namespace lumetra
