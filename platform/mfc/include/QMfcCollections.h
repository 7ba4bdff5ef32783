// CStringArray: a growable array of CString, indexed from 0.
#pragma once

#include <vector>

#include "QMfcString.h"

class CStringArray {
public:
    INT_PTR GetSize() const { return (INT_PTR)m_items.size(); }
    void RemoveAll() { m_items.clear(); }
    INT_PTR Add(LPCWSTR text)
    {
        m_items.push_back(text);
        return (INT_PTR)m_items.size() - 1;
    }
    // Positions out of range are ignored; the count is cut at the end.
    void RemoveAt(INT_PTR i, INT_PTR count = 1)
    {
        if (i < 0 || count <= 0 || (size_t)i >= m_items.size()) return;
        size_t end = (size_t)i + (size_t)count;
        if (end > m_items.size()) end = m_items.size();
        m_items.erase(m_items.begin() + i, m_items.begin() + (ptrdiff_t)end);
    }
    void Copy(const CStringArray& other)
    {
        if (&other != this) m_items = other.m_items;
    }
    const CString& GetAt(INT_PTR i) const { return m_items.at((size_t)i); }
    CString& GetAt(INT_PTR i) { return m_items.at((size_t)i); }
    const CString& operator[](INT_PTR i) const { return GetAt(i); }
    CString& operator[](INT_PTR i) { return GetAt(i); }

private:
    std::vector<CString> m_items;
};
