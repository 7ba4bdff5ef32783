#include "OptionTab1Dlg.h"

#include <Common.h>

#include "Dictionary.h"
#include "ImageButton.h"
#include "LanguageSwitch.h"
#include "ButtonRow.h"
#include "OptionIds.h"
#include "ScheduleRules.h"
#include "ScheduledTask.h"
#include "SchedulingDlg.h"

using nsVendrel::TranslateCode;

namespace {

const UINT kLanguageChanged = Shell::LanguageChangedMessage();

const struct {
    const wchar_t* key;
    int width;
} kColumns[] = {{L"IDS_OPTION_TAB2_SCHEDULELIST1", 170},
                {L"IDS_OPTION_TAB2_SCHEDULELIST2", 90},
                {L"IDS_OPTION_TAB2_SCHEDULELIST3", 90},
                {L"IDS_OPTION_TAB2_SCHEDULELIST4", 130}};

std::wstring Application() { return SBGetAppPathW() + L"Quorvel.exe"; }

}  // namespace

IMPLEMENT_DYNAMIC(COptionTab1Dlg, CFunctionDlg)

BEGIN_MESSAGE_MAP(COptionTab1Dlg, CFunctionDlg)
    ON_BN_CLICKED(IDC_OPTION_SCHEDULE_ADD, &COptionTab1Dlg::OnAdd)
    ON_BN_CLICKED(IDC_OPTION_SCHEDULE_REMOVE, &COptionTab1Dlg::OnRemove)
    ON_BN_CLICKED(IDC_OPTION_SCHEDULE_CLEAR, &COptionTab1Dlg::OnClear)
    ON_REGISTERED_MESSAGE(kLanguageChanged, &COptionTab1Dlg::OnLanguageChanged)
END_MESSAGE_MAP()

COptionTab1Dlg::COptionTab1Dlg() { CreateSkinFont(m_font, 13, FALSE); }

void COptionTab1Dlg::OnInitPage()
{
    m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                  CRect(16, 12, 500, 250), this, IDC_OPTION_SCHEDULE_LIST);
    m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    m_list.SetFont(&m_font);
    for (int i = 0; i < int(sizeof(kColumns) / sizeof(kColumns[0])); ++i)
        m_list.InsertColumn(i, TranslateCode(kColumns[i].key), LVCFMT_LEFT, kColumns[i].width);

    // Right to left, 70 pixels apart.
    struct {
        CButton* button;
        const wchar_t* key;
        int id;
        int left;
    } buttons[] = {{&m_add, L"IDS_OPTION_TAB2_BTN_ADD", IDC_OPTION_SCHEDULE_ADD, 450},
                   {&m_remove, L"IDS_OPTION_TAB2_BTN_REMOVE", IDC_OPTION_SCHEDULE_REMOVE, 380},
                   {&m_clear, L"IDS_OPTION_TAB2_BTN_CLEAR", IDC_OPTION_SCHEDULE_CLEAR, 310}};
    for (auto& b : buttons) {
        b.button->Create(TranslateCode(b.key), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                         CRect(b.left, 260, b.left + 60, 285), this, UINT(b.id));
        b.button->SetFont(&m_font);
    }
    m_status.Create(L"", WS_CHILD | SS_LEFT, CRect(16, 262, 240, 284), this, IDC_OPTION_SCHEDULE_STATUS);
    m_status.SetFont(&m_font);
    LayOutButtons();
    FillList();
}

void COptionTab1Dlg::LayOutButtons()
{
    // Right to left, 70 pixels apart: (450, 260)-(510, 285) and on; a longer caption widens its button leftwards.
    Shell::LayOutButtonRow({m_add.GetSafeHwnd(), m_remove.GetSafeHwnd(), m_clear.GetSafeHwnd()}, 510, 260, 285, 60, 70);
}

void COptionTab1Dlg::OnShowPage()
{
    ShowWindow(SW_SHOW);
    FillList();
}

void COptionTab1Dlg::FillList()
{
    m_list.DeleteAllItems();
    std::vector<Schedule::ScheduledTaskRow> rows;
    HRESULT hr = Schedule::ListScheduledTasks(Application(), rows);
    m_status.SetWindowText(FAILED(hr) ? TranslateCode(L"IDS_OPTION_TAB2_SCHEDULER_UNAVAILABLE") : CString());
    m_status.ShowWindow(FAILED(hr) ? SW_SHOW : SW_HIDE);
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    for (const Schedule::ScheduledTaskRow& row : rows) {
        int item = m_list.InsertItem(m_list.GetItemCount(), row.fileName.c_str());
        const wchar_t* typeKey = Schedule::TriggerTypeKey(row.trigger.TriggerType);
        m_list.SetItemText(item, 1, typeKey ? TranslateCode(typeKey) : CString());
        m_list.SetItemText(item, 2, Schedule::StartTimeText(row.trigger).c_str());
        SYSTEMTIME next;
        bool runs = !row.disabled && Schedule::NextRunTime(row.trigger, now, next);
        m_list.SetItemText(item, 3, runs ? Schedule::NextRunText(next).c_str() : L"");
    }
}

void COptionTab1Dlg::OnAdd()
{
    CSchedulingDlg dialog(this);
    if (dialog.DoModal() != IDOK) return;
    if (FAILED(dialog.GetSaveResult())) AfxMessageBox(TranslateCode(L"IDS_OPTION_TAB2_ADD_FAILED"));
    FillList();
}

void COptionTab1Dlg::OnRemove()
{
    int item = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (item < 0) return;
    CString name = m_list.GetItemText(item, 0);
    if (FAILED(Schedule::DeleteScheduledTask(name.GetString()))) {
        AfxMessageBox(TranslateCode(L"IDS_OPTION_TAB2_REMOVE_FAILED"));
        return;
    }
    m_list.DeleteItem(item);
}

void COptionTab1Dlg::OnClear()
{
    bool failed = false;
    for (int item = 0; item < m_list.GetItemCount(); ++item) {
        CString name = m_list.GetItemText(item, 0);
        if (name.IsEmpty()) continue;
        if (FAILED(Schedule::DeleteScheduledTask(name.GetString()))) failed = true;
    }
    // What the scheduler still holds stays listed.
    FillList();
    if (failed) AfxMessageBox(TranslateCode(L"IDS_OPTION_TAB2_REMOVE_FAILED"));
}

LRESULT COptionTab1Dlg::OnLanguageChanged(WPARAM, LPARAM)
{
    FillList();  // the type column and the failure text are in the old language
    LayOutButtons();
    return 0;
}
