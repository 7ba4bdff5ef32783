// A tiny program on the layer's own entry point: "fail N" makes InitInstance return FALSE with exit code N,
// "quit N" returns TRUE and posts WM_QUIT(N) to the message loop.
#include "QMfc.h"

#include <cwchar>

class CProbeApp : public CWinApp {
public:
    int code = 0;
    BOOL InitInstance() override
    {
        wchar_t mode[16] = {};
        swscanf(m_lpCmdLine, L"%15ls %d", mode, &code);
        if (wcscmp(mode, L"quit") == 0) {
            PostQuitMessage(code);
            return TRUE;
        }
        return FALSE;
    }
    int ExitInstance() override { return wcsncmp(m_lpCmdLine, L"fail", 4) == 0 ? code : CWinApp::ExitInstance(); }
};

CProbeApp theApp;
