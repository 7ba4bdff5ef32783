// The repair wizards' recipe document (the program's resource "CONFIG" 388): a root element holding one <Error>
// per fault, each with numbered <Step>s whose <Execute> elements are the actions.
//
// Text the parser cannot take, a damaged text and one nested implausibly deep load nothing; within a sound text a
// <Step> without a StepID is left out, and a later <Step> with a StepID already used replaces the earlier one. Steps are visited 0, 1, 2, ...; a number
// missing from that run (a gap) ends the wizard there.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "WizardStep.h"

class TiXmlDocument;
class TiXmlElement;

class CWizardError {
public:
    explicit CWizardError(const TiXmlElement* error);
    virtual ~CWizardError();
    CWizardError(const CWizardError&) = delete;
    CWizardError& operator=(const CWizardError&) = delete;

    // The Description attribute: the text of the wizard's list and the key the user's choice is found by.
    std::string Description() const;
    // The number of distinct steps.
    int StepCount() const { return int(m_steps.size()); }
    // The step with that StepID, or null.
    CWizardErrorStepInfo* Step(int stepId) const;
    const std::map<int, std::unique_ptr<CWizardErrorStepInfo>>& Steps() const { return m_steps; }

    void SetStep(int stepId, std::unique_ptr<CWizardErrorStepInfo> step);

private:
    const TiXmlElement* m_error;
    std::map<int, std::unique_ptr<CWizardErrorStepInfo>> m_steps;
};

class CWizardDocument {
public:
    CWizardDocument();
    ~CWizardDocument();
    CWizardDocument(const CWizardDocument&) = delete;
    CWizardDocument& operator=(const CWizardDocument&) = delete;

    // Parses the text (ASCII, or UTF-8 with or without a byte-order mark) and builds the errors, replacing what an
    // earlier Load built. False, with no errors, when the text has no document element, carries text the parser
    // cannot read after it, reports a parse error (cut off, an unterminated attribute) or nests deeper than the
    // parser can safely follow.
    bool Load(const char* text);

    const std::vector<std::unique_ptr<CWizardError>>& Errors() const { return m_errors; }
    // True while a worker of any step still runs actions.
    bool AnyStepWorking() const;
    // Waits (dispatching only messages sent by other threads) up to timeoutMs in all for the steps' workers.
    void WaitForWorkers(DWORD timeoutMs) const;

private:
    std::unique_ptr<TiXmlDocument> m_document;
    const TiXmlElement* m_root = nullptr;
    std::vector<std::unique_ptr<CWizardError>> m_errors;
};
