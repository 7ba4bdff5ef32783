// Records the engine's messages through a message-only window on the test's own thread, where the engine's
// SendMessageW calls arrive directly.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "RegistryData.h"

namespace bxtest {

struct Message {
    UINT msg;
    WPARAM wParam;
    std::wstring item;  // WM_REGCLEAN_ITEM: short root, key path and value name of the copy handed over
};

class MessageCapture {
public:
    MessageCapture();
    ~MessageCapture();
    HWND hwnd() const { return hwnd_; }
    std::vector<Message> messages;
    std::vector<UINT> Numbers() const;
    int Count(UINT msg) const;

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_;
};

// Selects exactly the results whose key path or value name contains the tag; returns how many.
int SelectTagged(CRegistryData& engine, const std::wstring& tag);
bool HasTag(const CRegistryData::SCAN_RESULT& r, const std::wstring& tag);

}  // namespace bxtest
