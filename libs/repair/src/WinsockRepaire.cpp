#include "Moravin/WinsockRepaire.h"

#include <Common.h>
#include <QGuards.h>

#include "Moravin/SystemProgram.h"
#include "PackedCatalogItem.h"

namespace Moravin {

const wchar_t* const CWinsockRepaire::kCatalogKey =
    L"System\\CurrentControlSet\\Services\\Winsock2\\Parameters\\Protocol_Catalog9\\Catalog_Entries";

bool CWinsockRepaire::GetAllWinsockItems(std::vector<WinsockItem>& items)
{
    std::vector<std::wstring> names;
    EnumWinsockKeys(kCatalogKey, names);
    for (const std::wstring& name : names) {
        WinsockItem item;
        item.entryKey = name;
        // Reading needs no write access: the list works without administrator rights too.
        qcore::UniqueRegKey entry;
        const std::wstring path = std::wstring(kCatalogKey) + L"\\" + name;
        if (SBRegOpenKeyW(HKEY_LOCAL_MACHINE, path.c_str(), KEY_READ, entry.Put()) == ERROR_SUCCESS) {
            BYTE buffer[kMaxItemSize + 1] = {};
            DWORD size = kMaxItemSize, type = 0;
            if (RegQueryValueExW(entry.Get(), L"PackedCatalogItem", nullptr, &type, buffer, &size) == ERROR_SUCCESS &&
                type == REG_BINARY) {
                CatalogItemText text = ParsePackedCatalogItem(buffer, size);
                item.providerPath = std::move(text.providerPath);
                item.protocolName = std::move(text.protocolName);
            }
        }
        items.push_back(std::move(item));
    }
    return true;
}

bool CWinsockRepaire::RepaireWinsock()
{
    return RunSystemProgram(L"netsh.exe", L"winsock reset", kResetTimeoutMs).Succeeded();
}

void CWinsockRepaire::EnumWinsockKeys(std::wstring keyPath, std::vector<std::wstring>& names)
{
    qcore::UniqueRegKey key;
    if (SBRegOpenKeyW(HKEY_LOCAL_MACHINE, keyPath.c_str(), KEY_READ, key.Put()) != ERROR_SUCCESS) return;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256] = {};
        DWORD length = 256;
        if (RegEnumKeyExW(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
}

}  // namespace Moravin
