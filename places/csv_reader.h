// A reader of comma-separated text in the common form: one record a line
// (LF or CR LF), fields separated by commas, a field in double quotes may
// hold commas, line ends and quotes written twice ("say ""hi""").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace lumetra {

struct CsvRecord {
    std::size_t nLine;  // 1-based line on which the record starts
    std::vector<std::string> fields;
};

// Why the text cannot be read as a whole, and the line where that shows.
struct CsvError {
    std::size_t nLine;
    std::string message;
};

// The records of `text` in order. Empty lines give no record; a UTF-8 byte
// order mark at the start is passed over. A quote in the middle of an
// unquoted field is an ordinary character. Errors: a quoted field that the
// text ends in, and text after a field's closing quote.
std::variant<std::vector<CsvRecord>, CsvError> ReadCsv(std::string_view text);

}  // namespace lumetra
