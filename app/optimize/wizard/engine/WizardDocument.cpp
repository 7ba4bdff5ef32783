#include "WizardDocument.h"

#include <cstdlib>

#include <tinyxml.h>

#include <QWorker.h>

#include "ExecuterFactory.h"
#include "XmlNesting.h"

// ---- CWizardError ---------------------------------------------------------------------------------------------

CWizardError::CWizardError(const TiXmlElement* error) : m_error(error) {}

CWizardError::~CWizardError() = default;

std::string CWizardError::Description() const
{
    const char* text = m_error ? m_error->Attribute("Description") : nullptr;
    return text ? text : "";
}

CWizardErrorStepInfo* CWizardError::Step(int stepId) const
{
    auto it = m_steps.find(stepId);
    return it == m_steps.end() ? nullptr : it->second.get();
}

void CWizardError::SetStep(int stepId, std::unique_ptr<CWizardErrorStepInfo> step)
{
    m_steps[stepId] = std::move(step);
}

// ---- CWizardDocument ------------------------------------------------------------------------------------------

namespace {

// The value of the first attribute named exactly "StepID", or null when there is none.
const char* StepIdText(const TiXmlElement& step)
{
    for (const TiXmlAttribute* a = step.FirstAttribute(); a; a = a->Next())
        if (std::string(a->Name()) == "StepID") return a->Value();
    return nullptr;
}

std::unique_ptr<CWizardError> BuildError(const TiXmlElement& element)
{
    auto error = std::make_unique<CWizardError>(&element);
    for (const TiXmlElement* step = element.FirstChildElement("Step"); step; step = step->NextSiblingElement("Step")) {
        const char* id = StepIdText(*step);
        if (!id) continue;  // a step that cannot be placed in the sequence
        auto record = std::make_unique<CWizardErrorStepInfo>(step);
        for (const TiXmlElement* action = step->FirstChildElement("Execute"); action;
             action = action->NextSiblingElement("Execute"))
            record->AddExecuter(CreateExecuter(*action));
        error->SetStep(std::atoi(id), std::move(record));
    }
    return error;
}

}  // namespace

CWizardDocument::CWizardDocument() = default;

CWizardDocument::~CWizardDocument() = default;

bool CWizardDocument::Load(const char* text)
{
    m_errors.clear();
    m_root = nullptr;
    m_document.reset(new TiXmlDocument);
    // The recipes nest four levels; far deeper text would only run the recursive parser out of stack.
    const int kMaxNesting = 64;
    if (!text || !wizard_xml::NestingWithin(text, kMaxNesting)) return false;
    const char* end = m_document->Parse(text, nullptr, TIXML_DEFAULT_ENCODING);
    // The parser stopped at text it could not take as a node, or the text is damaged (cut off, an attribute
    // without its closing quote): the document is not what it should be, and nothing of it is used.
    if ((end && *end) || m_document->Error()) {
        m_document.reset(new TiXmlDocument);
        return false;
    }
    m_root = m_document->FirstChildElement();
    if (!m_root) return false;
    for (const TiXmlElement* error = m_root->FirstChildElement("Error"); error;
         error = error->NextSiblingElement("Error"))
        m_errors.push_back(BuildError(*error));
    return true;
}

bool CWizardDocument::AnyStepWorking() const
{
    for (const auto& error : m_errors)
        for (const auto& step : error->Steps())
            if (step.second->IsWorking()) return true;
    return false;
}

void CWizardDocument::WaitForWorkers(DWORD timeoutMs) const
{
    const DWORD start = ::GetTickCount();
    for (const auto& error : m_errors) {
        for (const auto& step : error->Steps()) {
            if (!step.second->IsWorking()) continue;
            const DWORD elapsed = ::GetTickCount() - start;
            if (elapsed >= timeoutMs) return;
            qcore::WaitForHandle(step.second->WorkerHandle(), timeoutMs - elapsed, qcore::Pump::SentOnly);
        }
    }
}
