#include "LinkFixtures.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <Common.h>

#include <cstdint>
#include <vector>

namespace {

template <typename T>
class ComPtr {
public:
    ~ComPtr()
    {
        if (p) p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() { return p; }
    explicit operator bool() const { return p != nullptr; }
    T* p = nullptr;
};

bool SaveLink(IShellLinkW* link, const std::wstring& linkPath)
{
    ComPtr<IPersistFile> file;
    return SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
           SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

bool CreateLink(ComPtr<IShellLinkW>& link)
{
    return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                      reinterpret_cast<void**>(&link)));
}

bool LoadLink(ComPtr<IShellLinkW>& link, const std::wstring& linkPath)
{
    ComPtr<IPersistFile> file;
    return CreateLink(link) && SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
           SUCCEEDED(file->Load(linkPath.c_str(), STGM_READ));
}

void Put32(std::string& bytes, uint32_t v)
{
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

TempTree::TempTree(const std::wstring& name)
{
    static int serial = 0;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    m_root = std::wstring(temp) + L"mv_" + name + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
             std::to_wstring(++serial);
    SBDeleteDirectoryW(m_root.c_str());
    SBRecursiveCreateDirectoryW(m_root.c_str());
}

TempTree::~TempTree() { SBDeleteDirectoryW(m_root.c_str()); }

std::wstring TempTree::Folder(const std::wstring& relative) const
{
    std::wstring path = Path(relative);
    SBRecursiveCreateDirectoryW(path.c_str());
    return path;
}

std::wstring TempTree::File(const std::wstring& relative, const std::string& content) const
{
    std::wstring path = Path(relative);
    WriteBytes(path, content);
    return path;
}

bool MakeLink(const std::wstring& linkPath, const std::wstring& target)
{
    ComPtr<IShellLinkW> link;
    return CreateLink(link) && SUCCEEDED(link->SetPath(target.c_str())) && SaveLink(link.p, linkPath);
}

bool MakeShellObjectLink(const std::wstring& linkPath, int csidl)
{
    ComPtr<IShellLinkW> link;
    LPITEMIDLIST pidl = nullptr;
    if (!CreateLink(link) || FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl))) return false;
    bool ok = SUCCEEDED(link->SetIDList(pidl)) && SaveLink(link.p, linkPath);
    CoTaskMemFree(pidl);
    return ok;
}

bool MakeAdvertisedLink(const std::wstring& linkPath)
{
    // Shell link header: size, class id, flags (has Darwin id | Unicode), then zeroed fields but the show command.
    std::string bytes;
    Put32(bytes, 0x4C);
    const unsigned char clsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                     0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    bytes.append(reinterpret_cast<const char*>(clsid), sizeof clsid);
    Put32(bytes, 0x1000 | 0x80);
    bytes.append(4 + 24 + 4 + 4, '\0');  // attributes, three times, size, icon index
    Put32(bytes, SW_SHOWNORMAL);
    bytes.append(2 + 2 + 4 + 4, '\0');  // hot key, reserved
    // Darwin data block: size, signature, ANSI descriptor (260 bytes), Unicode descriptor (520 bytes).
    const char descriptor[] = "w_1^VX!!!!!!!!!MKKSkEXCELFiles>tW{~$4Q]c@II=l2xaTO5Z";
    Put32(bytes, 0x314);
    Put32(bytes, 0xA0000006);
    std::string ansi(260, '\0');
    ansi.replace(0, sizeof descriptor - 1, descriptor);
    bytes += ansi;
    std::string wide(520, '\0');
    for (size_t i = 0; i + 1 < sizeof descriptor; ++i) wide[2 * i] = descriptor[i];
    bytes += wide;
    Put32(bytes, 0);  // terminal block
    return WriteBytes(linkPath, bytes);
}

bool IsAdvertisedLink(const std::wstring& linkPath)
{
    ComPtr<IShellLinkW> link;
    if (!LoadLink(link, linkPath)) return false;
    ComPtr<IShellLinkDataList> data;
    DWORD flags = 0;
    return SUCCEEDED(link->QueryInterface(IID_IShellLinkDataList, reinterpret_cast<void**>(&data))) &&
           SUCCEEDED(data->GetFlags(&flags)) && (flags & SLDF_HAS_DARWINID);
}

std::wstring StoredTarget(const std::wstring& linkPath)
{
    ComPtr<IShellLinkW> link;
    wchar_t target[1024] = {};
    WIN32_FIND_DATAW data;
    if (!LoadLink(link, linkPath) || link->GetPath(target, 1024, &data, 0) != S_OK) return L"";
    return target;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    return ok;
}

bool RemovePath(const std::wstring& path)
{
    DWORD attrs = GetFileAttributesW(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) return false;
    return (attrs & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str());
}

std::wstring AbsentDriveRoot()
{
    for (wchar_t letter = L'R'; letter <= L'Y'; ++letter) {
        const wchar_t root[] = {letter, L':', L'\\', 0};
        if (GetDriveTypeW(root) == DRIVE_NO_ROOT_DIR) return root;
    }
    return L"";
}
