#include "Dictionary.h"

#include "CaptionKeys.h"

#include <memory>
#include <wchar.h>

#include "QGuards.h"

namespace nsVendrel {

namespace {

CRBDictionary* g_dictionary = nullptr;

int Ask(const CString& text, UINT buttons)
{
    return ::MessageBoxW(nullptr, text, L"Quorvel", buttons | MB_ICONWARNING | MB_TASKMODAL);
}

bool FileExists(const CString& path) { return ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

// The file's content as UTF-16 units; false when it cannot be opened, mapped or is empty.
bool ReadUnits(const CString& file, std::wstring& units)
{
    const qcore::UniqueFile h(::CreateFileW(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) return false;
    const DWORD size = ::GetFileSize(h.Get(), nullptr);
    if (size == 0 || size == INVALID_FILE_SIZE) return false;
    const qcore::UniqueHandle map(::CreateFileMappingW(h.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!map) return false;
    const void* view = ::MapViewOfFile(map.Get(), FILE_MAP_READ, 0, 0, 0);
    if (!view) return false;
    units.assign(static_cast<const wchar_t*>(view), size / sizeof(wchar_t));
    ::UnmapViewOfFile(view);
    return true;
}

}  // namespace

CRBDictionary::CRBDictionary(CString path, int bFile)
{
    if (bFile) {
        WIN32_FIND_DATAW fd;
        if (!qcore::UniqueFind(::FindFirstFileW(path, &fd))) {
            Ask(L"没有找到字典文件", MB_OK);
            return;
        }
        LoadDictionary(path);
        return;
    }
    LoadFolder(path);
}

void CRBDictionary::LoadFolder(CString path)
{
    path.TrimRight(L'\\');
    if (!qcore::UniqueFile(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS, nullptr))) {
        Ask(L"初始化字典目录失败！", MB_OK);
        return;
    }
    m_strFolder = path;

    WIN32_FIND_DATAW fd;
    const qcore::UniqueFind find(::FindFirstFileW(path + L"\\*.ini", &fd));
    if (!find) {
        Ask(L"没有找到字典文件", MB_OK);
        return;
    }
    do {
        CString name = fd.cFileName;
        name.Trim();
        if (name.GetLength() < 4 || name.Right(4).CompareNoCase(L".ini") != 0) continue;
        if (LoadDictionary(path + L"\\" + name) >= 0) continue;
        CString question;
        question.Format(L"加载字典%s出现错误,是否继续？", name.GetString());
        if (Ask(question, MB_YESNO) == IDNO) {
            ResetContent();
            return;
        }
    } while (::FindNextFileW(find.Get(), &fd));
}

CRBDictionary::~CRBDictionary() { ResetContent(); }

long CRBDictionary::ResetContent()
{
    m_files.ForEach([](ULONG, DICITEMINFO* info) {
        delete info->pTexts;
        delete info;
    });
    m_files.Clear();
    return 0;
}

long CRBDictionary::LoadDictionary(CString file)
{
    if (!FileExists(file)) return -1;
    try {
        // The file is read once: its id comes from the same units as its texts.
        const ULONG kNoId = 0xFFFFFFFFul;
        std::wstring units;
        const bool read = ReadUnits(file, units);
        const ULONG id = read ? DictionaryMainId(units.data(), units.size(), kNoId) : kNoId;
        if (m_files.Lookup(id)) return 0;  // the first file with an id wins
        auto info = std::make_unique<DICITEMINFO>();
        info->pTexts = new DictionaryTexts;
        DICITEMINFO* record = info.release();
        m_files.Add(id, record);

        if (!read) return 0;  // stays loaded without texts
        *record->pTexts = ParseDictionaryText(PrepareDictionaryText(units.data(), units.size()));
        record->strFileName = file;
        return 0;
    } catch (...) {
        Ask(L"Error in Loading Dictionary " + file, MB_OK);
        return -1;
    }
}

long CRBDictionary::VerifyDictionary()
{
    if (m_files.IsEmpty()) return -1;
    long result = 0;
    m_files.ForEach([&](ULONG, DICITEMINFO* info) {
        if (result == 0 && info->pTexts->empty()) result = -2;
    });
    if (result == 0 && m_strFolder.IsEmpty()) result = -3;
    return result;
}

CString CRBDictionary::Find(CString key, ULONG mainId, int bSearchAll)
{
    CString result = key;
    const std::wstring& k = key.Str();
    if (!bSearchAll) {
        if (DICITEMINFO* info = m_files.Lookup(mainId)) {
            auto it = info->pTexts->find(k);
            if (it != info->pTexts->end()) result = it->second.c_str();
        }
        return result;
    }
    bool found = false;
    m_files.ForEach([&](ULONG, DICITEMINFO* info) {
        if (found) return;
        auto it = info->pTexts->find(k);
        if (it != info->pTexts->end()) {
            result = it->second.c_str();
            found = true;
        }
    });
    return result;
}

CString CRBDictionary::Translate(CString key, ULONG mainId, int bSearchAll) { return Find(key, mainId, bSearchAll); }

long CRBDictionary::Add(CString key, CString text, ULONG mainId)
{
    DICITEMINFO* info = m_files.Lookup(mainId);
    if (!info) return -1;
    try {
        // A file that could not be read has no name; writing then would land in win.ini.
        if (!info->strFileName.IsEmpty()) ::WritePrivateProfileStringW(key, L"1", text, info->strFileName);
        (*info->pTexts)[key.Str()] = text.Str();
    } catch (...) {
        Ask(L"Error in Add Dictionary Item!", MB_OK);
    }
    return 0;
}

CString CRBDictionary::GetDicFileName(ULONG mainId)
{
    DICITEMINFO* info = m_files.Lookup(mainId);
    return info ? info->strFileName : CString();
}

void CRBDictionary::CollectKeysByText(std::map<std::wstring, std::wstring>& keysByText) const
{
    m_files.ForEach([&](ULONG, DICITEMINFO* info) {
        for (const auto& entry : *info->pTexts) keysByText.emplace(entry.second, entry.first);
    });
}

BYTE* CRBDictionary::GetOneSection(BYTE* begin, BYTE* end, CString& section, CString& key, CString& value)
{
    wchar_t* p = reinterpret_cast<wchar_t*>(begin);
    wchar_t* const e = reinterpret_cast<wchar_t*>(end);
    auto lineLength = [&](const wchar_t* s) { return wcsnlen(s, static_cast<size_t>(e - s)); };
    if (p >= e) return begin;
    if (*p == L'\0') return reinterpret_cast<BYTE*>(p + 1);

    while (p < e && *p != L'[') ++p;
    if (p >= e) return reinterpret_cast<BYTE*>(p);
    size_t len = lineLength(p);
    CString header(p + 1, static_cast<int>(len) - 1);
    if (!header.IsEmpty() && header.GetAt(header.GetLength() - 1) == L']') header = header.Left(header.GetLength() - 1);
    section = header;
    p += len + 1;

    while (p < e) {
        len = lineLength(p);
        if (len == 0 || *p == L'[') break;
        if (*p != L';') {
            CString line(p, static_cast<int>(len));
            int eq = line.Find(L'=');
            if (eq >= 0) {
                CString name = line.Left(eq);
                name.Trim();
                if (name.CompareNoCase(key) == 0) {
                    value = line.Mid(eq + 1);
                    value.Trim();
                }
            }
        }
        p += len + 1;
    }
    return reinterpret_cast<BYTE*>(p < e ? p : e);
}

long LoadDictionarys(CString folder)
{
    delete g_dictionary;
    g_dictionary = nullptr;
    bool absolute = (folder.GetLength() > 1 && folder[1] == L':') || folder.Left(2).Compare(L"\\\\") == 0;
    if (!absolute) {
        wchar_t current[MAX_PATH] = L"";
        ::GetCurrentDirectoryW(MAX_PATH, current);
        folder = CString(current) + L"\\" + folder;
    }
    g_dictionary = new CRBDictionary(folder, 0);
    Shell::FollowCaptions();
    return g_dictionary->VerifyDictionary();
}

std::map<std::wstring, std::wstring> KeysByText()
{
    std::map<std::wstring, std::wstring> keysByText;
    if (g_dictionary) g_dictionary->CollectKeysByText(keysByText);
    return keysByText;
}

CString TranslateCode(CString key, ULONG mainId, int bSearchAll)
{
    if (!g_dictionary) return key;
    CString text = g_dictionary->Translate(key, mainId, bSearchAll);
    Shell::NoteTranslation(Shell::TextSource{key.GetString(), mainId, bSearchAll}, text.GetString());
    return text;
}

}  // namespace nsVendrel
