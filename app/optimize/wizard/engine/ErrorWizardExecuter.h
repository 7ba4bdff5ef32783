// An action of a repair wizard's step: one <Execute> element of the wizard document, whose attributes the action
// reads when it runs. Each kind of action (ExecuterFactory.h) derives from it.
#pragma once

#include <string>

class TiXmlElement;

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
