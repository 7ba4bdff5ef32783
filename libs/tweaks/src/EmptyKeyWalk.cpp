#include "EmptyKeyWalk.h"

#include <QGuards.h>

#include <vector>

namespace tessik {

void WalkEmptyKeys(HKEY start, const std::wstring& basePath, const std::function<void(const std::wstring&)>& report)
{
    std::vector<std::wstring> pending{std::wstring()};  // paths relative to start, each beginning with "\"
    std::vector<wchar_t> name(1024);
    while (!pending.empty()) {
        const std::wstring relative = pending.back();
        pending.pop_back();
        qcore::UniqueRegKey opened;
        HKEY key = start;
        if (!relative.empty()) {
            if (RegOpenKeyExW(start, relative.c_str() + 1, 0, KEY_READ, opened.Put()) != ERROR_SUCCESS) continue;
            key = opened.Get();
        }
        DWORD subkeys = 0, values = 0;
        if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                             nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        const std::wstring path = basePath + relative;
        if (subkeys == 0 && values == 0) {
            report(path.empty() ? path : path.substr(1));
            continue;
        }
        std::vector<std::wstring> children;
        for (DWORD i = 0; i < subkeys; ++i) {
            if (RegEnumKeyW(key, i, name.data(), static_cast<DWORD>(name.size())) != ERROR_SUCCESS) break;
            children.emplace_back(name.data());
        }
        // Pushed in reverse, so the children are walked in enumeration order.
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            if (path.empty() && (lstrcmpiW(it->c_str(), L".DEFAULT") == 0 || it->size() > 10)) continue;
            pending.push_back(relative + L"\\" + *it);
        }
    }
}

}  // namespace tessik
