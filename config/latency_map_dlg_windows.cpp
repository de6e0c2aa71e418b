#include "config/latency_map_dlg_windows.h"

#include <commctrl.h>

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <variant>

#include "config/dialog_rules.h"
#include "framework/app_windows.h"
#include "resources/resource_ids.h"
#include "view/latency_map_wnd_windows.h"

namespace lumetra {
namespace {

constexpr int kTargetIconWidth = 16;
constexpr COLORREF kTargetIconMask = RGB(128, 0, 128);
constexpr int kAppendItem = 999999;    // an index past any list's end
constexpr SliderScale kAsIs{1, 0, 0};  // the radio group and the check boxes

LPARAM ItemData(const PingTarget& target) {
    return reinterpret_cast<LPARAM>(&target);
}

// The record of every item data, by identity only: an item may outlive its record.
std::unordered_map<LPARAM, const PingTarget*> RecordsByItemData(const TargetList& targets) {
    std::unordered_map<LPARAM, const PingTarget*> records;
    for (const auto& target : targets) records.emplace(ItemData(*target), target.get());
    return records;
}

// A list that redraws for every item it gets takes milliseconds for each:
// this one redraws once, when the object goes.
class CNoRedraw {
public:
    explicit CNoRedraw(HWND list) : m_hList(list) { ::SendMessageA(m_hList, WM_SETREDRAW, FALSE, 0); }
    ~CNoRedraw() {
        ::SendMessageA(m_hList, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(m_hList, nullptr, TRUE);
    }
    CNoRedraw(const CNoRedraw&) = delete;
    CNoRedraw& operator=(const CNoRedraw&) = delete;

private:
    HWND m_hList;
};

}  // namespace

struct CLatencyMapDlg::Binding {
    enum class Kind { kSlider, kRadio, kCheck, kMapSize };
    Kind kind;
    int id;  // the control; for the radio group, its first button
    int CLatencyMapDlg::*member;
    int SaverSettings::*setting;
    SliderScale scale;  // a slider's units and range

    int Shown(int value) const { return kind == Kind::kMapSize ? MapSizeIndex(value) : SliderPosition(scale, value); }
    int Stored(int shown) const {
        return kind == Kind::kMapSize ? MapScaleOfIndex(shown) : SettingFromPosition(scale, shown);
    }
};

// In the order of the exchange.
const CLatencyMapDlg::Binding CLatencyMapDlg::kBindings[] = {
    {Binding::Kind::kSlider, IDC_MAP_MOTION, &CLatencyMapDlg::m_nMotionPos, &SaverSettings::m_nMapMotion, kMotionScale},
    {Binding::Kind::kSlider, IDC_PING_PERIOD, &CLatencyMapDlg::m_nPeriodSec, &SaverSettings::m_nPingPeriod,
     kPeriodScale},
    {Binding::Kind::kSlider, IDC_PING_TIMEOUT, &CLatencyMapDlg::m_nTimeoutTenths, &SaverSettings::m_nPingTimeout,
     kTimeoutScale},
    {Binding::Kind::kRadio, IDC_STYLE_HOPS, &CLatencyMapDlg::m_nStyleRadio, &SaverSettings::m_nColorStyle, kAsIs},
    {Binding::Kind::kCheck, IDC_LEARN_TARGETS, &CLatencyMapDlg::m_bLearnCheck, &SaverSettings::m_bLearnTargets, kAsIs},
    {Binding::Kind::kCheck, IDC_SMOOTH_COLOR, &CLatencyMapDlg::m_bSmoothCheck, &SaverSettings::m_bSmoothColor, kAsIs},
    {Binding::Kind::kCheck, IDC_SHOW_RANGE, &CLatencyMapDlg::m_bRangeCheck, &SaverSettings::m_bShowRange, kAsIs},
    {Binding::Kind::kCheck, IDC_DYNA_RANGE, &CLatencyMapDlg::m_bDynaCheck, &SaverSettings::m_bDynamicRange, kAsIs},
    {Binding::Kind::kMapSize, IDC_MAP_SIZE, &CLatencyMapDlg::m_nMapSizeIndex, &SaverSettings::m_nMapScale, kAsIs},
    {Binding::Kind::kCheck, IDC_ALL_MONITORS, &CLatencyMapDlg::m_bAllMonitorsCheck, &SaverSettings::m_bAllMonitors,
     kAsIs},
};

const MessageEntry CLatencyMapDlg::kMessageEntries[] = {
    msg::OnCommand<IDC_HOME_PAGE, BN_CLICKED, &CLatencyMapDlg::OnLinkButton>(),
    msg::OnCommand<IDC_STYLE_HOPS, BN_CLICKED, &CLatencyMapDlg::UpdateColorStyle>(),
    msg::OnCommand<IDC_STYLE_SPEED, BN_CLICKED, &CLatencyMapDlg::UpdateColorStyle>(),
    msg::OnTimer<&CLatencyMapDlg::OnTimer>(),
    msg::OnMessage<WM_PAINT, &CLatencyMapDlg::OnDefaultOnly>(),
    msg::OnMessage<WM_QUERYDRAGICON, &CLatencyMapDlg::OnDefaultOnly>(),
    msg::OnDestroy<&CLatencyMapDlg::OnDestroy>(),
    msg::OnMessage<kWorkDoneMessage, &CLatencyMapDlg::OnWorkDone>(),
    msg::OnNotify<IDC_MAP_MOTION, NM_SETFOCUS, &CLatencyMapDlg::UpdateSliderLabels>(),
    msg::OnNotify<IDC_MAP_MOTION, NM_KILLFOCUS, &CLatencyMapDlg::UpdateSliderLabels>(),
    msg::OnNotify<IDC_PING_PERIOD, NM_SETFOCUS, &CLatencyMapDlg::UpdateSliderLabels>(),
    msg::OnNotify<IDC_PING_PERIOD, NM_KILLFOCUS, &CLatencyMapDlg::UpdateSliderLabels>(),
    msg::OnNotify<IDC_PING_TIMEOUT, NM_SETFOCUS, &CLatencyMapDlg::UpdateSliderLabels>(),
    msg::OnNotify<IDC_PING_TIMEOUT, NM_KILLFOCUS, &CLatencyMapDlg::UpdateSliderLabels>(),
};
const MessageMap CLatencyMapDlg::kMessageMap{&CScreenSaverDlg::kMessageMap, kMessageEntries};

CLatencyMapDlg::CLatencyMapDlg(ShellExecuteFn shellExecute) : m_pfnShellExecute(shellExecute) {}

CLatencyMapDlg::~CLatencyMapDlg() = default;

CLatencyMapView* CLatencyMapDlg::SaverView() {
    auto* saver = dynamic_cast<CLatencyMapWnd*>(g_pSaverWnd);
    return saver != nullptr ? &saver->View() : nullptr;
}

void CLatencyMapDlg::MembersFromSettings(const SaverSettings& settings) {
    for (const Binding& binding : kBindings) {
        this->*binding.member = binding.Shown(settings.*binding.setting);
    }
}

void CLatencyMapDlg::SettingsFromMembers(SaverSettings& settings) const {
    for (const Binding& binding : kBindings) {
        settings.*binding.setting = binding.Stored(this->*binding.member);
    }
}

void CLatencyMapDlg::DoDataExchange(CDataExchange* pDX) {
    CLatencyMapView* view = SaverView();
    if (view == nullptr) return;
    if (!pDX->m_bSaveAndValidate) {
        g_pSaverWnd->LoadSettings();  // the file may have changed since
        MembersFromSettings(view->Settings());
    }
    DDX_Control(pDX, IDC_TARGET_LIST, m_listTargets);
    for (const Binding& binding : kBindings) {
        int& value = this->*binding.member;
        switch (binding.kind) {
            case Binding::Kind::kSlider: DDX_TrackbarPos(pDX, binding.id, value); break;
            case Binding::Kind::kRadio: DDX_Radio(pDX, binding.id, value); break;
            case Binding::Kind::kCheck: DDX_Check(pDX, binding.id, value); break;
            case Binding::Kind::kMapSize: DDX_CBIndex(pDX, binding.id, value); break;
        }
    }
    if (pDX->m_bSaveAndValidate) {
        SettingsFromMembers(view->Settings());
        g_pSaverWnd->SaveSettings();
    }
}

BOOL CLatencyMapDlg::OnInitDialog() {
    // The ranges and the list's entries come first, so that the values loaded next find them.
    for (const Binding& binding : kBindings) {
        if (binding.kind != Binding::Kind::kSlider) continue;
        SendDlgItemMessage(binding.id, TBM_SETRANGE, FALSE, MAKELPARAM(binding.scale.min, binding.scale.max));
    }
    for (const MapSizeChoice& choice : kMapSizeChoices) {
        const std::string text(choice.text);
        SendDlgItemMessage(IDC_MAP_SIZE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    CScreenSaverDlg::OnInitDialog();
    m_bmpStyle[0].LoadBitmap(IDB_STYLE_HOPS);
    m_bmpStyle[1].LoadBitmap(IDB_STYLE_SPEED);
    m_strStyleCaptions = GetDlgItemText(IDC_STYLE_NAME);
    // The one region there is; the combo box only shows it.
    m_strListRegion = kRegionUsa;
    SendDlgItemMessage(IDC_REGION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_strListRegion.c_str()));
    SendDlgItemMessage(IDC_REGION, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(m_strListRegion.c_str()));
    FillTargetList();
    UpdateColorStyle();  // stores at once: the file holds the values as the controls took them
    SetTimer(kDialogTimerId, kDialogTimerPeriodMs);
    return TRUE;  // the focus goes to the first tab stop, the motion slider
}

void CLatencyMapDlg::FillTargetList() {
    CLatencyMapView* view = SaverView();
    if (m_listTargets.m_hWnd == nullptr || view == nullptr) return;

    // The list shares its image list: the one it had goes only once it has the new one.
    CControlImageList icons;
    icons.Create(IDB_TARGET_ICONS, kTargetIconWidth, 0, kTargetIconMask);
    m_listTargets.SetImageList(icons.GetSafeHandle(), LVSIL_SMALL);
    m_ilTargetIcons = std::move(icons);
    SetListColumns(IDS_COLUMN_TITLES, IDS_COLUMN_SAMPLES);
    if (view->Targets().empty()) ReadTargetFileLater(*view);
    ListTargets(view->Targets());
}

void CLatencyMapDlg::ListTargets(const TargetList& targets) {
    const CNoRedraw once(m_listTargets.m_hWnd);
    // The items there already: each is updated, or dropped when its record is
    // gone or no longer of the region.
    const std::unordered_map<LPARAM, const PingTarget*> records = RecordsByItemData(targets);
    std::unordered_set<LPARAM> listed;
    for (int i = 0; i < m_listTargets.GetItemCount();) {
        const LPARAM data = m_listTargets.GetItemData(i);
        const auto record = records.find(data);
        if (record != records.end() && IsOfRegion(*record->second, m_strListRegion)) {
            m_listTargets.SetItem(i, 0, record->second->m_strAddress, record->second->m_nType);
            m_listTargets.SetItemText(i, 1, HostColumnText(*record->second));
            listed.insert(data);
            ++i;
        } else if (!m_listTargets.DeleteItem(i)) {
            ++i;  // a list that refuses to delete must not stop the dialog
        }
    }
    // Then every record of the region not listed yet, at the end, in list order.
    for (const auto& target : targets) {
        if (!IsOfRegion(*target, m_strListRegion) || listed.contains(ItemData(*target))) continue;
        const int item =
            m_listTargets.InsertItem(kAppendItem, target->m_strAddress, target->m_nType, ItemData(*target));
        m_listTargets.SetItemText(item, 1, HostColumnText(*target));
    }
}

void CLatencyMapDlg::ReadTargetFileLater(const CLatencyMapView& view) {
    if (m_bReadingTargets) return;
    if (!m_worker) {
        HWND dialog = m_hWnd;
        m_worker.emplace(std::make_unique<CEchoProber>(), [dialog] { PostMessageA(dialog, kWorkDoneMessage, 0, 0); });
    }
    m_bReadingTargets = true;
    m_worker->Post(view.TargetFileJob());
}

LRESULT CLatencyMapDlg::OnWorkDone() {
    while (std::optional<WorkResult> result = m_worker ? m_worker->Take() : std::nullopt) {
        auto* read = std::get_if<TargetsRead>(&*result);
        CLatencyMapView* view = SaverView();
        if (read == nullptr || view == nullptr) continue;
        view->Targets().splice(view->Targets().end(), read->targets);
        m_bReadingTargets = false;
        ListTargets(view->Targets());
    }
    return 0;
}

void CLatencyMapDlg::SetListColumns(UINT titlesId, UINT samplesId) {
    const std::string titles = AfxLoadString(titlesId);
    const std::string samples = AfxLoadString(samplesId);
    m_listTargets.DeleteAllColumns();
    for (int i = 0;; ++i) {
        const std::optional<std::string_view> title = LinePiece(titles, i);
        const std::optional<std::string_view> sample = LinePiece(samples, i);
        if (!title || !sample) break;
        InsertFittedColumn(i, *title, *sample);
    }
}

void CLatencyMapDlg::InsertFittedColumn(int index, std::string_view title, std::string_view sample) {
    int width = 0;
    {
        // The list's context as it comes, with its default font: not the one the dialog gave the list.
        const CClientDC dc(m_listTargets.m_hWnd);
        width =
            FittedColumnWidth(dc.GetTextExtent(title).cx, dc.GetTextExtent(sample).cx, ::GetSystemMetrics(SM_CXBORDER));
    }
    m_listTargets.InsertColumn(index, std::string(title), LVCFMT_LEFT, width);
}

SliderFocus CLatencyMapDlg::FocusedSlider() const {
    HWND focus = ::GetFocus();
    if (focus == nullptr) return SliderFocus::kElsewhere;
    if (focus == GetDlgItem(IDC_MAP_MOTION)) return SliderFocus::kMotion;
    if (focus == GetDlgItem(IDC_PING_PERIOD)) return SliderFocus::kPeriod;
    if (focus == GetDlgItem(IDC_PING_TIMEOUT)) return SliderFocus::kTimeout;
    return SliderFocus::kElsewhere;
}

void CLatencyMapDlg::SetLabel(int id, const std::string& text) {
    // Four times a second: a label set to its own text would flicker for nothing.
    if (GetDlgItemText(id) != text) SetDlgItemText(id, text);
}

void CLatencyMapDlg::UpdateSliderLabels() {
    UpdateData(TRUE);
    const SliderLabels labels = LabelsForFocus(FocusedSlider(), m_nPeriodSec, m_nTimeoutTenths);
    SetLabel(IDC_SLOW_LABEL, labels.left);
    SetLabel(IDC_FAST_LABEL, labels.right);
}

void CLatencyMapDlg::UpdateColorStyle() {
    UpdateData(TRUE);
    SetDlgItemText(IDC_STYLE_NAME, std::string(LinePiece(m_strStyleCaptions, m_nStyleRadio).value_or("")));
    // A style with no picture of its own (neither hops nor speed, so no button
    // is checked either) shows an empty frame rather than a picture that
    // would claim a style.
    HBITMAP picture = nullptr;
    if (m_nStyleRadio >= 0 && static_cast<std::size_t>(m_nStyleRadio) < m_bmpStyle.size()) {
        picture = m_bmpStyle[static_cast<std::size_t>(m_nStyleRadio)].GetSafeHandle();
    }
    // What the picture showed before is the template's or one of ours: not ours to delete here.
    SendDlgItemMessage(IDC_STYLE_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
}

void CLatencyMapDlg::OnTimer(UINT_PTR id) {
    Default();
    if (id == kDialogTimerId) UpdateSliderLabels();
}

LRESULT CLatencyMapDlg::OnDefaultOnly() {
    return Default();
}

void CLatencyMapDlg::OnDestroy() {
    Default();
    // A read that hangs is abandoned, not waited for: the dialog closes at once.
    m_worker.reset();
    m_bReadingTargets = false;
    if (CLatencyMapView* view = SaverView()) view->FreeTargetList();
    // The list goes with the dialog; the next showing attaches its own.
    m_listTargets.Detach();
}

void CLatencyMapDlg::OnLinkButton() {
    const std::string address = GetDlgItemText(IDC_HOME_PAGE);
    // Show command 0: the browser that the shell starts shows itself; the
    // shell is asked for no window of its own.
    m_pfnShellExecute(m_hWnd, nullptr, address.c_str(), nullptr, nullptr, SW_HIDE);
}

}  // namespace lumetra
