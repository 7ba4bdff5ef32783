#pragma once

namespace Lumbrey {

// Where the traces of a category come from.
enum class TraceSource {
    RegistryKeys,      // the values of each key in `paths`, below HKEY_CURRENT_USER
    RegistryValue,     // the one value `valueName` of the key paths[0], below HKEY_CURRENT_USER
    SpecialFolder,     // the files of the shell folder `csidl`
    ShellFolderValue,  // the files of the folder named by the user's "Shell Folders" value `valueName`
    LocalAppData,      // the files of paths[0] appended to the local application-data folder
    SystemRootFolder,  // the files of paths[0] appended to %systemroot%
    RecycleBin,        // the entries of the recycle bin
};

// The four dispatchers; each one owns a range of category numbers.
enum CategoryGroup { GROUP_INTERNET_EXPLORER, GROUP_WINDOWS_SOFTWARE, GROUP_WINDOWS_SYSTEM, GROUP_INTERNET_SOFTWARE };

struct CategoryRow {
    int number;
    CategoryGroup group;
    const wchar_t* name;
    TraceSource source;
    const wchar_t* paths[4];  // unused entries are null
    const wchar_t* valueName;
    int csidl;
};

// The row of a category number inside a dispatcher's group, or null when it has none.
const CategoryRow* FindCategory(CategoryGroup group, int number);

}  // namespace Lumbrey
