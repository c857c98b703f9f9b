#include "page/config_page.h"

#include <cstdio>

#include "plugin/analyzer_instance.h"
#include "plugin/current_instance.h"
#include "resources/resource.h"

namespace {

constexpr long kLowestPoints = 0;
constexpr long kHighestPoints = 99999;
constexpr int kToolTipLength = 255;

// The page's rows, top to bottom; Validate checks the points fields in this order.
struct PageRow {
    Category category;
    int pointsId;
    int removeId;
    UINT rangeMessageId;
};

const PageRow kPageRows[] = {
    {CategoryScript, IDC_POINTS_SCRIPT, IDC_REMOVE_SCRIPT, IDS_RANGE_SCRIPT},
    {CategoryFormatting, IDC_POINTS_FORMATTING, IDC_REMOVE_FORMATTING, IDS_RANGE_FORMATTING},
    {CategoryLinks, IDC_POINTS_LINKS, IDC_REMOVE_LINKS, IDS_RANGE_LINKS},
    {CategoryImagesExt, IDC_POINTS_IMAGES_EXT, IDC_REMOVE_IMAGES_EXT, IDS_RANGE_IMAGES_EXT},
    {CategoryImagesInt, IDC_POINTS_IMAGES_INT, IDC_REMOVE_IMAGES_INT, IDS_RANGE_IMAGES_INT},
    {CategoryExternalRefs, IDC_POINTS_EXTERNAL_REFS, IDC_REMOVE_EXTERNAL_REFS, IDS_RANGE_EXTERNAL_REFS},
    {CategoryWebBugs, IDC_POINTS_WEB_BUGS, IDC_REMOVE_WEB_BUGS, IDS_RANGE_WEB_BUGS},
    {CategoryReadReceipts, IDC_POINTS_READ_RECEIPTS, IDC_REMOVE_READ_RECEIPTS, IDS_RANGE_READ_RECEIPTS},
};

enum ExchangeKind {
    ExchangeCheck,
    ExchangeNumber
};

struct ExchangeStep {
    ExchangeKind kind;
    int controlId;
};

const ExchangeStep kExchangeOrder[] = {
    {ExchangeCheck, IDC_ACTIVE},
    {ExchangeCheck, IDC_REMOVE_FORMATTING},
    {ExchangeCheck, IDC_REMOVE_IMAGES_EXT},
    {ExchangeCheck, IDC_REMOVE_LINKS},
    {ExchangeCheck, IDC_REMOVE_SCRIPT},
    {ExchangeNumber, IDC_POINTS_FORMATTING},
    {ExchangeNumber, IDC_POINTS_IMAGES_EXT},
    {ExchangeNumber, IDC_POINTS_LINKS},
    {ExchangeNumber, IDC_POINTS_SCRIPT},
    {ExchangeNumber, IDC_POINTS_IMAGES_INT},
    {ExchangeCheck, IDC_REMOVE_IMAGES_INT},
    {ExchangeCheck, IDC_REMOVE_EXTERNAL_REFS},
    {ExchangeCheck, IDC_REMOVE_WEB_BUGS},
    {ExchangeNumber, IDC_POINTS_EXTERNAL_REFS},
    {ExchangeNumber, IDC_POINTS_WEB_BUGS},
    {ExchangeNumber, IDC_POINTS_READ_RECEIPTS},
    {ExchangeCheck, IDC_REMOVE_READ_RECEIPTS},
};

int FlagsOf(const int (&remove)[CategoryCount])
{
    int flags = 0;
    for (const PageRow& row : kPageRows) {
        if (remove[row.category] == BST_CHECKED) {
            flags |= kCategories[row.category].flagsBit;
        }
    }
    return flags;
}

// The tool's control id: the notification names either the id or the control's window.
int ToolControlId(const NMHDR& header)
{
    const UINT flags = header.code == TTN_NEEDTEXTW
                           ? reinterpret_cast<const TOOLTIPTEXTW&>(header).uFlags
                           : reinterpret_cast<const TOOLTIPTEXTA&>(header).uFlags;
    if ((flags & TTF_IDISHWND) != 0) {
        return GetDlgCtrlID(reinterpret_cast<HWND>(header.idFrom));
    }
    return static_cast<int>(header.idFrom);
}

void LoadToolTip(int controlId, char (&text)[kToolTipLength + 1])
{
    text[0] = '\0';
    if (controlId == 0) {
        return;
    }
    AnalyzerInstance* instance = CurrentInstance();
    if (instance == nullptr || LoadStringA(instance->GetModule(), controlId, text, sizeof text) == 0) {
        std::snprintf(text, sizeof text, "Control ID = %d", controlId);
    }
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

const AFX_MSGMAP_ENTRY ConfigPage::messageEntries[] = {
    CommandEntry<&ConfigPage::OnEnterCommand>(ID_ENTER_COMMAND),
    CommandEntry<&ConfigPage::OnEscapeCommand>(ID_ESCAPE_COMMAND),
    CommandExEntry<&ConfigPage::OnNextControl>(ID_NEXT_CONTROL),
    CommandExEntry<&ConfigPage::OnPreviousControl>(ID_PREVIOUS_CONTROL),
    NotifyExRangeEntry<&ConfigPage::OnToolTipText>(TTN_NEEDTEXTW, 0, 0xFFFF),
    NotifyExRangeEntry<&ConfigPage::OnToolTipText>(TTN_NEEDTEXTA, 0, 0xFFFF),
};

const AFX_MSGMAP ConfigPage::messageMap = {&CDialog::messageMap, RowsOf(messageEntries)};

ConfigPage::ConfigPage(CWnd* container) : AnalyzerPage(container), active(0), remove{}, points{}
{
}

ConfigPage::~ConfigPage() = default;

const AFX_MSGMAP* ConfigPage::GetMessageMap() const
{
    return &messageMap;
}

void ConfigPage::DoDataExchange(CDataExchange* exchange)
{
    AnalyzerPage::DoDataExchange(exchange);
    for (const ExchangeStep& step : kExchangeOrder) {
        if (step.kind == ExchangeCheck) {
            DDX_Check(exchange, step.controlId, ValueOf(step.controlId));
        } else {
            DDX_Text(exchange, step.controlId, ValueOf(step.controlId));
        }
    }
}

BOOL ConfigPage::OnInitDialog()
{
    AnalyzerPage::OnInitDialog();
    SetKeyboard(LoadAcceleratorsA(ModuleHandle(), MAKEINTRESOURCEA(IDR_CONFIG_PAGE)), IDC_ACTIVE,
                IDC_REMOVE_READ_RECEIPTS);
    if (AnalyzerInstance* instance = CurrentInstance()) {
        instance->LoadSettings();
        active = instance->GetActive();
        for (const PageRow& row : kPageRows) {
            remove[row.category] = (instance->Flags() & kCategories[row.category].flagsBit) != 0 ? 1 : 0;
            points[row.category] = instance->Points(row.category);
        }
    }
    UpdateData(FALSE);
    EnableToolTips(TRUE);
    return TRUE;
}

int ConfigPage::Validate()
{
    AfxResourceModuleSwitch pluginResources(ModuleHandle());
    int failures = 0;
    for (const PageRow& row : kPageRows) {
        failures += CheckRange(row.pointsId, row.rangeMessageId, kLowestPoints, kHighestPoints);
    }
    return failures;
}

int ConfigPage::Save()
{
    UpdateData(TRUE);
    AnalyzerInstance* instance = CurrentInstance();
    if (instance == nullptr) {
        return 0;
    }
    instance->SetActive(active);
    instance->flags.store(FlagsOf(remove), std::memory_order_relaxed);
    for (const PageRow& row : kPageRows) {
        instance->points[row.category].store(points[row.category], std::memory_order_relaxed);
    }
    instance->SaveSettings();
    return 0;
}

void ConfigPage::OnEnterCommand()
{
    OnOK();
}

void ConfigPage::OnEscapeCommand()
{
    OnCancel();
}

BOOL ConfigPage::OnToolTipText(UINT, NMHDR* header, LRESULT* result)
{
    char text[kToolTipLength + 1];
    LoadToolTip(ToolControlId(*header), text);
    CopyToolTip(*header, text);
    *result = 0;
    return TRUE;
}

int& ConfigPage::ValueOf(int controlId)
{
    for (const PageRow& row : kPageRows) {
        if (row.pointsId == controlId) {
            return points[row.category];
        }
        if (row.removeId == controlId) {
            return remove[row.category];
        }
    }
    return active;
}
