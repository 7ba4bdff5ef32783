// Wizard actions that start programs or services.
#pragma once

#include <string>

#include "ErrorWizardExecuter.h"

// Opens ExecutePath with its default verb and ExecuteParam, shown normally; does not wait. True when the shell
// started it.
class CExeExecuter : public CErrorWizardExecuter {
public:
    using CErrorWizardExecuter::CErrorWizardExecuter;
    bool Run() override;
};

// Runs regsvr32 /s "<RegisterDll>" from the system folder and waits for it; true when it reports success (exit
// code 0).
class CRegisterDllExecuter : public CErrorWizardExecuter {
public:
    using CErrorWizardExecuter::CErrorWizardExecuter;
    bool Run() override;
};

// The service name without the quotation marks it may be written with ("Automatic Updates" and "\"Automatic
// Updates\"" name the same service).
std::wstring UnquoteServiceName(const std::wstring& name);

// Sets the service named by StartService (a display name, or a key name) to start automatically and starts it;
// true when both succeeded and the service runs.
class CSystemServiceExecuter : public CErrorWizardExecuter {
public:
    using CErrorWizardExecuter::CErrorWizardExecuter;
    bool Run() override;
};
