#include "FileSystemUtil.h"

#include "QGuards.h"

namespace Lumbrey {

bool OpensExclusively(const std::wstring& path)
{
    const qcore::UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_ALL, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
    return file.Valid();
}

}  // namespace Lumbrey
