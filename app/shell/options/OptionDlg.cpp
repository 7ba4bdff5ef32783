#include "OptionDlg.h"

#include <QGuards.h>

#include "Dictionary.h"
#include "MemDC.h"
#include "OptionIds.h"
#include "OptionTab0Dlg.h"
#include "OptionTab1Dlg.h"
#include "PageFactory.h"
#include "SkinDraw.h"
#include "WindowShape.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(Shell::kOptionsWindowId, COptionDlg);

namespace {

const COLORREF kTabTextColour = RGB(0x00, 0x15, 0x6E);
const int kTabWidth = 104, kTabHeight = 31, kTabGap = 2;

}  // namespace

IMPLEMENT_DYNAMIC(COptionDlg, CFunctionDlg)

BEGIN_MESSAGE_MAP(COptionDlg, CFunctionDlg)
    ON_COMMAND(IDC_OPTION_CLOSE, &COptionDlg::OnCloseButton)
    ON_COMMAND(IDC_OPTION_TAB_GENERAL, &COptionDlg::OnGeneralTab)
    ON_COMMAND(IDC_OPTION_TAB_SCHEDULE, &COptionDlg::OnScheduleTab)
    ON_WM_ERASEBKGND()
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

COptionDlg::COptionDlg() : CFunctionDlg(IDD_ENTRY_DIALOG)
{
    m_tabPages = {{IDC_OPTION_TAB_GENERAL, OPTION_PAGE_GENERAL}, {IDC_OPTION_TAB_SCHEDULE, OPTION_PAGE_SCHEDULE}};
    LoadSkinBitmap(m_bmpSkin, IDB_OPTION_SKIN);
    CreateSkinFont(m_fontTitle, 13, TRUE);
    m_nPanelCount = 1;
    m_rcPanel[0] = RECT{kPageRect.left - 2, kPageRect.top - 2, kPageRect.right + 2, kPageRect.bottom + 2};
}

COptionDlg::~COptionDlg() = default;

void COptionDlg::Shape()
{
    Shell::ShapeWindowToSkin(GetSafeHwnd(), static_cast<HBITMAP>(m_bmpSkin.GetSafeHandle()));
    CenterWindow();
}

void COptionDlg::OnInitPage()
{
    Shape();

    m_btnClose.SetBitmaps(132, 131, 130, CLR_INVALID);
    m_btnClose.Create(L"", WS_CHILD | WS_VISIBLE, CRect(494, 4, 598, 35), this, IDC_OPTION_CLOSE);
    m_btnClose.SizeToBitmap();

    struct {
        CTabButton* tab;
        int id;
        const wchar_t* key;
    } tabs[] = {{&m_tabGeneral, IDC_OPTION_TAB_GENERAL, L"IDS_OPTION_TAB_BTN_GENERAL"},
                {&m_tabSchedule, IDC_OPTION_TAB_SCHEDULE, L"IDS_OPTION_TAB_BTN_SCHEDULE"}};
    int x = 40;
    for (auto& t : tabs) {
        t.tab->m_nFontSize = 13;
        t.tab->m_bBold = TRUE;
        t.tab->m_crText = kTabTextColour;
        t.tab->CreateTextFont();
        t.tab->SetBitmaps(354, 353, 353, 355, CLR_INVALID);
        t.tab->Create(t.key, WS_CHILD | WS_VISIBLE, CRect(x, 40, x + kTabWidth, 40 + kTabHeight), this, UINT(t.id));
        x += kTabWidth + kTabGap;
    }

    // The pages get their keys after OnInitPage, as the frame's own pages get their ids.
    m_pGeneral.reset(new COptionTab0Dlg);
    m_pSchedule.reset(new COptionTab1Dlg);
    struct {
        CFunctionDlg* page;
        int key;
    } pages[] = {{m_pGeneral.get(), OPTION_PAGE_GENERAL}, {m_pSchedule.get(), OPTION_PAGE_SCHEDULE}};
    for (auto& p : pages) {
        p.page->Create(IDD_FUNCTION_PAGE, this);
        p.page->MoveWindow(&kPageRect, FALSE);
        p.page->OnInitPage();
        p.page->m_nPageId = p.key;
        p.page->SetDlgCtrlID(p.key);  // found by tools that look at windows, as the frame's pages are
    }
    // An owned top-level window: the main window's translation does not reach it.
    nsVendrel::TranslateWnd(this, 0, 1);
}

void COptionDlg::OnShowPage()
{
    ShowWindow(SW_SHOW);
    SelectTab(IDC_OPTION_TAB_GENERAL);
}

void COptionDlg::OnCancel() { ShowWindow(SW_HIDE); }

void COptionDlg::SelectTab(int tabId)
{
    for (const auto& entry : m_tabPages) {
        CTabButton& tab = entry.first == IDC_OPTION_TAB_GENERAL ? m_tabGeneral : m_tabSchedule;
        CFunctionDlg* page = GetSubPage(entry.second);
        bool selected = entry.first == tabId;
        tab.SetSelected(selected);
        if (!page) continue;
        if (selected)
            page->OnShowPage();
        else
            page->ShowWindow(SW_HIDE);
    }
}

void COptionDlg::OnCloseButton() { ShowWindow(SW_HIDE); }

void COptionDlg::OnGeneralTab() { SelectTab(IDC_OPTION_TAB_GENERAL); }

void COptionDlg::OnScheduleTab() { SelectTab(IDC_OPTION_TAB_SCHEDULE); }

BOOL COptionDlg::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    nsVendrel::CMemDC mem(pDC, client);
    HDC dc = mem.GetSafeHdc();
    mem.FillSolidRect(&client, RGB(255, 255, 255));
    {
        qcore::UniqueMemoryDc src(::CreateCompatibleDC(dc));
        qcore::GdiSelection skin(src.Get(), m_bmpSkin.GetSafeHandle());
        SIZE size = Shell::BitmapSize(static_cast<HBITMAP>(m_bmpSkin.GetSafeHandle()));
        ::BitBlt(dc, 0, 0, size.cx, size.cy, src.Get(), 0, 0, SRCCOPY);
    }
    DrawPagePanel(dc, m_rcPanel[0], SharedPanelBitmap());

    // The title in the strip that drags the window: the name of the button that opened it.
    qcore::GdiSelection font(dc, m_fontTitle.GetSafeHandle());
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, TRANSPARENT);
    RECT title = {38, 0, 480, kDragStripHeight};
    ::DrawTextW(dc, TranslateCode(L"IDS_FRAME_TOP_BUTTON_OPTIONS"), -1, &title, DT_SINGLELINE | DT_VCENTER);
    return TRUE;
}

LRESULT COptionDlg::OnNcHitTest(CPoint point)
{
    CPoint client = point;
    ScreenToClient(&client);
    if (client.y <= kDragStripHeight) return HTCAPTION;
    return CFunctionDlg::OnNcHitTest(point);
}
