#include "RegWalk.h"

#include <vector>

#include "QGuards.h"

namespace bexlar {

void WalkSubKeys(HKEY root, const wchar_t* subKey, SubKeyCallback callback, void* user)
{
    qcore::UniqueRegKey owner;
    if (RegOpenKeyExW(root, subKey, 0, KEY_READ, owner.Put()) != ERROR_SUCCESS) return;
    const HKEY key = owner.Get();
    DWORD count = 0, maxName = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, &maxName, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr) == ERROR_SUCCESS) {
        std::vector<wchar_t> name(maxName + 1);
        for (DWORD i = 0; i < count; ++i) {
            DWORD len = static_cast<DWORD>(name.size());
            if (RegEnumKeyExW(key, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                name[0] = 0;
            if (!callback(key, name.data(), user)) break;
        }
    }
}

void WalkValues(HKEY root, const wchar_t* subKey, ValueCallback callback, void* user)
{
    qcore::UniqueRegKey owner;
    if (RegOpenKeyExW(root, subKey, 0, KEY_READ, owner.Put()) != ERROR_SUCCESS) return;
    const HKEY key = owner.Get();
    DWORD count = 0, maxName = 0, maxData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName, &maxData, nullptr,
                         nullptr) == ERROR_SUCCESS) {
        std::vector<wchar_t> name(maxName + 1);
        // Room for a terminator after string data that was stored without one.
        std::vector<BYTE> data(maxData + sizeof(wchar_t));
        for (DWORD i = 0; i < count; ++i) {
            DWORD nameLen = static_cast<DWORD>(name.size());
            DWORD size = maxData, type = REG_NONE;
            if (RegEnumValueW(key, i, name.data(), &nameLen, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) {
                name[0] = 0;
                size = 0;
                type = REG_NONE;
            }
            data[size] = 0;
            data[size + 1] = 0;
            if (!callback(key, name.data(), data.data(), type, size, user)) break;
        }
    }
}

}  // namespace bexlar
