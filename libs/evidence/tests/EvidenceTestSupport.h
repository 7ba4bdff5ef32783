#pragma once

#include <windows.h>

#include <SysEvidence.h>

#include <string>
#include <vector>

#include "MessageRecorder.h"

namespace LumbreyTest {

using Item = Lumbrey::CSysEvidence::ScanResultItem;

// The four dispatchers in order, so tests can run a number through each of them.
inline void RunDispatcher(Lumbrey::CSysEvidence& ev, int dispatcher, int number, std::vector<Item>& items)
{
    switch (dispatcher) {
    case 0: ev.ScanInternetExplorer(number, items); break;
    case 1: ev.ScanWindowsSoftware(number, items); break;
    case 2: ev.ScanWindowsSystem(number, items); break;
    default: ev.ScanInternetSoftware(number, items); break;
    }
}

// Runs a number through every dispatcher.
inline std::vector<Item> ScanNumber(Lumbrey::CSysEvidence& ev, int number)
{
    std::vector<Item> items;
    for (int d = 0; d < 4; ++d) RunDispatcher(ev, d, number, items);
    return items;
}

inline MessageRecorder EvidenceRecorder()
{
    return MessageRecorder(WM_EVIDENCE_ITEM_FOUND, WM_EVIDENCE_ITEM_FOUND, {});
}

std::wstring SpecialFolder(int csidl);

// Moves the file to the recycle bin the way Explorer does.
bool MoveToRecycleBin(const std::wstring& path);

}  // namespace LumbreyTest
