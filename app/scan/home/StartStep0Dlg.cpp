#include "StartStep0Dlg.h"

#include <ctime>
#include <cwchar>

#include "Dictionary.h"
#include "EntryApp.h"
#include "LocalDateTime.h"
#include "Settings.h"
#include "options/LanguageSwitch.h"
#include "ScanCategories.h"
#include "ScanTime.h"
#include "ScoreStore.h"

using nsVendrel::TranslateCode;

namespace {
const UINT kBusyFirstFrame = 389, kBusyFrames = 16;
const UINT kLanguageChanged = Shell::LanguageChangedMessage();
}  // namespace

BEGIN_MESSAGE_MAP(CStartStep0Dlg, CFunctionDlg)
    ON_BN_CLICKED(CStartStep0Dlg::IDC_QUICK_SCAN, &CStartStep0Dlg::OnQuickScan)
    ON_WM_CTLCOLOR()
    ON_NOTIFY(NM_CUSTOMDRAW, CStartStep0Dlg::IDC_LIST, &CStartStep0Dlg::OnListCustomDraw)
    ON_REGISTERED_MESSAGE(kLanguageChanged, &CStartStep0Dlg::OnLanguageChanged)
END_MESSAGE_MAP()

CStartStep0Dlg::CStartStep0Dlg()
{
    CreateSkinFont(m_captionFont, 16, TRUE);
    CreateSkinFont(m_valueFont, 16, FALSE);
}

void CStartStep0Dlg::OnInitPage()
{
    CRect client;
    GetClientRect(&client);
    const int w = client.Width() > 600 ? client.Width() : 740;
    const int h = client.Height() > 400 ? client.Height() : 520;

    m_busy.Create(L"", WS_CHILD | WS_VISIBLE, CRect(20, 18, 84, 82), this, IDC_BUSY);
    for (UINT i = 0; i < kBusyFrames; ++i) m_busy.AddImage(kBusyFirstFrame + i);
    m_busy.KillTimer(0);  // a still picture on this step

    struct Label {
        CStatic* control;
        const wchar_t* key;
        int id, x, y, width;
        CFont* font;
    } labels[] = {
        {&m_healthCaption, L"IDS_START_PCHEALTH_TIP", IDC_HEALTH_CAPTION, 96, 18, 200, &m_captionFont},
        {&m_status, L"IDS_START_PCHEALTH_TIP", IDC_STATUS, 300, 18, w - 480, &m_valueFont},
        {&m_scoreCaption, L"IDS_START_LASTSCANSCORE_TIP", IDC_SCORE_CAPTION, 96, 44, 200, &m_captionFont},
        {&m_score, L"IDS_START_LASTSCANSCORE_TIP", IDC_SCORE, 300, 44, w - 480, &m_valueFont},
        {&m_timeCaption, L"IDS_START_LASTSCANTIME_TIP", IDC_TIME_CAPTION, 96, 70, 200, &m_captionFont},
        {&m_time, L"IDS_START_LASTSCANTIME_TIP", IDC_TIME, 300, 70, w - 460, &m_valueFont},
    };
    for (const Label& l : labels) {
        CreateText(*l.control, l.key, l.id, CRect(l.x, l.y, l.x + l.width, l.y + 22), SS_LEFT | SS_ENDELLIPSIS);
        l.control->SetFont(l.font);
    }
    CreateButton(m_quickScan, L"IDS_START_BTN_QUICK_SCAN", IDC_QUICK_SCAN, CRect(w - 144, 36, w - 20, 76), WS_TABSTOP);
    SetDefaultButton(IDC_QUICK_SCAN);

    m_list.m_nRowHeight = 55;
    CreateList(m_list, IDC_LIST, CRect(20, 110, w - 20, h - 20), LVS_OWNERDRAWFIXED | LVS_SINGLESEL | LVS_NOSORTHEADER,
               0);
    m_list.InsertCategoryColumns(w - 44);
}

void CStartStep0Dlg::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    RefreshLastResult();
    if (CEntryApp::m_bBootMode) {
        OnQuickScan();
        return;
    }
    const OneClick::StoredScore stored = OneClick::ReadStoredScore();
    if (OneClick::IsQuickScanDue(stored.hasScore, stored.hasTime, stored.timeText, std::time(nullptr)) &&
        DueScanAllowed()) {
        m_bAutoStarted = true;
        OnQuickScan();
    }
}

bool CStartStep0Dlg::DueScanAllowed() const { return !m_bAutoStarted || OneClick::LastStoreStatus() == 0; }

void CStartStep0Dlg::OnQuickScan()
{
    if (CFunctionDlg* parent = dynamic_cast<CFunctionDlg*>(GetParent())) parent->ShowSubPage(1);
}

// The date and the list rows are composed here, so they are composed again in the new language.
LRESULT CStartStep0Dlg::OnLanguageChanged(WPARAM, LPARAM)
{
    RefreshLastResult();
    return 0;
}

void CStartStep0Dlg::RefreshLastResult()
{
    const OneClick::StoredScore stored = OneClick::ReadStoredScore();
    if (!stored.hasScore) return;
    m_time.SetWindowText(TranslateCode(L"IDS_START_UNKNOWN"));
    m_score.SetWindowText(TranslateCode(L"IDS_START_UNKNOWN_SCORE"));
    std::tm local = {};
    if (!stored.hasTime || !OneClick::ParseScanTime(stored.timeText, &local, nullptr)) return;

    wchar_t text[256] = {};
    m_time.SetWindowText(Shell::FormatDateTime(local, Settings::Language() - 1).c_str());
    const int score = stored.score;
    if (OneClick::StoredScoreUnknown(score)) {
        m_score.SetWindowText(TranslateCode(L"IDS_START_UNKONWSCROE"));
    } else {
        std::swprintf(text, 256, L"%d", score);
        m_score.SetWindowText(text);
    }
    m_status.SetWindowText(TranslateCode(OneClick::StoredScoreStatusKey(score)));

    m_list.RemoveAllRows();
    for (int part = 0; part < 5; ++part) {
        const OneClick::ScanRowInfo& row = OneClick::ScanRow(part);
        const int count = stored.counts.n[part];
        CString description;
        description.Format(L"%d ", count);
        description += TranslateCode(row.descriptionKey);
        m_list.AddRow(TranslateCode(row.nameKey), row.bitmapId, L"", description, row.thresholds[0], row.thresholds[1],
                      row.thresholds[2], row.thresholds[3], count);
    }
    Invalidate(FALSE);
}

HBRUSH CStartStep0Dlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor != CTLCOLOR_STATIC || !pWnd) return CFunctionDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    pDC->SetBkMode(TRANSPARENT);
    const int id = pWnd->GetDlgCtrlID();
    if (id == IDC_HEALTH_CAPTION) pDC->SetTextColor(RGB(52, 107, 185));
    if (id == IDC_STATUS) pDC->SetTextColor(RGB(198, 18, 19));
    return SharedWhiteBrush();
}

void CStartStep0Dlg::OnListCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    CStartScanList::OnCustomDraw(pNMHDR, pResult);
}
