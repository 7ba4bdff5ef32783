#include "ActiveXCatalogue.h"

std::vector<CatalogueLine> ParseActiveXCatalogue(const char* data, size_t size)
{
    std::vector<CatalogueLine> lines;
    size_t start = 0;
    while (start < size) {
        size_t end = start;
        while (end < size && data[end] != '\n') ++end;
        size_t stop = end;
        if (stop > start && data[stop - 1] == '\r') --stop;
        if (stop > start) {
            std::wstring text;
            for (size_t i = start; i < stop; ++i) text.push_back(wchar_t(static_cast<unsigned char>(data[i])));
            const size_t brace = text.find(L'{');
            CatalogueLine line;
            line.name = text.substr(0, brace);
            if (brace != std::wstring::npos) line.clsid = text.substr(brace);
            lines.push_back(line);
        }
        start = end + 1;
    }
    return lines;
}

bool IsUsableClsid(const std::wstring& clsid) { return !clsid.empty() && clsid.find(L'\\') == std::wstring::npos; }
