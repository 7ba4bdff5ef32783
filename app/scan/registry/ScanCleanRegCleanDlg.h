// The registry scan-and-clean page: two steps over one registry engine.
#pragma once

#include "FunctionDlg.h"
#include "RegistryData.h"
#include "ScanCleanRegCleanStep0.h"
#include "ScanCleanRegCleanStep1.h"

class CScanCleanRegCleanDlg : public CFunctionDlg {
public:
    CScanCleanRegCleanDlg();
    ~CScanCleanRegCleanDlg() override;

    void OnInitPage() override;

    CScanCleanRegCleanStep0& GetStep0() { return m_step0; }
    CScanCleanRegCleanStep1& GetStep1() { return m_step1; }
    CRegistryData& GetEngine() { return m_engine; }

protected:
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    CRegistryData m_engine;
    CScanCleanRegCleanStep0 m_step0;
    CScanCleanRegCleanStep1 m_step1;
};
