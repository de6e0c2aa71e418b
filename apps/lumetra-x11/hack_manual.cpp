#include "apps/lumetra-x11/hack_manual.h"

#include "apps/lumetra-x11/hack_options.h"
#include "framework/manual_page.h"
#include "resources/lumetra_version.h"
#include "settings/settings_store.h"
#include "view/saver_files.h"

namespace lumetra::x11 {

std::string HackManual() {
    const std::string program = kProgramName;
    const std::string settings = kSettingsFileName;
    CManualPage page(program, 6, LUMETRA_PRODUCT_TEXT, "Screen savers");
    page.Section("NAME");
    page.Paragraph(program + " - Lumetra's latency map as an X11 screen-saver hack");
    page.Section("SYNOPSIS");
    page.Paragraph(program + " " + kHackSynopsis + "\n" + program + " -version");
    page.Section("DESCRIPTION");
    page.Paragraph(kHackSummary);
    page.Paragraph(
        "It reads a list of Internet hosts placed on a map of the contiguous United States, probes one host at a "
        "time with a single ICMP echo, and paints the map as a colour field of the round-trip times: red where "
        "hosts answer fast, through green, to violet where they answer slowly. It sends nothing but these echoes "
        "and the look-ups of the host names.");
    page.Paragraph("xscreensaver runs it in a window of its own, which it names in $" +
                   std::string(kXScreenSaverWindowVariable) +
                   ", and ends it with SIGTERM. Choose it as \"Lumetra\" in xscreensaver-settings(1). " + HackEnding());
    page.Paragraph(
        "Probing needs ICMP sockets for the user: the kernel's net.ipv4.ping_group_range must include one of the "
        "user's groups. Without them the map is drawn all the same, without results; the program says so once "
        "on its standard error and in a line at the bottom of its window, naming the README's section "
        "\"Allowing ICMP\".");
    page.Section("OPTIONS");
    for (const HelpGroup& group : HackHelpGroups()) {
        std::string title(group.title);
        title[0] = static_cast<char>(title[0] - 'a' + 'A');
        page.SubSection(title);
        for (const HelpEntry& entry : group.entries) page.Item(entry.spelled, entry.help);
    }
    page.Section("ENVIRONMENT");
    page.Item("DISPLAY", "the X display, unless -display names another");
    page.Item(kXScreenSaverWindowVariable,
              "the window that xscreensaver made for the hack; drawn in unless -window, -fullscreen or "
              "-window-id chose another place");
    page.Item("XDG_CONFIG_HOME", "the folder of " + settings + " (default: ~/.config)");
    page.Item("XDG_STATE_HOME", "the parent of a saver's snapshot folder, lumetra (default: ~/.local/state)");
    page.Section("FILES");
    page.Item("$XDG_CONFIG_HOME/" + settings,
              "the settings, shared with the Windows saver; its section [Lumetra] holds the keys named above, and "
              "SaveFinalBMP=0 switches the snapshot off");
    page.Item("../../share/lumetra/lumetra.txt",
              "the bundled host list, from the program's own folder (/usr/share/lumetra/lumetra.txt for "
              "/usr/libexec/xscreensaver/" +
                  program + "), read when TargetFile names no file that is there");
    page.Item("$XDG_STATE_HOME/lumetra/" + std::string(kSnapshotFileName), HackSnapshotPlace());
    page.Section("EXIT STATUS");
    for (const ExitMeaning& status : kHackExitStatus)
        page.Item(std::to_string(status.code), std::string(status.meaning));
    page.Section("SEE ALSO");
    page.Paragraph("xscreensaver(1), xscreensaver-settings(1), lumetra-map(1)");
    return page.Text();
}

}  // namespace lumetra::x11
