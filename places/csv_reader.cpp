#include "places/csv_reader.h"

#include <optional>
#include <string>
#include <utility>

namespace lumetra {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

class CCsvScanner {
public:
    explicit CCsvScanner(std::string_view text) : m_text(text) {
        if (m_text.starts_with(kByteOrderMark)) m_pos = kByteOrderMark.size();
    }

    std::variant<std::vector<CsvRecord>, CsvError> Records() {
        std::vector<CsvRecord> records;
        while (m_pos < m_text.size()) {
            CsvRecord record{m_nLine, {}};
            for (bool more = true; more;) {
                std::string field;
                if (m_text[m_pos] == '"') {
                    if (auto error = QuotedField(field)) return std::move(*error);
                } else {
                    UnquotedField(field);
                }
                record.fields.push_back(std::move(field));
                more = m_pos < m_text.size() && m_text[m_pos] == ',';
                if (more) ++m_pos;
            }
            EndOfLine();
            if (record.fields.size() > 1 || !record.fields.front().empty()) records.push_back(std::move(record));
        }
        return records;
    }

private:
    // At the end of a record: a line end, or the end of the text (a last
    // CR without its LF included).
    bool AtRecordEnd() const {
        const std::string_view rest = m_text.substr(m_pos);
        return rest.empty() || rest == "\r" || rest.front() == '\n' || rest.starts_with("\r\n");
    }

    void EndOfLine() {
        if (m_pos < m_text.size() && m_text[m_pos] == '\r') ++m_pos;
        if (m_pos < m_text.size()) {  // a LF
            ++m_pos;
            ++m_nLine;
        }
    }

    void UnquotedField(std::string& field) {
        while (m_pos < m_text.size() && m_text[m_pos] != ',' && !AtRecordEnd()) field += m_text[m_pos++];
    }

    std::optional<CsvError> QuotedField(std::string& field) {
        const std::size_t startLine = m_nLine;
        ++m_pos;  // the opening quote
        for (;;) {
            if (m_pos >= m_text.size()) {
                return CsvError{startLine, "the text ends inside the quoted field that starts on line " +
                                               std::to_string(startLine)};
            }
            const char c = m_text[m_pos++];
            if (c == '"' && m_pos < m_text.size() && m_text[m_pos] == '"') {
                field += '"';
                ++m_pos;
            } else if (c == '"') {
                break;
            } else {
                if (c == '\n') ++m_nLine;
                field += c;
            }
        }
        if (m_pos < m_text.size() && m_text[m_pos] != ',' && !AtRecordEnd()) {
            return CsvError{m_nLine, "text after the closing quote of a field"};
        }
        return std::nullopt;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    std::size_t m_nLine = 1;
};

}  // namespace

std::variant<std::vector<CsvRecord>, CsvError> ReadCsv(std::string_view text) {
    return CCsvScanner(text).Records();
}

}  // namespace lumetra
