#include "WizardStep.h"

#include <tinyxml.h>

#include <QWorker.h>

namespace {

std::string AttributeOf(const TiXmlElement* element, const char* name)
{
    const char* value = element ? element->Attribute(name) : nullptr;
    return value ? value : "";
}

}  // namespace

CWizardErrorStepInfo::CWizardErrorStepInfo(const TiXmlElement* step) : m_step(step) {}

CWizardErrorStepInfo::~CWizardErrorStepInfo() = default;

void CWizardErrorStepInfo::AddExecuter(std::unique_ptr<CErrorWizardExecuter> executer)
{
    if (executer) m_executers.push_back(std::move(executer));
}

std::string CWizardErrorStepInfo::Description() const { return AttributeOf(m_step, "Description"); }

std::string CWizardErrorStepInfo::PreDescription() const { return AttributeOf(m_step, "PreDescription"); }

std::string CWizardErrorStepInfo::ErrorText() const
{
    {
        qcore::ScopedLock hold(m_errorLock);
        if (!m_errorText.empty()) return m_errorText;
    }
    return AttributeOf(m_step, "ErrorDescription");
}

bool CWizardErrorStepInfo::Start(std::shared_ptr<const void> keepAlive, Done done)
{
    if (IsWorking()) return false;
    m_result.store(true);
    if (m_executers.empty()) {
        if (done) done(true);
        return true;
    }
    const unsigned run = m_started.load() + 1;
    m_running.store(true);
    m_started.store(run);
    HANDLE thread = qcore::StartThread([this, run, keepAlive, done] { Work(run, done); });
    if (!thread) {
        m_finished.store(run);
        m_running.store(false);
        return false;
    }
    m_worker.Reset(thread);
    return true;
}

void CWizardErrorStepInfo::Work(unsigned run, const Done& done)
{
    bool succeeded = true;
    for (const std::unique_ptr<CErrorWizardExecuter>& executer : m_executers) {
        succeeded = executer->Run();
        m_result.store(succeeded);
        if (!succeeded) {
            const std::string text = AttributeOf(executer->Element(), "ErrorDescription");
            qcore::ScopedLock hold(m_errorLock);
            m_errorText = text;
            break;
        }
    }
    m_finished.store(run);
    m_running.store(false);
    if (done) done(succeeded);
}
