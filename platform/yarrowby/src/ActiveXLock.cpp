#include "Yarrowby/ActiveXLock.h"

#include <ActiveXKillBit.h>

#include "ActiveXCatalogue.h"
#include "RegistryViews.h"

static_assert(CActiveXLock::kKillBit == qactivex::kKillBit, "the library reports the browser's own kill bit");

CActiveXLock::CActiveXLock() = default;

CActiveXLock::~CActiveXLock() = default;

bool CActiveXLock::GetActiveXNames(std::vector<ActiveXItem>& out, UINT resId)
{
    // The catalogue ships in the program, not in this library.
    HMODULE program = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(program, MAKEINTRESOURCEW(resId), L"BIN_DATA");
    HGLOBAL loaded = found ? ::LoadResource(program, found) : nullptr;
    const char* data = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
    if (!data) return false;
    for (const CatalogueLine& line : ParseActiveXCatalogue(data, ::SizeofResource(program, found))) {
        ActiveXItem item;
        item.name = line.name;
        item.clsid = line.clsid;
        item.locked = IsLocked(line.clsid);
        out.push_back(item);
    }
    return true;
}

bool CActiveXLock::IsLocked(std::wstring clsid)
{
    return IsUsableClsid(clsid) && qactivex::IsKillBitSet(clsid, NativeView());
}

bool CActiveXLock::LockUnLockActiveItems(std::vector<std::wstring> clsids, bool lock)
{
    bool all = true;
    const std::vector<REGSAM> views = WriteViews();
    for (const std::wstring& clsid : clsids) {
        if (!IsUsableClsid(clsid)) {
            all = false;
            continue;
        }
        for (REGSAM view : views) all = qactivex::SetKillBit(clsid, lock, view) && all;
    }
    return all;
}
