// The actions of a repair wizard's step. Each <Execute> element of the wizard document becomes one executer; its
// attributes choose the kind (the first rule that matches, in the order of ExecuterKind) and are read when it runs.
#pragma once

#include <memory>
#include <string>

class TiXmlElement;

enum class ExecuterKind {
    Download,        // DownloadUrl + FileName
    Exe,             // ExecutePath + ExecuteParam
    Registry,        // RegRoot (one of the five root names) + RegOpType (one of the five operations)
    RemoveDir,       // RemoveDirectory
    RemoveFile,      // RemoveFileName
    SystemService,   // StartService
    RegisterDll,     // RegisterDll
    None,            // no rule matches: such an action fails its step, so a mistake in the document shows
};

class CErrorWizardExecuter {
public:
    explicit CErrorWizardExecuter(const TiXmlElement* element) : m_element(element) {}
    virtual ~CErrorWizardExecuter() = default;
    CErrorWizardExecuter(const CErrorWizardExecuter&) = delete;
    CErrorWizardExecuter& operator=(const CErrorWizardExecuter&) = delete;

    // Performs the action (on the step's worker thread); true on success.
    virtual bool Run() = 0;

    const TiXmlElement* Element() const { return m_element; }

protected:
    // The attribute's text; empty when absent.
    std::string Attribute(const char* name) const;
    // The same widened with the ANSI code page, for the system calls.
    std::wstring WideAttribute(const char* name) const;

private:
    const TiXmlElement* m_element;
};

// The kind the element's attributes choose (names and values are case-sensitive; an empty value counts as present).
ExecuterKind ChooseExecuterKind(const TiXmlElement& element);
// A new executer of the chosen kind holding the element (which must outlive it).
std::unique_ptr<CErrorWizardExecuter> CreateExecuter(const TiXmlElement& element);
