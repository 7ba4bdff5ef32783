#include "ErrorWizardExecuter.h"

#include <tinyxml.h>

#include <Common.h>

std::string CErrorWizardExecuter::Attribute(const char* name) const
{
    const char* value = m_element ? m_element->Attribute(name) : nullptr;
    return value ? value : "";
}

std::wstring CErrorWizardExecuter::WideAttribute(const char* name) const
{
    return SBCharToWChar(Attribute(name).c_str());
}
