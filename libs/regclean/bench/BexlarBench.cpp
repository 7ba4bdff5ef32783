// Benchmark of the registry engine: seeds a large hive, then in paired runs times
//   (a) a full scan against its floor: a bare recursive walk of the table's keys plus one existence check per
//       distinct path found there;
//   (b) a clean of 10,000 entries against bare deletes of the same entries (each side seeds its own, untimed).
// Goals: scan <= 1.3x floor, clean <= 2x bare deletes. Run it through bench/run.sh (pairs: QUORVEL_BENCH_PAIRS).
#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "RegNames.h"
#include "ScanKeys.h"
#include "RegistryData.h"
#include "PairedRuns.h"

using namespace bexlar;

namespace {

long g_keys = 0;

HKEY Create(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    DWORD disp = 0;
    RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disp);
    if (disp == REG_CREATED_NEW_KEY) ++g_keys;
    return key;
}

void SetSz(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value)
{
    HKEY key = Create(root, path);
    RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void SetDw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD v)
{
    HKEY key = Create(root, path);
    RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof(v));
    RegCloseKey(key);
}

std::wstring N(const wchar_t* prefix, int i) { return prefix + std::to_wstring(i); }

struct Seed {
    std::wstring dir;                 // existing files live here
    std::vector<std::wstring> files;  // ten shared existing files
    std::wstring Good(int i) const { return files[i % files.size()]; }
    std::wstring Bad(int i) const { return dir + L"\\gone\\f" + std::to_wstring(i) + L".dll"; }
};

// About 60,000 keys, with about 2,000 bad entries spread over the categories.
int SeedHive(const Seed& s)
{
    const HKEY CR = HKEY_CLASSES_ROOT, LM = HKEY_LOCAL_MACHINE, CU = HKEY_CURRENT_USER;
    int bad = 0;
    for (int i = 0; i < 12000; ++i) {  // COM classes: 24,000 keys
        bool b = i % 40 == 0;
        SetSz(CR, L"CLSID\\{bxbench-" + std::to_wstring(i) + L"}\\InprocServer32", L"", b ? s.Bad(i) : s.Good(i));
        bad += b;
    }
    for (int i = 0; i < 8000; ++i) {  // program identifiers: 32,000 keys
        bool b = i % 27 == 0;
        std::wstring prog = N(L"bxbenchProg", i);
        SetSz(CR, prog + L"\\shell\\open\\command", L"", L"\"" + (b ? s.Bad(i) : s.Good(i)) + L"\" /open \"%1\"");
        if (i % 4 == 0) SetSz(CR, prog + L"\\DefaultIcon", L"", s.Good(i) + L",1");
        bad += b;
    }
    for (int i = 0; i < 2000; ++i) {  // extensions
        bool b = i % 10 == 0;
        SetSz(CR, N(L".bxb", i), L"", b ? N(L"bxbenchMissing", i) : N(L"bxbenchProg", i));
        bad += b;
    }
    for (int i = 0; i < 1000; ++i) {  // type libraries: 4,000 keys
        bool b = i % 10 == 0;
        SetSz(CR, L"TypeLib\\{bxbench-" + std::to_wstring(i) + L"}\\1.0\\0\\win32", L"", b ? s.Bad(i) : s.Good(i));
        bad += b;
    }
    for (int i = 0; i < 2000; ++i) {
        bool b = i % 10 == 0;
        SetDw(LM, kSharedDlls, b ? s.Bad(i) : s.dir + L"\\shared" + std::to_wstring(i % 10) + L".dll", 1);
        bad += b;
        std::wstring ext = N(L".bxb", i);
        if (b)
            Create(CU, std::wstring(kFileExts) + N(L".bxgone", i) + L"\\OpenWithList");
        else
            SetSz(CU, std::wstring(kFileExts) + ext + L"\\UserChoice", L"Progid", N(L"bxbenchProg", i));
        bad += b;
    }
    for (int i = 0; i < 1000; ++i) {
        bool b = i % 10 == 0;
        SetSz(CU, kMuiCache, b ? s.Bad(i) : s.dir + L"\\mui" + std::to_wstring(i % 10) + L".exe", L"x");
        SetSz(LM, std::wstring(kAppPaths) + N(L"bxbench", i) + L".exe", L"", b ? s.Bad(i) : s.Good(i));
        SetSz(LM, std::wstring(kUninstall) + N(L"bxbench", i), L"UninstallString",
              L"\"" + (b ? s.Bad(i) : s.Good(i)) + L"\" /uninstall");
        bad += 3 * b;
    }
    for (int i = 0; i < 500; ++i) {
        bool b = i % 10 == 0;
        SetSz(LM, i % 2 ? kHelp : kHtmlHelp, N(L"bxbench", i) + L".hlp", b ? s.dir + L"\\gone" : s.dir);
        Create(CU, std::wstring(kMenuOrder) + (b ? N(L"bxbenchGone", i) : std::wstring(L"")));
        bad += 2 * b;
    }
    for (int i = 0; i < 100; ++i) {
        for (int v = 0; v < 10; ++v) {
            bool b = v == 0;
            SetSz(CU, std::wstring(kOpenSaveMru) + N(L"bx", i), std::wstring(1, static_cast<wchar_t>(L'a' + v)),
                  b ? s.Bad(i) : s.Good(i + v));
            bad += b;
        }
    }
    return bad;
}

// ---- the floor -------------------------------------------------------------------------------------------

struct Floor {
    long keys = 0, values = 0;
    std::set<std::wstring> paths;
};

void CollectPath(const std::wstring& text, Floor& f)
{
    size_t colon = text.find(L":\\");
    if (colon == std::wstring::npos || colon == 0) return;
    std::wstring p = text.substr(colon - 1);
    size_t end = p.find_first_of(L"\",");
    if (end != std::wstring::npos) p.resize(end);
    for (auto& c : p) c = towlower(c);
    f.paths.insert(p);
}

void WalkTree(HKEY root, const std::wstring& path, Floor& f, const std::set<std::wstring>* skip)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    ++f.keys;
    DWORD subKeys = 0, maxName = 0, values = 0, maxValue = 0, maxData = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &maxName, nullptr, &values, &maxValue, &maxData, nullptr,
                     nullptr);
    std::vector<wchar_t> name(std::max(maxName, maxValue) + 2);
    std::vector<BYTE> data(maxData + 4);
    for (DWORD i = 0; i < values; ++i) {
        DWORD len = static_cast<DWORD>(name.size()), size = maxData + 2, type = 0;
        if (RegEnumValueW(key, i, name.data(), &len, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) continue;
        ++f.values;
        CollectPath(std::wstring(name.data(), len), f);
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
            data[size] = data[size + 1] = 0;
            CollectPath(reinterpret_cast<const wchar_t*>(data.data()), f);
        }
    }
    std::vector<std::wstring> children;
    for (DWORD i = 0; i < subKeys; ++i) {
        DWORD len = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
            children.push_back(std::wstring(name.data(), len));
    }
    RegCloseKey(key);
    for (const std::wstring& c : children) {
        if (skip && skip->count(c)) continue;
        WalkTree(root, path.empty() ? c : path + L"\\" + c, f, nullptr);
    }
}

Floor RunFloor()
{
    Floor f;
    const struct {
        HKEY root;
        const wchar_t* path;
    } table[] = {{HKEY_LOCAL_MACHINE, kSharedDlls}, {HKEY_CURRENT_USER, kOpenSaveMru}, {HKEY_CURRENT_USER, kFileExts},
                 {HKEY_CURRENT_USER, kMenuOrder},   {HKEY_CURRENT_USER, kMuiCache},    {HKEY_LOCAL_MACHINE, kHelp},
                 {HKEY_LOCAL_MACHINE, kHtmlHelp},   {HKEY_LOCAL_MACHINE, kAppPaths},   {HKEY_LOCAL_MACHINE, kUninstall},
                 {HKEY_CLASSES_ROOT, L"CLSID"},     {HKEY_CLASSES_ROOT, L"TypeLib"}};
    for (const auto& t : table) {
        std::wstring p = t.path;
        if (!p.empty() && p.back() == L'\\') p.pop_back();
        WalkTree(t.root, p, f, nullptr);
    }
    // The root of the classes: every direct subkey with its shell\open\command and DefaultIcon keys.
    std::set<std::wstring> walked = {L"CLSID", L"TypeLib"};
    HKEY cr = HKEY_CLASSES_ROOT;
    DWORD count = 0, maxName = 0;
    RegQueryInfoKeyW(cr, nullptr, nullptr, nullptr, &count, &maxName, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr);
    std::vector<wchar_t> name(maxName + 2);
    for (DWORD i = 0; i < count; ++i) {
        DWORD len = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(cr, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) continue;
        std::wstring n(name.data(), len);
        if (walked.count(n)) continue;
        HKEY k = nullptr;
        if (RegOpenKeyExW(cr, n.c_str(), 0, KEY_READ, &k) == ERROR_SUCCESS) {
            ++f.keys;
            RegCloseKey(k);
        }
        WalkTree(cr, n + L"\\shell\\open\\command", f, nullptr);
        WalkTree(cr, n + L"\\DefaultIcon", f, nullptr);
    }
    for (const std::wstring& p : f.paths) GetFileAttributesW(p.c_str());
    return f;
}

// ---- the clean -------------------------------------------------------------------------------------------

struct CleanItem {
    HKEY root;
    std::wstring key, value;  // an empty value: the key with everything below it
};

std::vector<CleanItem> SeedCleanItems(const Seed& s, const std::wstring& tag)
{
    std::vector<CleanItem> items;
    for (int i = 0; i < 6000; ++i) {
        std::wstring name = s.dir + L"\\gone\\" + tag + std::to_wstring(i) + L".dll";
        SetDw(HKEY_LOCAL_MACHINE, kSharedDlls, name, 1);
        items.push_back({HKEY_LOCAL_MACHINE, kSharedDlls, name});
    }
    for (int i = 0; i < 4000; ++i) {
        std::wstring key = std::wstring(kAppPaths) + tag + std::to_wstring(i) + L".exe\\";
        SetSz(HKEY_LOCAL_MACHINE, key, L"", s.dir + L"\\gone\\" + tag + L".exe");
        SetSz(HKEY_LOCAL_MACHINE, key, L"Path", s.dir);
        SetSz(HKEY_LOCAL_MACHINE, key + L"SupportedTypes", L".txt", L"");
        items.push_back({HKEY_LOCAL_MACHINE, key, L""});
    }
    return items;
}

bool CleanFilter(REG_SCAN_TYPE type, void*) { return type == RST_SHAREDDLL || type == RST_APPPATH; }

}  // namespace

int main()
{
    Seed s;
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH, temp);
    s.dir = std::wstring(temp) + L"bxbench";
    CreateDirectoryW(s.dir.c_str(), nullptr);
    for (int i = 0; i < 10; ++i) {
        std::wstring f = s.dir + L"\\shared" + std::to_wstring(i) + L".dll";
        HANDLE h = CreateFileW(f.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(h);
        s.files.push_back(f);
        h = CreateFileW((s.dir + L"\\mui" + std::to_wstring(i) + L".exe").c_str(), GENERIC_WRITE, 0, nullptr,
                        CREATE_ALWAYS, 0, nullptr);
        CloseHandle(h);
    }

    long before = RunFloor().keys;
    double t0 = bench::Now();
    int bad = SeedHive(s);
    std::printf("seeded %ld keys, %d bad entries in %.1f s\n", RunFloor().keys - before, bad, bench::Now() - t0);

    const int pairs = bench::PairsFromEnvironment(7);
    CRegistryData engine;
    Floor floor = RunFloor();  // warms the caches for both sides
    bench::RunPairs(
        "registry scan", "key walk + path checks", pairs, [&] { return bench::Time([&] { floor = RunFloor(); }); },
        [&] { return bench::Time([&] { engine.Scan(nullptr, nullptr, nullptr, nullptr); }); });
    std::printf("floor: %ld keys, %ld values, %zu distinct paths; scan: %zu results\n", floor.keys, floor.values,
                floor.paths.size(), engine.GetResults().size());

    int round = 0, selected = 0, failed = 0;
    long status = 0;
    size_t bareItems = 0;
    bench::RunPairs(
        "registry clean", "bare deletes", pairs,
        [&] {
            std::vector<CleanItem> items = SeedCleanItems(s, L"bxbare" + std::to_wstring(++round) + L"-");
            bareItems = items.size();
            return bench::Time([&] {
                for (const CleanItem& it : items) {
                    if (it.value.empty())
                        SHDeleteKeyW(it.root, it.key.c_str());
                    else
                        SHDeleteValueW(it.root, it.key.c_str(), it.value.c_str());
                }
            });
        },
        [&] {
            const std::wstring tag = L"bxclean" + std::to_wstring(++round) + L"-";
            SeedCleanItems(s, tag);
            CRegistryData cleaner;
            cleaner.Scan(&CleanFilter, nullptr, nullptr, nullptr);
            selected = 0;
            for (const auto& r : cleaner.GetResults()) {
                cleaner.Select(r, r.data.subKey.find(tag) != std::wstring::npos ||
                                      r.data.valueName.find(tag) != std::wstring::npos);
                selected += cleaner.IsSelected(r);
            }
            const double seconds = bench::Time([&] { status = cleaner.Clean(nullptr, nullptr); });
            failed = cleaner.CleanFailed();
            return seconds;
        });
    std::printf("clean: %d items selected, status %ld, failed %d; bare deletes: %zu items\n", selected, status, failed,
                bareItems);
    return 0;
}
