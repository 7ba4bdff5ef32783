// Wizard action that downloads DownloadUrl into the program's "download" folder under FileName (a bare file
// name). The file is first written under a temporary name and takes its own name only when complete, so a failed
// download leaves nothing behind; the server must answer with status 200.
#pragma once

#include <string>

#include "ErrorWizardExecuter.h"

class CDownloadExecuter : public CErrorWizardExecuter {
public:
    using CErrorWizardExecuter::CErrorWizardExecuter;
    bool Run() override;
    // The folder the downloads go to: the program's folder followed by "download".
    static std::wstring DownloadFolder();
};
