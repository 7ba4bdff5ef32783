#include "RegistryExecuter.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

#include <Common.h>
#include <QGuards.h>

namespace {

// A missing key or value is what a delete wants to reach.
LONG AbsentCountsAsDone(LONG status)
{
    return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND ? ERROR_SUCCESS : status;
}

LONG WriteValue(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const void* data, DWORD size,
                REGSAM view)
{
    qcore::UniqueRegKey key;
    LONG status = ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | view, nullptr,
                                    key.Put(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    return ::RegSetValueExW(key.Get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

}  // namespace

HKEY RegistryRootFromName(const std::string& name)
{
    static const struct {
        const char* name;
        HKEY root;
    } roots[] = {
        {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},   {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},     {"HKEY_USERS", HKEY_USERS},
        {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
    };
    for (const auto& r : roots)
        if (name == r.name) return r.root;
    return nullptr;
}

RegistryOperation RegistryOperationFromName(const std::string& name)
{
    static const char* const names[] = {"DELETE_VAL", "DELETE_TREE", "SET_DWORD_VAL", "SET_STRING_VAL",
                                        "SET_EXP_STRING_VAL"};
    for (int i = 0; i < 5; ++i)
        if (name == names[i]) return static_cast<RegistryOperation>(i);
    return kRegUnknownOperation;
}

DWORD DwordFromText(const std::string& text)
{
    // strtoll reads like atoi (blanks, sign, digits) and saturates instead of overflowing.
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<DWORD>(static_cast<unsigned long long>(value));
}

LONG CRegistryExecuter::Perform() const
{
    const HKEY root = RegistryRootFromName(Attribute("RegRoot"));
    const RegistryOperation op = RegistryOperationFromName(Attribute("RegOpType"));
    if (!root || op == kRegUnknownOperation) return ERROR_INVALID_PARAMETER;
    const REGSAM view = IsWow64() ? KEY_WOW64_64KEY : 0;
    const std::wstring path = WideAttribute("RegPath");
    const std::wstring name = WideAttribute("ValName");

    switch (op) {
    case kRegDeleteValue: return AbsentCountsAsDone(SBRegDeleteValueW(root, path.c_str(), name.c_str(), view));
    case kRegDeleteTree:
        // Common refuses an empty or all-backslash path, which would name the whole root.
        return AbsentCountsAsDone(SBRegDeleteTreeW(root, path.c_str(), view));
    case kRegSetDword: {
        const DWORD data = DwordFromText(Attribute("NewVal"));
        return WriteValue(root, path, name, REG_DWORD, &data, sizeof(data), view);
    }
    case kRegSetString:
    case kRegSetExpandString: {
        // Stored as written: an expandable string keeps %windir% and the like unexpanded.
        const std::wstring text = WideAttribute("NewVal");
        const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
        return WriteValue(root, path, name, op == kRegSetString ? REG_SZ : REG_EXPAND_SZ, text.c_str(), bytes, view);
    }
    default: return ERROR_INVALID_PARAMETER;
    }
}

bool CRegistryExecuter::Run() { return Perform() == ERROR_SUCCESS; }
