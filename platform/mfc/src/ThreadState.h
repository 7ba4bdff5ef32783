// Per-thread state of the layer: window-creation hook, the message being handled, temporary wrappers, loop depth.
#pragma once

#include "QMfc.h"

#include <map>
#include <utility>

namespace qmfc {

struct ThreadState {
    CWnd* pWndInit = nullptr;       // object waiting for its HWND in the creation hook
    HWND hWndInitParent = nullptr;  // the parent that creation was asked for
    HWND hWndCreating = nullptr;    // last window attached by the hook (found by CtlID during its creation)
    HHOOK hHook = nullptr;
    int hookDepth = 0;
    MSG lastMsg = {};
    int loopDepth = 0;
    int waitCount = 0;
    HCURSOR waitRestore = nullptr;
    std::map<HWND, CWnd*> tempWnd;
    std::map<HDC, CDC*> tempDC;
    std::map<std::pair<int, HGDIOBJ>, CGdiObject*> tempGdi;
    std::map<HMENU, CMenu*> tempMenu;
    std::map<HIMAGELIST, CImageList*> tempImageList;
};

ThreadState* GetThreadState();
// Deletes this thread's temporary GDI, DC and image-list wrappers, and the window and menu wrappers whose
// handle is gone (never the handles themselves).
void DeleteTempObjects();
// The HINSTANCE whose resources hold id/name of the given type: the resource module, else the program.
HINSTANCE FindResourceModule(LPCWSTR name, LPCWSTR type);

}  // namespace qmfc
