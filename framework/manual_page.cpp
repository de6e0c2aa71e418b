#include "framework/manual_page.h"

#include <cctype>

namespace lumetra {
namespace {

// The title as man pages write it: upper case.
std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

std::string Quoted(std::string_view text) {
    return '"' + RoffEscaped(text) + '"';
}

}  // namespace

std::string RoffEscaped(std::string_view text) {
    std::string out;
    bool option = false;  // in a word that starts with '-', as options do
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool wordStart = i == 0 || std::isspace(static_cast<unsigned char>(text[i - 1])) != 0 ||
                               std::string_view("[(|").find(text[i - 1]) != std::string_view::npos;
        if (std::isspace(static_cast<unsigned char>(c)) != 0) option = false;
        if (wordStart && c == '-') option = true;
        if ((i == 0 || text[i - 1] == '\n') && (c == '.' || c == '\'')) out += "\\&";
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-' && option) {
            // An option as typed: the ASCII minus, not a typographic hyphen.
            out += "\\-";
        } else {
            out += c;
        }
    }
    return out;
}

CManualPage::CManualPage(std::string_view name, int section, std::string_view source, std::string_view manual) {
    m_text = ".TH " + Upper(RoffEscaped(name)) + " " + std::to_string(section) + " \"\" " + Quoted(source) + " " +
             Quoted(manual) + "\n";
}

void CManualPage::Section(std::string_view heading) {
    m_text += ".SH " + Quoted(heading) + "\n";
}

void CManualPage::SubSection(std::string_view heading) {
    m_text += ".SS " + Quoted(heading) + "\n";
}

void CManualPage::Paragraph(std::string_view text) {
    m_text += ".PP\n";
    Lines(text);
}

void CManualPage::Item(std::string_view tag, std::string_view text) {
    const std::size_t space = tag.find(' ');
    m_text += ".TP\n\\fB" + RoffEscaped(tag.substr(0, space)) + "\\fR";
    if (space != std::string_view::npos) m_text += " \\fI" + RoffEscaped(tag.substr(space + 1)) + "\\fR";
    m_text += "\n";
    Lines(text);
}

void CManualPage::Lines(std::string_view text) {
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
        if (start > 0) m_text += ".br\n";
        m_text += RoffEscaped(line) + "\n";
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
}

}  // namespace lumetra
