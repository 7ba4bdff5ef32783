// The page that hosts the repair wizards: it loads the wizard document from the program's resource "CONFIG" 388
// and hands it to the wizard controller, which lives as long as the page (a wizard in progress is still there when
// the user comes back).
#pragma once

#include <memory>
#include <string>

#include "dialogs/ErrorWizardController.h"
#include "FunctionDlg.h"

class CMoravinErrWizardHomeDlg : public CFunctionDlg {
public:
    CMoravinErrWizardHomeDlg();
    ~CMoravinErrWizardHomeDlg() override;

    void OnInitPage() override;
    CErrorWizardController* Controller() const { return m_controller.get(); }

private:
    // The resource's bytes followed by a zero byte; empty until loaded.
    std::string m_config;
    bool m_loaded = false;
    std::unique_ptr<CErrorWizardController> m_controller;
};
