#include "SchedulingDlg.h"
#include "SkinDraw.h"

#include <Common.h>
#include <commctrl.h>

#include "Dictionary.h"
#include "FunctionDlg.h"
#include "ScheduleRules.h"
#include "ScheduledTask.h"
#include "resource.h"

using nsVendrel::TranslateCode;

namespace {

const COLORREF kBackground = 0xFBE8D8;

// Texts of the interval group by type position: group, first label, unit label.
const wchar_t* const kIntervalTexts[3][3] = {
    {L"IDS_SHCEDULING_TASKGROUP1", L"IDS_SHCEDULING_EVERY", L"IDS_SHCEDULING_DAYS"},
    {L"IDS_SHCEDULING_TASKGROUP2", L"IDS_SHCEDULING_EVERY", L"IDS_SHCEDULING_WEEK"},
    {L"IDS_SHCEDULING_TASKGROUP3", L"IDS_SHCEDULING_DAY", L"IDS_SHCEDULING_OFMONTH"},
};
const wchar_t* const kTypeKeys[3] = {L"IDS_SHCEDULING_DAILY", L"IDS_SHCEDULING_WEEKLY", L"IDS_SHCEDULING_MONTHLY"};

}  // namespace

BEGIN_MESSAGE_MAP(CSchedulingDlg, CDialog)
    ON_CBN_SELCHANGE(IDC_SCHEDULING_TYPE, &CSchedulingDlg::OnTypeChange)
    ON_EN_CHANGE(IDC_SCHEDULING_INTERVAL, &CSchedulingDlg::OnIntervalChange)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

// The time picker's class is registered by CDialog before it makes any dialog from a template.
CSchedulingDlg::CSchedulingDlg(CWnd* pParent)
    : CDialog(IDD_SCHEDULING, pParent),
      m_background(::CreateSolidBrush(kBackground)),
      m_panel(Shell::LoadSkinBitmap(IDB_PAGE_PANEL))
{
}

void CSchedulingDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_SCHEDULING_TYPE, m_type);
    DDX_Control(pDX, IDC_SCHEDULING_TIME, m_time);
    DDX_Text(pDX, IDC_SCHEDULING_INTERVAL, m_nInterval);
}

BOOL CSchedulingDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(TranslateCode(L"IDS_SHCEDULING_SCHEDULING"));
    nsVendrel::TranslateWnd(this, 0, 1);
    m_time.SendMessage(DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"HH':'mm"));  // the seconds are not used
    m_spin.SubclassDlgItem(IDC_SCHEDULING_SPIN, this);
    m_spin.SetBuddy(GetDlgItem(IDC_SCHEDULING_INTERVAL));
    m_spin.SetRange32(1, 365);
    for (int i = 0; i < 3; ++i) m_type.InsertString(i, TranslateCode(kTypeKeys[i]));
    m_type.SetCurSel(0);
    OnTypeChange();
    return TRUE;
}

void CSchedulingDlg::OnTypeChange()
{
    int position = m_type.GetCurSel();
    if (position < 0 || position > 2) return;
    bool weekly = position == 1;
    for (int id = IDC_SCHEDULING_MONDAY; id <= IDC_SCHEDULING_SUNDAY; ++id)
        GetDlgItem(id)->ShowWindow(weekly ? SW_SHOW : SW_HIDE);
    if (weekly) CheckDlgButton(IDC_SCHEDULING_MONDAY, BST_CHECKED);
    SetDlgItemText(IDC_SCHEDULING_INTERVAL_GROUP, TranslateCode(kIntervalTexts[position][0]));
    SetDlgItemText(IDC_SCHEDULING_EVERY, TranslateCode(kIntervalTexts[position][1]));
    SetDlgItemText(IDC_SCHEDULING_UNIT, TranslateCode(kIntervalTexts[position][2]));
    m_spin.SetRange32(1, Schedule::IntervalLimit(position));
    // A daily 365 must not become a monthly "day 365".
    ClampInterval();
    Invalidate();
}

void CSchedulingDlg::ClampInterval()
{
    if (m_bClamping) return;
    m_bClamping = true;
    BOOL isNumber = FALSE;
    int value = int(GetDlgItemInt(IDC_SCHEDULING_INTERVAL, &isNumber, TRUE));
    int clamped = Schedule::ClampInterval(isNumber ? value : 0, m_type.GetCurSel());
    if (clamped != value || !isNumber) SetDlgItemInt(IDC_SCHEDULING_INTERVAL, UINT(clamped), TRUE);
    m_bClamping = false;
}

void CSchedulingDlg::OnIntervalChange()
{
    if (m_type.GetSafeHwnd() && m_type.GetCurSel() >= 0) ClampInterval();
}

WORD CSchedulingDlg::CheckedWeekdays() const
{
    WORD bits = 0;
    for (int i = 0; i < Schedule::kWeekdayBoxCount; ++i)
        if (IsDlgButtonChecked(IDC_SCHEDULING_MONDAY + i) == BST_CHECKED) bits |= Schedule::WeekdayBit(i);
    return bits;
}

void CSchedulingDlg::OnOK()
{
    ClampInterval();
    if (!UpdateData(TRUE)) return;
    int position = m_type.GetCurSel();
    m_nInterval = Schedule::ClampInterval(m_nInterval, position);

    CScheduledTask task;
    m_time.GetTime(&task.m_timeStart);
    task.m_timeStart.wSecond = 0;
    task.m_timeStart.wMilliseconds = 0;
    m_strStartTime.Format(L"%02u:%02u:00", task.m_timeStart.wHour, task.m_timeStart.wMinute);
    std::wstring folder = SBGetAppPathW();
    task.m_strAppName = (folder + L"Quorvel.exe").c_str();
    task.m_strWorkDir = folder.c_str();
    // Started so, the program runs its scan hidden and shows the result in the tray.
    task.m_strParameters = L"--boot";
    task.m_nScheduleType = Schedule::TypeForPosition(position);
    WORD weekdays = task.m_nScheduleType == Schedule::kWeekly ? CheckedWeekdays() : 0;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    m_strTaskName = Schedule::TaskNameForTime(now).c_str();
    m_hrSave = task.Save(m_strTaskName, weekdays, m_nInterval);
    EndDialog(IDOK);
}

BOOL CSchedulingDlg::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, kBackground);
    for (int id : {IDC_SCHEDULING_GROUP, IDC_SCHEDULING_INTERVAL_GROUP}) {
        CWnd* group = GetDlgItem(id);
        if (!group) continue;
        CRect r;
        group->GetWindowRect(&r);
        ScreenToClient(&r);
        DrawPagePanel(pDC->GetSafeHdc(), r, static_cast<HBITMAP>(m_panel.Get()));
    }
    return TRUE;
}

HBRUSH CSchedulingDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor == CTLCOLOR_DLG || !pWnd || pWnd == this) return static_cast<HBRUSH>(m_background.Get());
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}
