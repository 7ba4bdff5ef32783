#include "ScanCleanRegCleanStep0.h"
#include "SkinDraw.h"

#include "Dictionary.h"
#include "MainWindowBusy.h"
#include "controls/BitmapDraw.h"
#include "ScanCleanRegCleanStep1.h"
#include "ScanMessages.h"

using nsVendrel::TranslateCode;

namespace {
// Layout: two columns of five categories over the framed panel at (20, 100), 700 x 240.
const int kPanelX = 20, kPanelY = 100, kPanelW = 700, kPanelH = 240;
const int kRowX = 50, kRowY = 125, kRowStep = 42, kColumnGap = 350;
const int kBoxW = 250, kBoxH = 20, kCountW = 60;
}  // namespace

BEGIN_MESSAGE_MAP(CScanCleanRegCleanStep0, CFunctionDlg)
    ON_BN_CLICKED(CScanCleanRegCleanStep0::IDC_START_ABORT, &CScanCleanRegCleanStep0::OnStartAbort)
    ON_MESSAGE(CScanCleanRegCleanStep0::IDC_SELECT_ALL, &CScanCleanRegCleanStep0::OnSelectAllClicked)
    ON_MESSAGE(WM_REGSCAN_CATEGORY_DONE, &CScanCleanRegCleanStep0::OnCategoryDone)
    ON_MESSAGE(WM_REGSCAN_FINISHED, &CScanCleanRegCleanStep0::OnScanFinished)
    ON_MESSAGE(WM_REGPAGE_CATEGORY_STARTED, &CScanCleanRegCleanStep0::OnCategoryStarted)
    ON_MESSAGE(WM_REGPAGE_SCAN_RESULT, &CScanCleanRegCleanStep0::OnScanResultMsg)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CScanCleanRegCleanStep0::CScanCleanRegCleanStep0()
{
    WatchWorker(m_scanWorker);
    CreateSkinFont(m_titleFont, 16, TRUE);
    m_hBackground = Shell::LoadSkinBitmap(345);
    m_hWhiteBrush = (HBRUSH)GetStockObject(WHITE_BRUSH);
}

CScanCleanRegCleanStep0::~CScanCleanRegCleanStep0()
{
    StopAndWait();
    if (m_hBackground) DeleteObject(m_hBackground);
}

void CScanCleanRegCleanStep0::SetPeers(CFunctionDlg* pOwner, CScanCleanRegCleanStep1* pStep1, CRegistryData* pEngine)
{
    m_pOwner = pOwner;
    m_pStep1 = pStep1;
    m_pEngine = pEngine;
}

void CScanCleanRegCleanStep0::OnInitPage()
{
    CreateText(m_status, L"IDS_SCAN_CLEAN_SCAN_NOT_STARTED", IDC_STATUS, CRect(20, 20, 720, 46));
    m_status.SetFont(&m_titleFont);
    CreateText(m_hint, L"IDS_SCAN_CLEAN_SCAN_TIP_CLICK_TO_START", IDC_HINT, CRect(20, 50, 720, 70));
    m_selectAll.Create(TranslateCode(L"IDS_SCAN_CLEAN_REGISTRY_SELECT_ALL"), WS_CHILD | WS_VISIBLE | SS_NOTIFY,
                       CRect(kRowX, 75, kRowX + kBoxW, 75 + kBoxH), this, IDC_SELECT_ALL);

    m_nRowCount = kRegCategoryCount;
    for (int i = 0; i < m_nRowCount; ++i) {
        const RegCategoryInfo& info = RegCategoryAt(i);
        RegCategoryRow& row = m_rows[i];
        row.nCheckBoxId = info.checkBoxId;
        row.nCountLabelId = info.countLabelId;
        row.nCategory = info.type;
        row.nCount = 0;
        row.strTitle = TranslateCode(RegCategoryTitleKey(i).c_str());
        int x = kRowX + (i / 5) * kColumnGap, y = kRowY + (i % 5) * kRowStep;
        row.checkBox.Create(row.strTitle, WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(x, y, x + kBoxW, y + kBoxH), this,
                            UINT(row.nCheckBoxId));
        CreateText(row.countLabel, nullptr, UINT(row.nCountLabelId),
                   CRect(x + kBoxW + 5, y + 3, x + kBoxW + 5 + kCountW, y + kBoxH));
    }

    CreateButton(m_startAbort, L"IDS_SCAN_CLEAN_REGISTRY_BTN_START", IDC_START_ABORT,
                 CRect(kPanelX + kPanelW - 124, kPanelY + kPanelH + 20, kPanelX + kPanelW, kPanelY + kPanelH + 60));
    SetDefaultButton(IDC_START_ABORT);
}

void CScanCleanRegCleanStep0::SetTexts(bool scanning)
{
    m_status.SetWindowText(
        TranslateCode(scanning ? L"IDS_SCAN_CLEAN_SCAN_IN_PROGRESS" : L"IDS_SCAN_CLEAN_SCAN_NOT_STARTED"));
    m_hint.SetWindowText(TranslateCode(scanning ? L"IDS_SCAN_CLEAN_SCAN_TIP_CLICK_TO_ABORT"
                                                : L"IDS_SCAN_CLEAN_SCAN_TIP_CLICK_TO_START"));
    m_startAbort.SetWindowText(
        TranslateCode(scanning ? L"IDS_SCAN_CLEAN_REGISTRY_BTN_ABORT" : L"IDS_SCAN_CLEAN_REGISTRY_BTN_START"));
    m_startAbort.Invalidate();
    // Statics without a background leave their old text behind; the page repaints under them.
    CRect rc;
    m_status.GetWindowRect(&rc);
    ScreenToClient(&rc);
    InvalidateRect(&rc);
    m_hint.GetWindowRect(&rc);
    ScreenToClient(&rc);
    InvalidateRect(&rc);
}

void CScanCleanRegCleanStep0::SetCountText(RegCategoryRow& row, const wchar_t* text)
{
    row.countLabel.SetWindowText(text);
    CRect rc;
    row.countLabel.GetWindowRect(&rc);
    ScreenToClient(&rc);
    RedrawWindow(&rc, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CScanCleanRegCleanStep0::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    for (int i = 0; i < m_nRowCount; ++i) {
        m_rows[i].checkBox.SetState(m_chosen.HasRow(i) ? 1 : 0);
        SetCountText(m_rows[i], L"");
    }
    ShowSelectAllState();
    m_selectAll.ShowWindow(SW_SHOW);
    SetTexts(false);
    Invalidate();
}

RegCategoryRow* CScanCleanRegCleanStep0::FindRow(int category)
{
    for (int i = 0; i < m_nRowCount; ++i)
        if (m_rows[i].nCategory == category) return &m_rows[i];
    return nullptr;
}

LRESULT CScanCleanRegCleanStep0::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A category box reports its click with a message numbered like its id.
    for (int i = 0; i < m_nRowCount; ++i) {
        if (message == UINT(m_rows[i].nCheckBoxId)) {
            OnRowClicked(i);
            return 0;
        }
    }
    return CFunctionDlg::WindowProc(message, wParam, lParam);
}

LRESULT CScanCleanRegCleanStep0::OnSelectAllClicked(WPARAM, LPARAM)
{
    if (m_bScanning.load()) return 0;
    int state = m_selectAll.GetState();
    for (int i = 0; i < m_nRowCount; ++i) {
        m_rows[i].checkBox.SetState(state);
        m_chosen.SetRow(i, state == 1);
    }
    return 0;
}

void CScanCleanRegCleanStep0::OnRowClicked(int row)
{
    if (m_bScanning.load()) return;
    m_chosen.SetRow(row, m_rows[row].checkBox.GetState() == 1);
    ShowSelectAllState();
}

void CScanCleanRegCleanStep0::ShowSelectAllState()
{
    bool all = m_nRowCount > 0;
    for (int i = 0; i < m_nRowCount; ++i) all = all && m_chosen.HasRow(i);
    if (m_selectAll.GetState() != (all ? 1 : 0)) m_selectAll.SetState(all ? 1 : 0);
}

void CScanCleanRegCleanStep0::OnStartAbort()
{
    if (m_bScanning.load()) {
        // Results that still arrive are dropped from here on; the engine ends its walk.
        m_bScanning = false;
        if (m_pEngine) m_pEngine->Stop();
        return;
    }
    StartScan();
}

void CScanCleanRegCleanStep0::StartScan()
{
    if (m_scanWorker.HasThread()) {
        AfxMessageBox(TranslateCode(L"IDS_SCAN_CLEAN_INPROCESS"));
        return;
    }
    m_selection.Clear();
    for (int i = 0; i < m_nRowCount; ++i) m_selection.SetRow(i, m_rows[i].checkBox.GetState() == 1);
    m_chosen = m_selection;
    if (!m_selection.Any()) {
        AfxMessageBox(TranslateCode(L"IDS_SCAN_CLEAN_REGISTRY_NOIMTESELECT"));
        return;
    }
    if (!m_pEngine) return;

    m_bScanning = true;
    m_pEngine->SetScanWnd(m_hWnd);
    for (int i = 0; i < m_nRowCount; ++i) m_rows[i].nCount = 0;
    m_selectAll.ShowWindow(SW_HIDE);
    if (m_pStep1) m_pStep1->Reset();
    SetMainWindowBusy(true);
    SetTexts(true);

    if (!m_scanWorker.Start([this] { ScanThread(this); })) {
        m_bScanning = false;
        SetMainWindowBusy(false);
        SetTexts(false);
        m_selectAll.ShowWindow(SW_SHOW);
    }
}

unsigned __stdcall CScanCleanRegCleanStep0::ScanThread(void* param)
{
    CScanCleanRegCleanStep0* self = static_cast<CScanCleanRegCleanStep0*>(param);
    self->m_pEngine->Scan(&CScanCleanRegCleanStep0::ShouldScanCategory, self, &CScanCleanRegCleanStep0::OnScanResult,
                          self);
    return 0;
}

bool CScanCleanRegCleanStep0::ShouldScanCategory(REG_SCAN_TYPE type, void* user)
{
    CScanCleanRegCleanStep0* self = static_cast<CScanCleanRegCleanStep0*>(user);
    // After an abort nothing more is scanned, even when the stop request reached the engine before its scan began.
    if (!self->m_bScanning.load()) return false;
    if (!self->m_selection.Wants(type)) return false;
    ::SendMessageW(self->m_hWnd, WM_REGPAGE_CATEGORY_STARTED, (WPARAM)type, 0);
    return true;
}

bool CScanCleanRegCleanStep0::OnScanResult(const CRegistryData::SCAN_RESULT* result, void* user)
{
    CScanCleanRegCleanStep0* self = static_cast<CScanCleanRegCleanStep0*>(user);
    // Only rows the user ticks are cleaned later; a result that is never listed must never be selected.
    self->m_pEngine->Select(*result, false);
    if (!self->m_bScanning.load()) return false;
    ::SendMessageW(self->m_hWnd, WM_REGPAGE_SCAN_RESULT, 0, (LPARAM)result);
    return true;
}

LRESULT CScanCleanRegCleanStep0::OnCategoryStarted(WPARAM wParam, LPARAM)
{
    RegCategoryRow* row = FindRow(int(wParam));
    if (row && m_bScanning.load()) row->checkBox.SetState(2);
    return 0;
}

LRESULT CScanCleanRegCleanStep0::OnScanResultMsg(WPARAM, LPARAM lParam)
{
    const CRegistryData::SCAN_RESULT* result = reinterpret_cast<const CRegistryData::SCAN_RESULT*>(lParam);
    if (!result || !m_bScanning.load()) return 0;
    RegCategoryRow* row = FindRow(result->type);
    if (row) {
        if (row->checkBox.GetState() != 2) row->checkBox.SetState(2);
        ++row->nCount;
        CString text;
        text.Format(L"%d", row->nCount);
        SetCountText(*row, text);
    }
    if (m_pStep1) m_pStep1->AddResult(result);
    return 0;
}

LRESULT CScanCleanRegCleanStep0::OnCategoryDone(WPARAM wParam, LPARAM)
{
    RegCategoryRow* row = FindRow(int(wParam));
    if (row) row->checkBox.SetState(3);
    return 0;
}

LRESULT CScanCleanRegCleanStep0::OnScanFinished(WPARAM, LPARAM)
{
    m_scanWorker.Wait(INFINITE, qcore::Pump::SentOnly);  // the engine's last message: its thread ends now
    m_bScanning = false;
    SetMainWindowBusy(false);
    SetTexts(false);
    // Also after an abort: the results found so far are shown.
    if (m_pOwner) m_pOwner->ShowSubPage(1);
    return 0;
}

void CScanCleanRegCleanStep0::StopAndWait()
{
    if (!m_scanWorker.HasThread()) return;
    m_bScanning = false;
    if (m_pEngine) m_pEngine->Stop();
    m_scanWorker.Wait(INFINITE, qcore::Pump::SentOnly);
}

BOOL CScanCleanRegCleanStep0::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    ::FillRect(pDC->GetSafeHdc(), &client, m_hWhiteBrush);
    StretchBitmap(pDC->GetSafeHdc(), kPanelX, kPanelY, kPanelW, kPanelH, m_hBackground);
    return TRUE;
}

HBRUSH CScanCleanRegCleanStep0::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    int id = pWnd ? pWnd->GetDlgCtrlID() : 0;
    if (id >= 11050 && id <= 11059) {
        // On the panel: no background of their own (SetCountText repaints the panel under a changed count).
        pDC->SetTextColor(RGB(255, 0, 0));
        pDC->SetBkMode(TRANSPARENT);
        return (HBRUSH)GetStockObject(NULL_BRUSH);
    }
    if (id == IDC_STATUS || id == IDC_HINT) {
        if (id == IDC_STATUS) pDC->SetTextColor(RGB(52, 107, 185));
        pDC->SetBkMode(TRANSPARENT);
        return (HBRUSH)GetStockObject(NULL_BRUSH);
    }
    return CFunctionDlg::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CScanCleanRegCleanStep0::StopWorkers()
{
    m_bScanning = false;
    if (m_scanWorker.Running() && m_pEngine) m_pEngine->Stop();
    CFunctionDlg::StopWorkers();
}
