// CStringT / CString / CStringA: value strings in the MFC style over std::basic_string.
// Differences from a plain wrapper: Format keeps MSVC semantics (in the wide string "%s" is a wide string; the
// msvcrt formatter is used, not the C99 one), and CString arguments may be passed to Format directly (they are
// turned into character pointers before the variadic call). Elsewhere pass (LPCWSTR)s or s.GetString() to "...".
// GetBuffer/ReleaseBuffer work as in MFC: write into the buffer, then ReleaseBuffer() takes the length up to NUL.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <cwchar>
#include <cstring>
#include <cwctype>
#include <cctype>
#include <string>
#include <utility>

namespace qmfc {
std::wstring Widen(const char* s, int len = -1);
std::string Narrow(const wchar_t* s, int len = -1);
void VFormat(std::wstring& out, const wchar_t* fmt, va_list args);
void VFormat(std::string& out, const char* fmt, va_list args);
bool LoadResString(std::wstring& out, UINT id);

inline size_t StrLen(const wchar_t* s) { return wcslen(s); }
inline size_t StrLen(const char* s) { return strlen(s); }
inline wchar_t ToLower(wchar_t c) { return (wchar_t)(ULONG_PTR)CharLowerW((LPWSTR)(ULONG_PTR)(WORD)c); }
inline wchar_t ToUpper(wchar_t c) { return (wchar_t)(ULONG_PTR)CharUpperW((LPWSTR)(ULONG_PTR)(WORD)c); }
inline char ToLower(char c) { return (char)tolower((unsigned char)c); }
inline char ToUpper(char c) { return (char)toupper((unsigned char)c); }
inline bool IsSpace(wchar_t c) { return iswspace(c) != 0; }
inline bool IsSpace(char c) { return isspace((unsigned char)c) != 0; }
int CompareNoCase(const wchar_t* a, const wchar_t* b);
int CompareNoCase(const char* a, const char* b);
int Collate(const wchar_t* a, const wchar_t* b, bool noCase);
int Collate(const char* a, const char* b, bool noCase);
}  // namespace qmfc

template <class Ch>
class CStringT {
public:
    typedef Ch XCHAR;
    typedef Ch* PXSTR;
    typedef const Ch* PCXSTR;
    typedef typename std::conditional<sizeof(Ch) == 1, wchar_t, char>::type YCHAR;
    typedef std::basic_string<Ch> StdString;

    CStringT() {}
    CStringT(const CStringT&) = default;
    CStringT(CStringT&&) noexcept = default;
    CStringT(const Ch* s)
    {
        if (s) m_str = s;
    }
    CStringT(const Ch* s, int len)
    {
        if (s && len > 0) m_str.assign(s, (size_t)len);
    }
    CStringT(const YCHAR* s)
    {
        if (s) Assign(s);
    }
    CStringT(Ch ch, int repeat = 1)
    {
        if (repeat > 0) m_str.assign((size_t)repeat, ch);
    }
    CStringT(const StdString& s) : m_str(s) {}
    CStringT(const CStringT<YCHAR>& s) { Assign(s.GetString()); }

    CStringT& operator=(const CStringT&) = default;
    CStringT& operator=(CStringT&&) noexcept = default;
    CStringT& operator=(const Ch* s)
    {
        if (s)
            m_str = s;
        else
            m_str.clear();
        return *this;
    }
    CStringT& operator=(const YCHAR* s)
    {
        if (s)
            Assign(s);
        else
            m_str.clear();
        return *this;
    }
    CStringT& operator=(Ch ch)
    {
        m_str.assign(1, ch);
        return *this;
    }
    CStringT& operator=(const StdString& s)
    {
        m_str = s;
        return *this;
    }
    CStringT& operator=(const CStringT<YCHAR>& s)
    {
        Assign(s.GetString());
        return *this;
    }

    operator const Ch*() const { return m_str.c_str(); }
    const Ch* GetString() const { return m_str.c_str(); }
    const StdString& Str() const { return m_str; }

    int GetLength() const { return (int)m_str.size(); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    Ch GetAt(int i) const { return m_str.at((size_t)i); }
    void SetAt(int i, Ch c) { m_str.at((size_t)i) = c; }
    Ch operator[](int i) const { return m_str.at((size_t)i); }
    Ch operator[](size_t i) const { return m_str.at(i); }

    CStringT& operator+=(const CStringT& s)
    {
        m_str += s.m_str;
        return *this;
    }
    CStringT& operator+=(const Ch* s)
    {
        if (s) m_str += s;
        return *this;
    }
    CStringT& operator+=(Ch c)
    {
        m_str += c;
        return *this;
    }
    CStringT& operator+=(const YCHAR* s) { return *this += CStringT(s); }
    void Append(const Ch* s) { *this += s; }
    void Append(const Ch* s, int len)
    {
        if (s && len > 0) m_str.append(s, (size_t)len);
    }
    void AppendChar(Ch c) { m_str += c; }

    CStringT Left(int n) const
    {
        n = Clamp(n);
        return CStringT(m_str.substr(0, (size_t)n));
    }
    CStringT Right(int n) const
    {
        n = Clamp(n);
        return CStringT(m_str.substr(m_str.size() - (size_t)n));
    }
    CStringT Mid(int first) const { return Mid(first, GetLength()); }
    CStringT Mid(int first, int count) const
    {
        first = Clamp(first);
        if (count < 0) count = 0;
        if ((size_t)first + (size_t)count > m_str.size()) count = GetLength() - first;
        return CStringT(m_str.substr((size_t)first, (size_t)count));
    }
    CStringT SpanIncluding(const Ch* set) const
    {
        size_t n = m_str.find_first_not_of(set);
        return n == StdString::npos ? *this : Left((int)n);
    }
    CStringT SpanExcluding(const Ch* set) const
    {
        size_t n = m_str.find_first_of(set);
        return n == StdString::npos ? *this : Left((int)n);
    }

    int Find(Ch c, int start = 0) const { return Pos(start < 0 ? StdString::npos : m_str.find(c, (size_t)start)); }
    int Find(const Ch* s, int start = 0) const
    {
        if (!s || start < 0 || start > GetLength()) return -1;
        return Pos(m_str.find(s, (size_t)start));
    }
    int ReverseFind(Ch c) const { return Pos(m_str.rfind(c)); }
    int FindOneOf(const Ch* set) const { return Pos(m_str.find_first_of(set)); }

    int Replace(Ch from, Ch to)
    {
        int n = 0;
        for (auto& c : m_str)
            if (c == from) {
                c = to;
                ++n;
            }
        return n;
    }
    int Replace(const Ch* from, const Ch* to)
    {
        if (!from || !*from) return 0;
        StdString f(from), t(to ? to : EmptyLit());
        int n = 0;
        for (size_t p = m_str.find(f); p != StdString::npos; p = m_str.find(f, p + t.size())) {
            m_str.replace(p, f.size(), t);
            ++n;
        }
        return n;
    }
    int Remove(Ch c)
    {
        size_t old = m_str.size();
        StdString r;
        for (Ch x : m_str)
            if (x != c) r += x;
        m_str.swap(r);
        return (int)(old - m_str.size());
    }
    int Insert(int i, Ch c)
    {
        i = Clamp(i);
        m_str.insert((size_t)i, 1, c);
        return GetLength();
    }
    int Insert(int i, const Ch* s)
    {
        i = Clamp(i);
        if (s) m_str.insert((size_t)i, s);
        return GetLength();
    }
    int Delete(int i, int count = 1)
    {
        if (i < 0) i = 0;
        if (count > 0 && i < GetLength()) m_str.erase((size_t)i, (size_t)count);
        return GetLength();
    }

    CStringT& TrimRight()
    {
        size_t n = m_str.size();
        while (n && qmfc::IsSpace(m_str[n - 1])) --n;
        m_str.resize(n);
        return *this;
    }
    CStringT& TrimLeft()
    {
        size_t n = 0;
        while (n < m_str.size() && qmfc::IsSpace(m_str[n])) ++n;
        m_str.erase(0, n);
        return *this;
    }
    CStringT& Trim() { return TrimRight().TrimLeft(); }
    CStringT& TrimRight(Ch c)
    {
        size_t n = m_str.size();
        while (n && m_str[n - 1] == c) --n;
        m_str.resize(n);
        return *this;
    }
    CStringT& TrimLeft(Ch c)
    {
        size_t n = 0;
        while (n < m_str.size() && m_str[n] == c) ++n;
        m_str.erase(0, n);
        return *this;
    }
    CStringT& Trim(Ch c) { return TrimRight(c).TrimLeft(c); }
    CStringT& TrimRight(const Ch* set)
    {
        size_t n = m_str.find_last_not_of(set);
        m_str.resize(n == StdString::npos ? 0 : n + 1);
        return *this;
    }
    CStringT& TrimLeft(const Ch* set)
    {
        size_t n = m_str.find_first_not_of(set);
        m_str.erase(0, n == StdString::npos ? m_str.size() : n);
        return *this;
    }
    CStringT& Trim(const Ch* set) { return TrimRight(set).TrimLeft(set); }

    int Compare(const Ch* s) const
    {
        int c = m_str.compare(s ? s : EmptyLit());
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    int CompareNoCase(const Ch* s) const { return qmfc::CompareNoCase(m_str.c_str(), s ? s : EmptyLit()); }
    int Collate(const Ch* s) const { return qmfc::Collate(m_str.c_str(), s ? s : EmptyLit(), false); }
    int CollateNoCase(const Ch* s) const { return qmfc::Collate(m_str.c_str(), s ? s : EmptyLit(), true); }

    CStringT& MakeLower()
    {
        for (auto& c : m_str) c = qmfc::ToLower(c);
        return *this;
    }
    CStringT& MakeUpper()
    {
        for (auto& c : m_str) c = qmfc::ToUpper(c);
        return *this;
    }
    CStringT& MakeReverse()
    {
        m_str.assign(m_str.rbegin(), m_str.rend());
        return *this;
    }

    // Room for at least minLen characters plus NUL; call ReleaseBuffer after writing.
    Ch* GetBuffer(int minLen = 0)
    {
        if (minLen > GetLength()) m_str.resize((size_t)minLen);
        return &m_str[0];
    }
    Ch* GetBufferSetLength(int len)
    {
        m_str.resize(len > 0 ? (size_t)len : 0);
        return &m_str[0];
    }
    void ReleaseBuffer(int newLen = -1)
    {
        if (newLen < 0) newLen = (int)qmfc::StrLen(m_str.c_str());
        if ((size_t)newLen <= m_str.size()) m_str.resize((size_t)newLen);
    }
    void Preallocate(int len)
    {
        if (len > 0) m_str.reserve((size_t)len);
    }

    CStringT Tokenize(const Ch* set, int& start) const
    {
        if (start < 0 || start >= GetLength()) {
            start = -1;
            return CStringT();
        }
        size_t b = m_str.find_first_not_of(set, (size_t)start);
        if (b == StdString::npos) {
            start = -1;
            return CStringT();
        }
        size_t e = m_str.find_first_of(set, b);
        if (e == StdString::npos) e = m_str.size();
        start = (int)e + 1;
        return CStringT(m_str.substr(b, e - b));
    }

    template <class... A>
    void Format(const Ch* fmt, A&&... args)
    {
        FormatRaw(fmt, FmtArg(std::forward<A>(args))...);
    }
    template <class... A>
    void AppendFormat(const Ch* fmt, A&&... args)
    {
        CStringT t;
        t.FormatRaw(fmt, FmtArg(std::forward<A>(args))...);
        m_str += t.m_str;
    }
    void FormatV(const Ch* fmt, va_list args) { qmfc::VFormat(m_str, fmt, args); }

    // Loads a string resource of the program (or the resource module) into this string.
    BOOL LoadString(UINT id)
    {
        std::wstring w;
        if (!qmfc::LoadResString(w, id)) return FALSE;
        *this = CStringT<wchar_t>(w);
        return TRUE;
    }

    friend CStringT operator+(const CStringT& a, const CStringT& b)
    {
        CStringT r(a);
        r += b;
        return r;
    }
    friend CStringT operator+(const CStringT& a, const Ch* b)
    {
        CStringT r(a);
        r += b;
        return r;
    }
    friend CStringT operator+(const Ch* a, const CStringT& b)
    {
        CStringT r(a);
        r += b;
        return r;
    }
    friend CStringT operator+(const CStringT& a, Ch b)
    {
        CStringT r(a);
        r += b;
        return r;
    }
    friend CStringT operator+(Ch a, const CStringT& b)
    {
        CStringT r(a);
        r += b;
        return r;
    }
    friend bool operator==(const CStringT& a, const CStringT& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CStringT& a, const Ch* b) { return a.m_str == (b ? b : EmptyLit()); }
    friend bool operator==(const Ch* a, const CStringT& b) { return b == a; }
    friend bool operator!=(const CStringT& a, const CStringT& b) { return !(a == b); }
    friend bool operator!=(const CStringT& a, const Ch* b) { return !(a == b); }
    friend bool operator!=(const Ch* a, const CStringT& b) { return !(b == a); }
    friend bool operator<(const CStringT& a, const CStringT& b) { return a.m_str < b.m_str; }
    friend bool operator>(const CStringT& a, const CStringT& b) { return a.m_str > b.m_str; }
    friend bool operator<=(const CStringT& a, const CStringT& b) { return a.m_str <= b.m_str; }
    friend bool operator>=(const CStringT& a, const CStringT& b) { return a.m_str >= b.m_str; }

private:
    static const Ch* EmptyLit()
    {
        static const Ch e[1] = {0};
        return e;
    }
    int Clamp(int n) const { return n < 0 ? 0 : (n > GetLength() ? GetLength() : n); }
    static int Pos(size_t p) { return p == StdString::npos ? -1 : (int)p; }
    void Assign(const YCHAR* s);

    template <class T>
    static T&& FmtArg(T&& v)
    {
        return std::forward<T>(v);
    }
    static const Ch* FmtArg(const CStringT& s) { return s.GetString(); }
    static const Ch* FmtArg(CStringT& s) { return s.GetString(); }
    static const Ch* FmtArg(CStringT&& s) { return s.GetString(); }  // lives to the end of the full expression
    static const YCHAR* FmtArg(const CStringT<YCHAR>& s) { return s.GetString(); }
    void FormatRaw(const Ch* fmt, ...)
    {
        va_list a;
        va_start(a, fmt);
        qmfc::VFormat(m_str, fmt, a);
        va_end(a);
    }

    StdString m_str;
};

template <>
inline void CStringT<wchar_t>::Assign(const char* s)
{
    m_str = qmfc::Widen(s);
}
template <>
inline void CStringT<char>::Assign(const wchar_t* s)
{
    m_str = qmfc::Narrow(s);
}

typedef CStringT<wchar_t> CStringW;
typedef CStringT<char> CStringA;
typedef CStringW CString;
