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
    CreateText(m_description, L"IDS_SYS_FIX_PRINTER__DESC", IDC_DESCRIPTION, CRect(20, 15, 717, 85));
    CreateButton(m_repair, L"IDS_SYS_FIX_PRINTER_REPAIR", IDC_REPAIR, CRect(20, 100, 144, 140));
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
