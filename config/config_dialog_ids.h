// The configuration dialog's control and string ids, shared by the resource
// script (resources/lumetra.rc) and the dialog's code. Plain #defines: the
// resource compiler reads this file too.
#pragma once

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

#define IDS_COLUMN_TITLES 4   // the list's column titles, one per line
#define IDS_COLUMN_SAMPLES 5  // a sample text per column that sizes it
