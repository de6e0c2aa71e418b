// Resource ids of the saver: its icon, its bitmaps, the configuration
// dialog's template with its controls, and the string table. Plain #defines,
// since the resource compiler reads this file too (resources/lumetra.rc), and
// so does the build, which embeds each bitmap file under its id
// (resources/CMakeLists.txt names them by these names).
#pragma once

#define IDI_SAVER 100         // the saver's icon
#define IDB_TARGET_ICONS 129  // 8 icons of 16 x 16, one per target type
#define IDB_MAP_OUTLINE 131   // the map: white land, black borders and sea
#define IDB_STYLE_HOPS 132    // the dialog's picture of "Color by Hops"
#define IDB_STYLE_SPEED 133   // the dialog's picture of "Color by Speed"
#define IDB_KERNEL 134        // the field's radial falloff
#define IDB_COLOR_RAMP 135    // the field's 256 colours, red to violet
#define IDD_CONFIG 2003       // the configuration dialog

// The configuration dialog's controls and strings.
#define IDC_HOME_PAGE 1000      // push button: the web address, opened by the shell
#define IDC_MAP_MOTION 1001     // trackbar: MapMotion
#define IDC_PING_PERIOD 1002    // trackbar: PingPeriod in seconds
#define IDC_TARGET_LIST 1003    // list view: the region's targets
#define IDC_PING_TIMEOUT 1007   // trackbar: PingTimeout in tenths of a second
#define IDC_STYLE_HOPS 1009     // radio button, first of the colour-style group
#define IDC_STYLE_SPEED 1010    // radio button
#define IDC_STYLE_PICTURE 1011  // static picture of the colour style
#define IDC_STYLE_NAME 1012     // static: the colour style's name
#define IDC_LEARN_TARGETS 1013  // check box, hidden and disabled
#define IDC_SLOW_LABEL 1014     // static over the left end of the sliders
#define IDC_FAST_LABEL 1015     // static over the right end of the sliders
#define IDC_SMOOTH_COLOR 1016   // check box
#define IDC_SHOW_RANGE 1017     // check box
#define IDC_DYNA_RANGE 1018     // check box
#define IDC_REGION 1019         // combo box: the region whose targets are listed
#define IDC_MAP_SIZE 1020       // drop-down list: MapScale
#define IDC_ALL_MONITORS 1021   // check box: AllMonitors

#define IDS_COLUMN_TITLES 4   // the list's column titles, one per line
#define IDS_COLUMN_SAMPLES 5  // a sample text per column that sizes it
