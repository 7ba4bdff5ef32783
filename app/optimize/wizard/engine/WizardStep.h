// One step (one page) of a repair wizard: its texts, its actions, and the state of its latest run.
//
// A run executes the actions in order on a worker thread, the first failure ending it; the caller's thread is not
// held up, and learns of the end through a callback that runs on the worker (the wizard posts itself a message
// from it). One worker per step at a time: a run asked for while an earlier one still works is refused. The caller
// may stop waiting (StopWaiting, the wizard's Finish): the actions then go on in the background, and the worker
// keeps whatever `keepAlive` owns (the wizard document) alive until it ends.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QGuards.h>
#include <QLock.h>

#include "ErrorWizardExecuter.h"

class TiXmlElement;

class CWizardErrorStepInfo {
public:
    // Called once per started run, on the worker thread (at once on the caller's thread for a step without
    // actions): true when every action succeeded.
    using Done = std::function<void(bool succeeded)>;

    explicit CWizardErrorStepInfo(const TiXmlElement* step);
    virtual ~CWizardErrorStepInfo();
    CWizardErrorStepInfo(const CWizardErrorStepInfo&) = delete;
    CWizardErrorStepInfo& operator=(const CWizardErrorStepInfo&) = delete;

    void AddExecuter(std::unique_ptr<CErrorWizardExecuter> executer);
    size_t ExecuterCount() const { return m_executers.size(); }

    // The attributes of the <Step> element (empty when absent).
    std::string Description() const;
    std::string PreDescription() const;
    // The error of the last failed action when it had one, else the step's ErrorDescription, else empty.
    std::string ErrorText() const;

    // Starts a run (see above). False when it is refused because an earlier run still works, or no thread could
    // be started; `done` is then not called.
    bool Start(std::shared_ptr<const void> keepAlive, Done done);
    // The caller no longer waits for the running actions (they go on).
    void StopWaiting() { m_running.store(false); }

    // True from the start of a run until its worker ends or the caller stops waiting.
    bool IsRunning() const { return m_running.load(); }
    // True while a worker of this step is still executing actions (also after StopWaiting).
    bool IsWorking() const { return m_started.load() != m_finished.load(); }
    // The result of the latest run's last action (true while nothing failed).
    bool LastResult() const { return m_result.load(); }
    // The worker's thread handle while one was started, for a bounded wait at shutdown.
    HANDLE WorkerHandle() const { return m_worker.Get(); }

private:
    void Work(unsigned run, const Done& done);

    const TiXmlElement* m_step;
    std::vector<std::unique_ptr<CErrorWizardExecuter>> m_executers;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_result{true};
    std::atomic<unsigned> m_started{0};   // number of the latest run started
    std::atomic<unsigned> m_finished{0};  // number of the latest run whose actions ended
    mutable qcore::Lock m_errorLock;
    std::string m_errorText;
    qcore::UniqueHandle m_worker;
};
