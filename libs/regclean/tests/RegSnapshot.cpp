#include "RegSnapshot.h"

#include <sqlite3.h>

#include <vector>

#include "RegNames.h"

namespace bxtest {

namespace {

void Walk(HKEY root, const std::wstring& full, const std::wstring& rel, Snapshot& out)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, full.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    out[L"K:" + rel] = std::string();
    DWORD maxName = 0, maxValue = 0, maxData = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &maxName, nullptr, nullptr, &maxValue, &maxData, nullptr,
                     nullptr);
    std::vector<wchar_t> name(std::max(maxName, maxValue) + 2);
    std::vector<BYTE> data(maxData + 2);
    for (DWORD i = 0;; ++i) {
        DWORD len = static_cast<DWORD>(name.size()), size = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueW(key, i, name.data(), &len, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) break;
        std::string record(reinterpret_cast<const char*>(&type), sizeof(type));
        record.append(reinterpret_cast<const char*>(data.data()), size);
        out[L"V:" + rel + L"|" + std::wstring(name.data(), len)] = record;
    }
    std::vector<std::wstring> children;
    for (DWORD i = 0;; ++i) {
        DWORD len = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.push_back(std::wstring(name.data(), len));
    }
    RegCloseKey(key);
    for (const std::wstring& c : children) Walk(root, bexlar::JoinKey(full, c), rel + L"\\" + c, out);
}

}  // namespace

Snapshot TakeSnapshot(HKEY root, const std::wstring& path)
{
    Snapshot s;
    Walk(root, path, L"", s);
    return s;
}

std::wstring DescribeDifference(const Snapshot& a, const Snapshot& b)
{
    std::wstring out;
    for (const auto& e : a) {
        auto it = b.find(e.first);
        if (it == b.end())
            out += L"only before: " + e.first + L"\n";
        else if (it->second != e.second)
            out += L"changed: " + e.first + L"\n";
    }
    for (const auto& e : b)
        if (!a.count(e.first)) out += L"only after: " + e.first + L"\n";
    return out;
}

int RestoreFromDb(const std::wstring& dbPath, const std::wstring& tag)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(bexlar::Utf8(dbPath).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return -1;
    sqlite3_stmt* s = nullptr;
    const char* sql =
        "select type, root, subroot, valuekey, valuetype, datasize, datareg from datainfo "
        "where instr(subroot, ?1) > 0 or instr(valuekey, ?1) > 0 order by rowid";
    int used = 0;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) == SQLITE_OK) {
        std::string t = bexlar::Utf8(tag);
        sqlite3_bind_text(s, 1, t.c_str(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(s) == SQLITE_ROW) {
            auto text = [&](int i) {
                const unsigned char* p = sqlite3_column_text(s, i);
                return p ? std::string(reinterpret_cast<const char*>(p), sqlite3_column_bytes(s, i)) : std::string();
            };
            HKEY root = bexlar::RootFromFullName(text(1));
            std::wstring path = bexlar::FromUtf8(text(2));
            // A registry link was backed up as its one REG_LINK value: it comes back as a link.
            const bool link = sqlite3_column_int(s, 0) == 0 && sqlite3_column_int64(s, 4) == REG_LINK &&
                              text(3) == "SymbolicLinkValue";
            HKEY key = nullptr;
            if (!root ||
                RegCreateKeyExW(root, path.c_str(), 0, nullptr, link ? REG_OPTION_CREATE_LINK : 0,
                                KEY_ALL_ACCESS | (link ? KEY_CREATE_LINK : 0), nullptr, &key, nullptr) != ERROR_SUCCESS)
                continue;
            if (sqlite3_column_int(s, 0) == 0) {
                const void* blob = sqlite3_column_blob(s, 6);
                RegSetValueExW(key, bexlar::FromUtf8(text(3)).c_str(), 0,
                               static_cast<DWORD>(sqlite3_column_int64(s, 4)), static_cast<const BYTE*>(blob),
                               static_cast<DWORD>(sqlite3_column_int64(s, 5)));
            }
            RegCloseKey(key);
            ++used;
        }
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return used;
}

}  // namespace bxtest
