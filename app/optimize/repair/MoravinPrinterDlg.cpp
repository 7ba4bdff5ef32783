#include "MoravinPrinterDlg.h"

#include "Dictionary.h"
#include "PageFactory.h"
#include "SpoolerRepair.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_REPAIR_PRINTER, CMoravinPrinterDlg);

BEGIN_MESSAGE_MAP(CMoravinPrinterDlg, CRepairPage)
    ON_BN_CLICKED(CMoravinPrinterDlg::IDC_REPAIR, &CMoravinPrinterDlg::OnRepair)
END_MESSAGE_MAP()

void CMoravinPrinterDlg::OnInitPage()
{
    CreateSkinFont(m_textFont, 13, FALSE);
    m_description.Create(TranslateCode(L"IDS_SYS_FIX_PRINTER__DESC"), WS_CHILD | WS_VISIBLE | SS_LEFT,
                         CRect(20, 15, 717, 85), this, IDC_DESCRIPTION);
    m_description.SetFont(&m_textFont);
    m_repair.Create(TranslateCode(L"IDS_SYS_FIX_PRINTER_REPAIR"), WS_CHILD | WS_VISIBLE, CRect(20, 100, 144, 140),
                    this, IDC_REPAIR);
}

void CMoravinPrinterDlg::OnRepair()
{
    m_repair.EnableWindow(FALSE);
    if (!RunJob([] { return WPARAM(RepairPrintSpooler() ? 1 : 0); })) m_repair.EnableWindow(TRUE);
}

void CMoravinPrinterDlg::OnJobDone(WPARAM repaired)
{
    m_repair.EnableWindow(TRUE);
    AfxMessageBox(TranslateCode(repaired ? L"IDS_SYS_FIX_PRINTSPOOL" : L"IDS_SYS_FIX_PRINTSPOOL_FAILED"));
}
