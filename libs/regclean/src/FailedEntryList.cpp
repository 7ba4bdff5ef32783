#include "FailedEntryList.h"

#include <tinyxml.h>

#include <cstdio>

#include "DatCodec.h"
#include "QPathText.h"
#include "QGuards.h"
#include "RegNames.h"

namespace bexlar {

CFailedEntryList& CFailedEntryList::Instance()
{
    // Never destroyed: a worker may still use it while the process ends.
    static CFailedEntryList* list = new CFailedEntryList();
    return *list;
}

CFailedEntryList::CFailedEntryList() : map_(17) {}

void CFailedEntryList::Add(const std::wstring& text)
{
    if (text.empty()) return;
    std::wstring key = qpath::FoldCase(text);
    qcore::ScopedLock lock(lock_);
    if (map_.emplace(key, 1).second) order_.push_back(key);
}

bool CFailedEntryList::Contains(const std::wstring& text)
{
    if (text.empty()) return false;
    std::wstring key = qpath::FoldCase(text);
    qcore::ScopedLock lock(lock_);
    return map_.count(key) != 0;
}

std::vector<std::wstring> CFailedEntryList::Entries()
{
    qcore::ScopedLock lock(lock_);
    return order_;
}

std::string BuildFailedEntryDocument(const std::vector<std::wstring>& entries, const SYSTEMTIME& date)
{
    TiXmlDocument doc;
    doc.LinkEndChild(new TiXmlDeclaration("1.0", "utf-8", "yes"));
    TiXmlElement* items = new TiXmlElement("items");
    for (const std::wstring& entry : entries) {
        TiXmlElement* item = new TiXmlElement("item");
        item->LinkEndChild(new TiXmlText(Utf8(entry).c_str()));
        items->LinkEndChild(item);
    }
    doc.LinkEndChild(items);
    char day[48];
    std::snprintf(day, sizeof(day), "%d.%d.%d", date.wYear, date.wMonth, date.wDay);
    TiXmlElement* time = new TiXmlElement("time");
    time->LinkEndChild(new TiXmlText(day));
    doc.LinkEndChild(time);
    TiXmlPrinter printer;
    doc.Accept(&printer);
    return std::string(printer.CStr(), printer.Size());
}

bool WriteFileReplacing(const std::wstring& target, const std::wstring& temporary, const std::string& bytes)
{
    qcore::UniqueFile file(
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    bool ok = ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size() && FlushFileBuffers(file.Get());
    file.Reset();  // closed before it replaces the target
    if (ok) ok = MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(temporary.c_str());
    return ok;
}

namespace {

// The whole content of a small file; false when it cannot be read.
bool ReadSmallFile(const std::wstring& path, std::string* bytes)
{
    qcore::UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    LARGE_INTEGER size = {};
    bool ok = GetFileSizeEx(file.Get(), &size) && size.QuadPart < (64 << 20);
    if (ok) {
        bytes->resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = bytes->empty() ||
             (::ReadFile(file.Get(), &(*bytes)[0], static_cast<DWORD>(bytes->size()), &read, nullptr) &&
              read == bytes->size());
    }
    return ok;
}

}  // namespace

bool CFailedEntryList::WriteFile(const std::wstring& programFolder)
{
    if (programFolder.empty()) return false;
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string xml = BuildFailedEntryDocument(Entries(), now);
    std::string bytes = BkDatLibEncodeParam2(FromUtf8(xml));
    // The file already holds this list: spare the disk flush of a rewrite.
    std::string current;
    if (ReadSmallFile(programFolder + L"data\\sregtrash.dat", &current) && current == bytes) return true;
    return WriteFileReplacing(programFolder + L"data\\sregtrash.dat", programFolder + L"data\\~sregtrash.dat", bytes);
}

}  // namespace bexlar
