#include "remote/remote_page.h"

#include <cstdio>

#include "remote/module_state.h"
#include "remote/remote_instance.h"
#include "remote/remote_resource.h"

namespace {

constexpr long kLowestPoints = 0;
constexpr long kHighestPoints = 99999;
constexpr int kToolTipLength = 255;

// The page's rows, top to bottom, in category order.
struct PageRow {
    RemoteCategory category;
    int pointsId;
    int removeId;
    UINT rangeMessageId;
};

const PageRow kPageRows[] = {
    {RemoteLoads, IDC_POINTS_REMOTE_LOADS, IDC_REMOVE_REMOTE_LOADS, IDS_RANGE_REMOTE_LOADS},
    {TrackingPixels, IDC_POINTS_TRACKING_PIXELS, IDC_REMOVE_TRACKING_PIXELS, IDS_RANGE_TRACKING_PIXELS},
    {KnownTrackers, IDC_POINTS_KNOWN_TRACKERS, IDC_REMOVE_KNOWN_TRACKERS, IDS_RANGE_KNOWN_TRACKERS},
    {LinkTracking, IDC_POINTS_LINK_TRACKING, IDC_REMOVE_LINK_TRACKING, IDS_RANGE_LINK_TRACKING},
};

// The tool's control id: the notification names either the id or the control's window.
int ToolControlId(const NMHDR& header)
{
    const UINT flags = header.code == TTN_NEEDTEXTW ? reinterpret_cast<const TOOLTIPTEXTW&>(header).uFlags
                                                    : reinterpret_cast<const TOOLTIPTEXTA&>(header).uFlags;
    if ((flags & TTF_IDISHWND) != 0) {
        return GetDlgCtrlID(reinterpret_cast<HWND>(header.idFrom));
    }
    return static_cast<int>(header.idFrom);
}

void CopyToolTip(NMHDR& header, const char* text)
{
    if (header.code == TTN_NEEDTEXTW) {
        WCHAR* target = reinterpret_cast<TOOLTIPTEXTW&>(header).szText;
        constexpr int room = sizeof(TOOLTIPTEXTW::szText) / sizeof(WCHAR) - 1;
        int length = 0;
        for (; length < room && text[length] != '\0'; ++length) {
            target[length] = static_cast<unsigned char>(text[length]);
        }
        target[length] = L'\0';
    } else {
        lstrcpynA(reinterpret_cast<TOOLTIPTEXTA&>(header).szText, text, sizeof(TOOLTIPTEXTA::szText));
    }
}

}  // namespace

const AFX_MSGMAP_ENTRY RemotePage::messageEntries[] = {
    CommandEntry<&RemotePage::OnEnterCommand>(ID_REMOTE_ENTER),
    CommandEntry<&RemotePage::OnEscapeCommand>(ID_REMOTE_ESCAPE),
    CommandExEntry<&RemotePage::OnNextControl>(ID_REMOTE_NEXT_CONTROL),
    CommandExEntry<&RemotePage::OnPreviousControl>(ID_REMOTE_PREVIOUS_CONTROL),
    NotifyExRangeEntry<&RemotePage::OnToolTipText>(TTN_NEEDTEXTW, 0, 0xFFFF),
    NotifyExRangeEntry<&RemotePage::OnToolTipText>(TTN_NEEDTEXTA, 0, 0xFFFF),
};

const AFX_MSGMAP RemotePage::messageMap = {&CDialog::messageMap, RowsOf(messageEntries)};

RemotePage::RemotePage(CWnd* container, RemoteInstance* instance)
    : AnalyzerPage(container), instance(instance), active(0), remove{}, points{}
{
}

RemotePage::~RemotePage() = default;

const AFX_MSGMAP* RemotePage::GetMessageMap() const
{
    return &messageMap;
}

void RemotePage::DoDataExchange(CDataExchange* exchange)
{
    AnalyzerPage::DoDataExchange(exchange);
    DDX_Check(exchange, IDC_REMOTE_ACTIVE, active);
    for (const PageRow& row : kPageRows) {
        DDX_Text(exchange, row.pointsId, points[row.category]);
        DDX_Check(exchange, row.removeId, remove[row.category]);
    }
}

BOOL RemotePage::OnInitDialog()
{
    AnalyzerPage::OnInitDialog();
    SetKeyboard(LoadAcceleratorsA(RemoteModuleHandle(), MAKEINTRESOURCEA(IDR_REMOTE_PAGE)), IDC_REMOTE_ACTIVE,
                IDC_REMOVE_LINK_TRACKING);
    instance->LoadSettings();
    active = instance->GetActive();
    for (const PageRow& row : kPageRows) {
        remove[row.category] = instance->Removes(row.category) ? BST_CHECKED : BST_UNCHECKED;
        points[row.category] = instance->Points(row.category);
    }
    UpdateData(FALSE);
    EnableToolTips(TRUE);
    return TRUE;
}

int RemotePage::Validate()
{
    AfxResourceModuleSwitch pluginResources(RemoteModuleHandle());
    int failures = 0;
    for (const PageRow& row : kPageRows) {
        failures += CheckRange(row.pointsId, row.rangeMessageId, kLowestPoints, kHighestPoints);
    }
    return failures;
}

int RemotePage::Save()
{
    UpdateData(TRUE);
    instance->SetActive(active);
    int flags = 0;
    for (const PageRow& row : kPageRows) {
        if (remove[row.category] == BST_CHECKED) {
            flags |= kRemoteCategories[row.category].flagsBit;
        }
        instance->SetPoints(row.category, points[row.category]);
    }
    instance->SetFlags(flags);
    instance->SaveSettings();
    return 0;
}

void RemotePage::OnEnterCommand()
{
    OnOK();
}

void RemotePage::OnEscapeCommand()
{
    OnCancel();
}

BOOL RemotePage::OnToolTipText(UINT, NMHDR* header, LRESULT* result)
{
    char text[kToolTipLength + 1] = "";
    const int controlId = ToolControlId(*header);
    if (controlId != 0 && LoadStringA(RemoteModuleHandle(), controlId, text, sizeof text) == 0) {
        std::snprintf(text, sizeof text, "Control ID = %d", controlId);
    }
    CopyToolTip(*header, text);
    *result = 0;
    return TRUE;
}
