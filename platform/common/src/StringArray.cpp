// CSBStringArrayW: a list of texts that is created by one module and filled by another.
#include "Common.h"

#include <cwchar>

CSBStringArrayW::CSBStringArrayW() = default;

CSBStringArrayW::~CSBStringArrayW() = default;

void CSBStringArrayW::AddString(const wchar_t* text) { m_items.emplace_back(text ? text : L""); }

void CSBStringArrayW::Clear() { m_items.clear(); }

int CSBStringArrayW::GetCount() const { return static_cast<int>(m_items.size()); }

bool CSBStringArrayW::GetString(int index, wchar_t* buffer, int capacity) const
{
    if (buffer && capacity > 0) buffer[0] = L'\0';
    if (index < 0 || index >= GetCount()) return false;
    if (!buffer || capacity <= 0) return false;
    const std::wstring& item = m_items[static_cast<size_t>(index)];
    size_t count = item.size() < static_cast<size_t>(capacity - 1) ? item.size() : static_cast<size_t>(capacity - 1);
    wmemcpy(buffer, item.data(), count);
    buffer[count] = L'\0';
    return true;
}

std::wstring CSBStringArrayW::GetString(int index) const
{
    if (index < 0 || index >= GetCount()) return std::wstring();
    return m_items[static_cast<size_t>(index)];
}
