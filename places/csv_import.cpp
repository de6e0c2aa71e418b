// ImportCsvHosts: the rows of a CSV table, by the names in its header.
#include <array>
#include <optional>

#include "places/csv_reader.h"
#include "places/host_import.h"
#include "places/target_collector.h"

namespace lumetra {
namespace {

enum Column { kHost, kLatitude, kLongitude, kType, kAddress, kInfo, kNote, kColumns };

struct ColumnName {
    std::string_view name;
    Column column;
};
constexpr std::array<ColumnName, 9> kColumnNames{{
    {"host", kHost},
    {"lat", kLatitude},
    {"latitude", kLatitude},
    {"lon", kLongitude},
    {"longitude", kLongitude},
    {"type", kType},
    {"address", kAddress},
    {"info", kInfo},
    {"note", kNote},
}};

// Where each known column stands in a record.
using ColumnIndex = std::array<std::optional<std::size_t>, kColumns>;

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lowered;
}

std::variant<ColumnIndex, std::string> ReadHeader(const CsvRecord& header) {
    ColumnIndex index;
    for (std::size_t i = 0; i < header.fields.size(); ++i) {
        const std::string name = Lowered(Trimmed(header.fields[i]));
        for (const ColumnName& known : kColumnNames) {
            if (known.name != name) continue;
            if (index[known.column]) return "the header names the column " + name + " a second time";
            index[known.column] = i;
        }
    }
    if (!index[kHost]) return std::string("the header names no host column");
    if (!index[kLatitude]) return std::string("the header names no lat or latitude column");
    if (!index[kLongitude]) return std::string("the header names no lon or longitude column");
    return index;
}

class CCsvRow {
public:
    CCsvRow(const CsvRecord& record, const ColumnIndex& index) : m_record(record), m_index(index) {}

    std::string_view Field(Column column) const {
        return m_index[column] ? Trimmed(m_record.fields[*m_index[column]]) : std::string_view{};
    }

    // The fields of the row, or why there are none.
    std::variant<TargetFields, std::string> Fields() const {
        TargetFields fields;
        fields.host = Field(kHost);
        if (fields.host.empty()) return std::string("no host");
        const std::string_view type = Field(kType);
        if (!type.empty()) {
            if (type.size() != 1 || type[0] < '1' || type[0] > '7')
                return "the type " + Quoted(type) + " is not 1 to 7";
            fields.nType = type[0] - '0';
        }
        if (const std::string_view address = Field(kAddress); !address.empty()) {
            fields.address = address;
        } else if (IsDottedAddress(fields.host)) {
            fields.address = fields.host;
        }
        fields.info = Field(kInfo);
        if (fields.info.empty()) fields.info = std::string(Field(kLatitude)) + "," + std::string(Field(kLongitude));
        if (const std::string_view note = Field(kNote); !note.empty()) fields.note = note;
        return fields;
    }

    // Latitude and longitude, or why they cannot be read.
    std::variant<std::array<double, 2>, std::string> Degrees() const {
        if (Field(kLatitude).empty() || Field(kLongitude).empty()) return std::string("no coordinates");
        const std::optional<double> latitude = ReadDegrees(Field(kLatitude));
        if (!latitude) return "the latitude " + Quoted(Field(kLatitude)) + " is not a number";
        const std::optional<double> longitude = ReadDegrees(Field(kLongitude));
        if (!longitude) return "the longitude " + Quoted(Field(kLongitude)) + " is not a number";
        return std::array<double, 2>{*latitude, *longitude};
    }

private:
    const CsvRecord& m_record;
    const ColumnIndex& m_index;
};

bool IsBlank(const CsvRecord& record) {
    for (const std::string& field : record.fields) {
        if (!Trimmed(field).empty()) return false;
    }
    return true;
}

}  // namespace

ImportOutcome ImportCsvHosts(std::string_view text, const CLandMask& land) {
    std::variant<std::vector<CsvRecord>, CsvError> read = ReadCsv(text);
    if (const auto* error = std::get_if<CsvError>(&read)) return ImportError{error->nLine, error->message};
    const std::vector<CsvRecord>& records = std::get<std::vector<CsvRecord>>(read);
    if (records.empty()) return ImportError{1, "no header row"};
    const std::variant<ColumnIndex, std::string> header = ReadHeader(records.front());
    if (const auto* error = std::get_if<std::string>(&header)) return ImportError{records.front().nLine, *error};

    CTargetCollector collector(land);
    for (std::size_t r = 1; r < records.size(); ++r) {
        const CsvRecord& record = records[r];
        if (IsBlank(record)) continue;
        if (record.fields.size() != records.front().fields.size()) {
            collector.AddProblem(record.nLine, {},
                                 std::to_string(record.fields.size()) + " fields where the header has " +
                                     std::to_string(records.front().fields.size()));
            continue;
        }
        const CCsvRow row(record, std::get<ColumnIndex>(header));
        const std::variant<TargetFields, std::string> fields = row.Fields();
        const std::variant<std::array<double, 2>, std::string> degrees = row.Degrees();
        if (const auto* fieldsProblem = std::get_if<std::string>(&fields)) {
            collector.AddProblem(record.nLine, {}, *fieldsProblem);
        } else if (const auto* degreesProblem = std::get_if<std::string>(&degrees)) {
            collector.AddProblem(record.nLine, {}, *degreesProblem);
        } else {
            const auto& [latitude, longitude] = std::get<std::array<double, 2>>(degrees);
            collector.Add(record.nLine, {}, std::get<TargetFields>(fields), latitude, longitude);
        }
    }
    return collector.Take();
}

}  // namespace lumetra
