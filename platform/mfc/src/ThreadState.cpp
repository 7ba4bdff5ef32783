// Per-thread state and the temporary wrappers handed out by FromHandle.
#include "ThreadState.h"

namespace qmfc {

ThreadState* GetThreadState()
{
    // A plain pointer (no thread-exit destructor): the state of a finished thread is small and is not reclaimed.
    static thread_local ThreadState* state = nullptr;
    if (!state) state = new ThreadState;
    return state;
}

void DeleteTempObjects()
{
    ThreadState* ts = GetThreadState();
    // Window and menu wrappers stay while their handle lives (code often keeps GetDlgItem results); the
    // others go. Swap the maps out first: a destructor must not see a half-cleared map.
    for (auto it = ts->tempWnd.begin(); it != ts->tempWnd.end();) {
        if (IsWindow(it->first)) {
            ++it;
            continue;
        }
        it->second->m_hWnd = NULL;
        delete it->second;
        it = ts->tempWnd.erase(it);
    }
    std::map<HDC, CDC*> dcs;
    dcs.swap(ts->tempDC);
    for (auto& e : dcs) {
        e.second->Detach();
        delete e.second;
    }
    std::map<std::pair<int, HGDIOBJ>, CGdiObject*> gdis;
    gdis.swap(ts->tempGdi);
    for (auto& e : gdis) {
        e.second->Detach();
        delete e.second;
    }
    for (auto it = ts->tempMenu.begin(); it != ts->tempMenu.end();) {
        if (IsMenu(it->first)) {
            ++it;
            continue;
        }
        it->second->Detach();
        delete it->second;
        it = ts->tempMenu.erase(it);
    }
    std::map<HIMAGELIST, CImageList*> lists;
    lists.swap(ts->tempImageList);
    for (auto& e : lists) {
        e.second->Detach();
        delete e.second;
    }
}

HINSTANCE FindResourceModule(LPCWSTR name, LPCWSTR type)
{
    HINSTANCE res = AfxGetResourceHandle();
    if (FindResourceW(res, name, type)) return res;
    HINSTANCE exe = GetModuleHandleW(NULL);
    if (exe != res && FindResourceW(exe, name, type)) return exe;
    return res;
}

}  // namespace qmfc

void CWnd::DeleteTempMap() { qmfc::DeleteTempObjects(); }
