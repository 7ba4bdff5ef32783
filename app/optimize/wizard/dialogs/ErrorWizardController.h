// The repair wizard controller: owns the wizard document and the two wizard pages (the fault list and the step
// page) and holds the position in the wizard. Only the user-interface thread touches it.
//
// Choosing a fault shows its step 0; Next enters the following step and starts its actions; Previous shows the
// earlier step's text again without running anything; Finish returns to the list at once, also while a step runs
// (its actions then finish in the background and their end is ignored). While a step runs, Next and Previous are
// hidden and a second Next is ignored; a step whose earlier run still works is not started again.
#pragma once

#include <QMfc.h>

#include <memory>

#include "engine/WizardDocument.h"
#include "WizardNavigator.h"

class CWizardHomeDlg;
class CWizardErrorStepDlg;

class CErrorWizardController : public IWizardNavigator {
public:
    CErrorWizardController();
    ~CErrorWizardController() override;
    CErrorWizardController(const CErrorWizardController&) = delete;
    CErrorWizardController& operator=(const CErrorWizardController&) = delete;

    // Creates both pages as children of the parent, fitted to its client area (both hidden).
    void Create(CWnd* parent);
    // Loads the document and lists its faults, the last one of the document at the top. False when the text
    // could not be read (the list stays empty).
    bool Load(const char* text);

    // The home page's Next: the fault with exactly this description becomes the current one.
    void SelectError(const CString& description) override;
    void NextStep() override;
    void PreviousStep() override;
    void Finish() override;
    // The end of a step's actions, as posted by its worker.
    void OnStepDone(WPARAM token, bool succeeded) override;

    CWizardHomeDlg* HomeDialog() const { return m_home.get(); }
    CWizardErrorStepDlg* StepDialog() const { return m_step.get(); }
    const CWizardDocument& Document() const { return *m_document; }
    CWizardError* CurrentError() const { return m_current; }
    int CurrentStepIndex() const { return m_index; }
    // True while the step being shown runs its actions.
    bool StepRunning() const { return m_runToken != 0; }

private:
    void ShowHome();
    void ShowStepText(const std::string& text);

    std::shared_ptr<CWizardDocument> m_document;
    std::unique_ptr<CWizardHomeDlg> m_home;
    std::unique_ptr<CWizardErrorStepDlg> m_step;
    CWizardError* m_current = nullptr;
    int m_index = -1;
    // The run the step page waits for: its step and token (0: none). Tokens are never reused.
    CWizardErrorStepInfo* m_runStep = nullptr;
    WPARAM m_runToken = 0;
    WPARAM m_lastToken = 0;
};

// A narrow text of the document as the windows show it (the ANSI code page).
CString WizardDisplayText(const std::string& text);
