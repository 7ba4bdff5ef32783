// What the wizard's two pages ask of the wizard that owns them: the choice of a fault, the moves between steps and
// the end of a step's actions. The controller implements it, so the pages need nothing else of the controller.
#pragma once

#include <QMfc.h>

class IWizardNavigator {
public:
    virtual ~IWizardNavigator() = default;
    // The home page's Next: the fault with exactly this description becomes the current one.
    virtual void SelectError(const CString& description) = 0;
    virtual void NextStep() = 0;
    virtual void PreviousStep() = 0;
    virtual void Finish() = 0;
    // The end of a step's actions, as posted by its worker.
    virtual void OnStepDone(WPARAM token, bool succeeded) = 0;
};
