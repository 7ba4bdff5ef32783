// The actions of a repair wizard's step. Each <Execute> element of the wizard document becomes one executer; its
// attributes choose the kind (the first rule that matches, in the order of ExecuterKind).
#pragma once

#include <memory>

#include "ErrorWizardExecuter.h"

enum class ExecuterKind {
    Download,       // DownloadUrl + FileName
    Exe,            // ExecutePath + ExecuteParam
    Registry,       // RegRoot (one of the five root names) + RegOpType (one of the five operations)
    RemoveDir,      // RemoveDirectory
    RemoveFile,     // RemoveFileName
    SystemService,  // StartService
    RegisterDll,    // RegisterDll
    None,           // no rule matches: such an action fails its step, so a mistake in the document shows
};

// The kind the element's attributes choose (names and values are case-sensitive; an empty value counts as present).
ExecuterKind ChooseExecuterKind(const TiXmlElement& element);
// A new executer of the chosen kind holding the element (which must outlive it).
std::unique_ptr<CErrorWizardExecuter> CreateExecuter(const TiXmlElement& element);
