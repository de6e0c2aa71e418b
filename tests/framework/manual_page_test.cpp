#include "framework/manual_page.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

struct EscapeCase {
    const char* text;
    const char* roff;
};

TEST(ManualPage, OptionsKeepTheirMinusWordsTheirHyphensAndNothingReadsAsARequest) {
    const EscapeCase cases[] = {
        {"-window-id ID", "\\-window\\-id ID"},
        {"[--out FILE.bmp]", "[\\-\\-out FILE.bmp]"},
        {"round-trip times", "round-trip times"},
        {"lumetra-map - check", "lumetra-map \\- check"},
        {".start and 'quote", "\\&.start and 'quote"},
        {"a\n.b\n'c", "a\n\\&.b\n\\&'c"},
        {"C:\\x", "C:\\ex"},
    };
    for (const EscapeCase& c : cases) EXPECT_EQ(RoffEscaped(c.text), c.roff) << c.text;
}

TEST(ManualPage, ItemsSetTheOptionInBoldAndItsValueInItalics) {
    CManualPage page("lumetra-x11", 6, "Lumetra 1.0", "Screen savers");
    page.Section("OPTIONS");
    page.Item("-window-id ID", "the window\n.with this id");
    EXPECT_EQ(page.Text(),
              ".TH LUMETRA-X11 6 \"\" \"Lumetra 1.0\" \"Screen savers\"\n"
              ".SH \"OPTIONS\"\n"
              ".TP\n\\fB\\-window\\-id\\fR \\fIID\\fR\nthe window\n.br\n\\&.with this id\n");
}

}  // namespace
}  // namespace lumetra
