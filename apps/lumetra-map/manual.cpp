#include "apps/lumetra-map/manual.h"

#include "framework/manual_page.h"
#include "resources/lumetra_version.h"
#include "settings/settings_store.h"

namespace lumetra::map_tool {
namespace {

// "read a file" as the sentence "Read a file.".
std::string Sentence(std::string_view text) {
    std::string sentence(text);
    if (!sentence.empty() && sentence[0] >= 'a' && sentence[0] <= 'z')
        sentence[0] = static_cast<char>(sentence[0] - 'a' + 'A');
    return sentence + ".";
}

}  // namespace

std::string ToolManual(std::span<const CommandSpec* const> commands) {
    const std::string tool = "lumetra-map";
    CManualPage page(tool, 1, LUMETRA_PRODUCT_TEXT, "User Commands");
    page.Section("NAME");
    page.Paragraph(tool + " - check, probe and render the latency map of the Lumetra screen saver");
    page.Section("SYNOPSIS");
    std::string synopsis;
    for (const CommandSpec* command : commands)
        synopsis += (synopsis.empty() ? "" : "\n") + tool + " " + Synopsis(*command);
    page.Paragraph(synopsis + "\n" + tool + " --version");
    page.Section("DESCRIPTION");
    page.Paragraph(
        "Does on the command line what the Lumetra screen saver does, so that a user can see what the saver would "
        "show and why: read a target file, probe its hosts with ICMP echoes, and render the map of their round-trip "
        "times as a BMP file. Each command shows its options with --help.");
    page.Section("COMMANDS");
    for (const CommandSpec* command : commands) {
        page.SubSection(tool + " " + std::string(command->name));
        page.Paragraph(Sentence(command->summary));
        for (const Option& option : command->options) {
            std::string help(option.help);
            if (option.required) help += " (required)";
            if (!option.fallback.empty()) help += " (default: " + std::string(option.fallback) + ")";
            page.Item(Spelled(option), help);
        }
    }
    page.Section("EXIT STATUS");
    page.Item("0", "done");
    std::string incomplete;
    for (const CommandSpec* command : commands)
        incomplete +=
            (incomplete.empty() ? "" : "\n") + std::string(command->name) + ": " + std::string(command->incomplete);
    page.Item("1", incomplete);
    page.Item("2", std::string(kBadInputMeaning));
    page.Section("FILES");
    page.Item(LUMETRA_BUNDLED_TARGET_FILE,
              "the bundled target file, from the program's own folder (/usr/share/lumetra/lumetra.txt for "
              "/usr/bin/lumetra-map)");
    page.Item("$XDG_CONFIG_HOME/" + std::string(kSettingsFileName),
              "the saver's settings (default: ~/.config/" + std::string(kSettingsFileName) + ")");
    page.Section("SEE ALSO");
    page.Paragraph("lumetra-x11(6), ping(8)");
    return page.Text();
}

}  // namespace lumetra::map_tool
