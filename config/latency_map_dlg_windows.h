// CLatencyMapDlg: the configuration dialog (template IDD_CONFIG). It keeps no
// settings of its own: it edits the settings of the one CLatencyMapWnd,
// reached through g_pSaverWnd, and lists the targets of that object's view.
// Every exchange from the controls back to the settings also writes the
// settings file: at the start, four times a second, when a slider gains or
// loses the focus, on a colour-style click and on OK. So Cancel closes the
// dialog without undoing what was written.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "config/dialog_rules.h"
#include "framework/bitmap_windows.h"
#include "framework/control_image_list_windows.h"
#include "framework/list_ctrl_windows.h"
#include "host/saver_bases_windows.h"
#include "settings/saver_settings.h"
#include "view/probe_worker.h"

namespace lumetra {

class CLatencyMapView;

// The dialog's timer: the controls are read back this often.
inline constexpr UINT_PTR kDialogTimerId = 1;
inline constexpr UINT kDialogTimerPeriodMs = 250;

// The shell's open call (ShellExecuteA's form), which the link button makes.
using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

class CLatencyMapDlg : public CScreenSaverDlg {
public:
    explicit CLatencyMapDlg(ShellExecuteFn shellExecute = ::ShellExecuteA);
    ~CLatencyMapDlg() override;
    CLatencyMapDlg(const CLatencyMapDlg&) = delete;
    CLatencyMapDlg& operator=(const CLatencyMapDlg&) = delete;

    // Settings to controls (after reading the settings file again), or
    // controls to settings (then the file is written). Nothing without a view.
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    // Lists the region's targets of the view in list order and drops items
    // whose target is gone or no longer of the region, in time linear in
    // their number. When the view has none, the target file is read on a
    // worker thread, so that the dialog answers at once even when the file's
    // path hangs; the list is filled again when its records come.
    void FillTargetList();
    bool IsReadingTargets() const { return m_bReadingTargets; }
    // One column per line of string-table entry `titlesId`, each sized for
    // the same line of entry `samplesId`; the columns there before go.
    void SetListColumns(UINT titlesId, UINT samplesId);
    // A left-aligned column sized for the wider of title and sample in the
    // list's own font.
    void InsertFittedColumn(int index, std::string_view title, std::string_view sample);
    // Stores the controls, then labels the sliders for the focused one.
    void UpdateSliderLabels();
    // Stores the controls, then shows the checked style's name and picture.
    void UpdateColorStyle();

    CListCtrl m_listTargets;            // control 1003, attached by the exchange
    int m_nStyleRadio = 0;              // 0 hops, 1 speed, -1 none checked
    int m_bLearnCheck = 0;              // LearnTargets
    int m_bSmoothCheck = 0;             // SmoothColor
    int m_bRangeCheck = 0;              // ShowRange
    int m_bDynaCheck = 0;               // DynamicRange
    int m_nMotionPos = 0;               // MapMotion, 1 to 3
    int m_nPeriodSec = 0;               // PingPeriod in seconds, 1 to 30
    int m_nTimeoutTenths = 0;           // PingTimeout in tenths of a second, 1 to 50
    int m_nMapSizeIndex = 0;            // MapScale, as an entry of kMapSizeChoices
    int m_bAllMonitorsCheck = 0;        // AllMonitors
    std::array<CBitmap, 2> m_bmpStyle;  // [0] hops, [1] speed
    std::string m_strStyleCaptions;     // the style names, one per line, from the template
    CControlImageList m_ilTargetIcons;  // the list's small icons, owned here
    std::string m_strListRegion;        // the region whose targets are listed

    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    static const MessageMap kMessageMap;

private:
    // A slider, the radio group, a check box or the map-size list, tied to a
    // member and to a setting. A slider shows the setting in its scale's
    // units, the list as one of its entries; the others show it as it is.
    struct Binding;
    static const Binding kBindings[];

    void OnTimer(UINT_PTR id);
    void OnDestroy();
    void OnLinkButton();
    LRESULT OnDefaultOnly();
    LRESULT OnWorkDone();
    void ReadTargetFileLater(const CLatencyMapView& view);
    void ListTargets(const TargetList& targets);

    // The view of the saver object, or null when there is none.
    static CLatencyMapView* SaverView();
    void MembersFromSettings(const SaverSettings& settings);
    void SettingsFromMembers(SaverSettings& settings) const;
    SliderFocus FocusedSlider() const;
    void SetLabel(int id, const std::string& text);

    ShellExecuteFn m_pfnShellExecute;
    std::optional<CProbeWorker> m_worker;  // reads the target file; gone with the dialog
    bool m_bReadingTargets = false;

    static const MessageEntry kMessageEntries[];
};

}  // namespace lumetra
