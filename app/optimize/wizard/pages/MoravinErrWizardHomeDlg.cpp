#include "MoravinErrWizardHomeDlg.h"

#include "dialogs/WizardErrorStepDlg.h"
#include "dialogs/WizardHomeDlg.h"
#include "engine/ConfigResource.h"
#include "PageFactory.h"

QUORVEL_REGISTER_PAGE(PAGE_ID_REPAIR_WIZARD, CMoravinErrWizardHomeDlg);

CMoravinErrWizardHomeDlg::CMoravinErrWizardHomeDlg() = default;

CMoravinErrWizardHomeDlg::~CMoravinErrWizardHomeDlg() = default;

void CMoravinErrWizardHomeDlg::OnInitPage()
{
    // The text is parsed as a zero-terminated string: std::string keeps that zero after its bytes.
    if (!m_loaded && !LoadConfigResource(AfxGetResourceHandle(), kConfigResourceId, m_config)) return;
    m_loaded = true;
    m_controller.reset(new CErrorWizardController);
    m_controller->Create(this);
    m_controller->Load(m_config.c_str());
    m_controller->HomeDialog()->ShowWindow(SW_SHOW);
    m_controller->StepDialog()->ShowWindow(SW_HIDE);
}
