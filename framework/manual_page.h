// A manual page in the roff of man(7), built section by section from the
// programs' own option tables, so that the page and --help never disagree.
// Text goes in as it stands: the builder escapes what roff would read as a
// request or an escape.
#pragma once

#include <string>
#include <string_view>

namespace lumetra {

class CManualPage {
public:
    // .TH NAME SECTION "" SOURCE MANUAL. No date: two builds of one version
    // give the same page.
    CManualPage(std::string_view name, int section, std::string_view source, std::string_view manual);

    // .SH HEADING, or .SS HEADING for a part of a section.
    void Section(std::string_view heading);
    void SubSection(std::string_view heading);
    // A paragraph; a newline in `text` breaks the line there.
    void Paragraph(std::string_view text);
    // A tagged paragraph: `tag` is an option as the user types it, its first
    // word in bold and the rest (the value's name) in italics.
    void Item(std::string_view tag, std::string_view text);

    const std::string& Text() const { return m_text; }

private:
    void Lines(std::string_view text);

    std::string m_text;
};

// Text as roff shows it literally: backslashes escaped, a '-' that starts a
// word as the minus of options, a line that starts with '.' or '\'' guarded.
std::string RoffEscaped(std::string_view text);

}  // namespace lumetra
