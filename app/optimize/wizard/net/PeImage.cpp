#include "PeImage.h"

#include <cstring>
#include <vector>

#include <QGuards.h>

namespace {

// Headers beyond this are not looked for: a real image keeps them within its first page.
const size_t kHeaderWindow = 64 * 1024;

template <typename T>
bool ReadAt(const unsigned char* data, size_t size, size_t offset, T* out)
{
    if (offset > size || size - offset < sizeof(T)) return false;
    std::memcpy(out, data + offset, sizeof(T));
    return true;
}

}  // namespace

WORD ThisProcessMachine()
{
#if defined(_WIN64)
    return IMAGE_FILE_MACHINE_AMD64;
#else
    return IMAGE_FILE_MACHINE_I386;
#endif
}

PeCheck CheckPeDll(const unsigned char* data, size_t size, WORD machine)
{
    IMAGE_DOS_HEADER dos;
    if (!data || !ReadAt(data, size, 0, &dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) return PeCheck::NotPe;
    if (dos.e_lfanew < LONG(sizeof(IMAGE_DOS_HEADER))) return PeCheck::NotPe;
    const size_t pe = size_t(dos.e_lfanew);
    DWORD signature = 0;
    IMAGE_FILE_HEADER file;
    WORD magic = 0;
    if (!ReadAt(data, size, pe, &signature) || signature != IMAGE_NT_SIGNATURE) return PeCheck::NotPe;
    if (!ReadAt(data, size, pe + sizeof(DWORD), &file)) return PeCheck::NotPe;
    if (file.SizeOfOptionalHeader < sizeof(WORD) ||
        !ReadAt(data, size, pe + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER), &magic))
        return PeCheck::NotPe;
    if (magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC && magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) return PeCheck::NotPe;
    if (!(file.Characteristics & IMAGE_FILE_DLL)) return PeCheck::NotDll;
    // The optional header must match the machine: a 64-bit machine field on a 32-bit header is not loadable.
    const WORD expectedMagic =
        machine == IMAGE_FILE_MACHINE_AMD64 ? IMAGE_NT_OPTIONAL_HDR64_MAGIC : IMAGE_NT_OPTIONAL_HDR32_MAGIC;
    if (file.Machine != machine || magic != expectedMagic) return PeCheck::OtherMachine;
    return PeCheck::DllForThisMachine;
}

PeCheck CheckPeDllFile(const std::wstring& path, WORD machine)
{
    qcore::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return PeCheck::NotPe;
    std::vector<unsigned char> head(kHeaderWindow);
    DWORD read = 0;
    if (!::ReadFile(file.Get(), head.data(), DWORD(head.size()), &read, nullptr)) return PeCheck::NotPe;
    return CheckPeDll(head.data(), read, machine);
}
