#include "ErrorWizardController.h"

#include <Common.h>

#include "Dictionary.h"
#include "resource.h"
#include "WizardErrorStepDlg.h"
#include "WizardHomeDlg.h"
#include "OptimizeMessages.h"

using nsVendrel::TranslateCode;

namespace {

// At shutdown, actions still running get this long to end; after that they keep the document alive themselves.
const DWORD kShutdownWaitMs = 2000;

}  // namespace

CString WizardDisplayText(const std::string& text) { return CString(SBCharToWChar(text.c_str())); }

CErrorWizardController::CErrorWizardController()
    : m_document(std::make_shared<CWizardDocument>()),
      m_home(new CWizardHomeDlg(this)),
      m_step(new CWizardErrorStepDlg(this))
{
}

CErrorWizardController::~CErrorWizardController()
{
    m_runToken = 0;
    m_document->WaitForWorkers(kShutdownWaitMs);
    if (m_step->GetSafeHwnd()) m_step->DestroyWindow();
    if (m_home->GetSafeHwnd()) m_home->DestroyWindow();
}

void CErrorWizardController::Create(CWnd* parent)
{
    CRect client;
    parent->GetClientRect(&client);
    m_home->Create(IDD_FUNCTION_PAGE, parent);
    m_home->MoveWindow(&client);
    m_home->BuildControls();
    m_step->Create(IDD_FUNCTION_PAGE, parent);
    m_step->MoveWindow(&client);
    m_step->BuildControls();
}

bool CErrorWizardController::Load(const char* text)
{
    // A new document: workers of an earlier one keep theirs until they end.
    auto document = std::make_shared<CWizardDocument>();
    const bool loaded = document->Load(text);
    m_document = document;
    m_current = nullptr;
    m_index = -1;
    m_runStep = nullptr;
    m_runToken = 0;
    CListCtrl& list = m_home->List();
    list.DeleteAllItems();
    for (const auto& error : m_document->Errors()) list.InsertItem(0, WizardDisplayText(error->Description()));
    return loaded;
}

void CErrorWizardController::SelectError(const CString& description)
{
    if (StepRunning()) return;
    m_current = nullptr;
    m_index = -1;
    for (const auto& error : m_document->Errors()) {
        if (WizardDisplayText(error->Description()) == description) {
            m_current = error.get();
            break;
        }
    }
    if (!m_current) {
        AfxMessageBox(L"Error not defined!");
        return;
    }
    m_home->ShowWindow(SW_HIDE);
    m_step->ShowWindow(SW_SHOW);
    NextStep();
}

void CErrorWizardController::NextStep()
{
    if (!m_current || StepRunning()) return;
    ++m_index;
    CWizardErrorStepInfo* step = m_current->Step(m_index);
    if (m_index >= m_current->StepCount() || !step) {
        // Past the last step, or a step number the document skipped.
        ShowHome();
        return;
    }
    const bool more = m_index + 1 < m_current->StepCount();
    m_step->OfferButton(CWizardErrorStepDlg::IDC_NEXT, false);
    m_step->OfferButton(CWizardErrorStepDlg::IDC_PREV, false);
    ShowStepText(step->PreDescription());

    if (step->IsWorking()) {
        // The actions of an earlier, abandoned run of this step have not ended yet.
        m_step->OfferButton(CWizardErrorStepDlg::IDC_NEXT, more);
        m_step->OfferButton(CWizardErrorStepDlg::IDC_PREV, true);
        m_step->SetStepText(TranslateCode(L"IDS_SYS_FIX_ERROR_WIZARD_MSG_BUSY"));
        return;
    }
    const WPARAM token = ++m_lastToken;
    const HWND notify = m_step->GetSafeHwnd();
    m_runStep = step;
    m_runToken = token;
    const bool started = step->Start(m_document, [notify, token](bool succeeded) {
        ::PostMessageW(notify, WM_WIZARD_STEP_DONE, token, succeeded ? 1 : 0);
    });
    if (!started) OnStepDone(token, false);
}

void CErrorWizardController::OnStepDone(WPARAM token, bool succeeded)
{
    if (token == 0 || token != m_runToken) return;  // a run the wizard stopped waiting for
    CWizardErrorStepInfo* step = m_runStep;
    m_runStep = nullptr;
    m_runToken = 0;
    if (!m_current || !step) return;
    m_step->OfferButton(CWizardErrorStepDlg::IDC_NEXT, m_index + 1 < m_current->StepCount());
    m_step->OfferButton(CWizardErrorStepDlg::IDC_PREV, true);
    if (succeeded) {
        ShowStepText(step->Description());
        return;
    }
    const std::string error = step->ErrorText();
    if (error.empty())
        m_step->SetStepText(TranslateCode(L"IDS_SYS_FIX_ERROR_WIZARD_MSG_FAILED"));
    else
        ShowStepText(error);
}

void CErrorWizardController::PreviousStep()
{
    if (!m_current || StepRunning()) return;
    if (m_index <= 0) {
        // Back to the list; the fault and the position stay until another fault is chosen.
        m_step->ShowWindow(SW_HIDE);
        CListCtrl& list = m_home->List();
        for (int i = 0; i < list.GetItemCount(); ++i) list.SetItemState(i, 0, LVIS_SELECTED | LVIS_FOCUSED);
        m_home->ShowWindow(SW_SHOW);
        return;
    }
    --m_index;
    CWizardErrorStepInfo* step = m_current->Step(m_index);
    if (!step) {
        ShowHome();
        return;
    }
    m_step->OfferButton(CWizardErrorStepDlg::IDC_PREV, true);
    m_step->OfferButton(CWizardErrorStepDlg::IDC_NEXT, m_index < m_current->StepCount() - 1);
    ShowStepText(step->Description());
}

void CErrorWizardController::Finish()
{
    if (m_runStep) m_runStep->StopWaiting();
    m_runStep = nullptr;
    m_runToken = 0;
    ShowHome();
}

void CErrorWizardController::ShowHome()
{
    m_current = nullptr;
    m_index = -1;
    m_step->ShowWindow(SW_HIDE);
    m_home->ShowWindow(SW_SHOW);
}

void CErrorWizardController::ShowStepText(const std::string& text) { m_step->SetStepText(WizardDisplayText(text)); }
