#include "PathText.h"

namespace ScanPages {

std::wstring ShortenPath(const std::wstring& path, size_t maxLength, size_t head, size_t tail)
{
    if (path.size() <= maxLength || head + tail >= path.size()) return path;
    return path.substr(0, head) + L"..." + path.substr(path.size() - tail);
}

}  // namespace ScanPages
