#include "FolderWalk.h"

#include "FileSystemUtil.h"

namespace Lumbrey {

FolderLister::FolderLister(const std::wstring& folder) : m_prefix(folder + L"\\"), m_data(), m_first(true)
{
    const std::wstring pattern = m_prefix + L"*";
    if (!folder.empty() && pattern.size() <= kMaxUsablePath) m_find.Reset(FindFirstFileW(pattern.c_str(), &m_data));
}

bool FolderLister::Next()
{
    if (!m_find) return false;
    for (;;) {
        if (!m_first && !FindNextFileW(m_find.Get(), &m_data)) return false;
        m_first = false;
        if (Usable()) {
            m_path.assign(m_prefix).append(m_data.cFileName);
            return true;
        }
    }
}

bool FolderLister::Usable() const
{
    const wchar_t* name = m_data.cFileName;
    if (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0))) return false;
    return m_prefix.size() + wcslen(name) <= kMaxUsablePath;
}

}  // namespace Lumbrey
