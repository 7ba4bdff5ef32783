// CTime conversions and formatting.
#include "ThreadState.h"

#include "QMfcTime.h"

namespace {
__time64_t FromLocal(int year, int month, int day, int hour, int minute, int second, int dst) {
    struct tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = dst;
    return _mktime64(&t);
}
}  // namespace

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst)
    : m_time(FromLocal(year, month, day, hour, minute, second, dst)) {}

CTime::CTime(const SYSTEMTIME& st, int dst)
    : m_time(FromLocal(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, dst)) {}

CTime::CTime(const FILETIME& ft, int dst) : m_time(0) {
    FILETIME local;
    SYSTEMTIME st;
    if (FileTimeToLocalFileTime(&ft, &local) && FileTimeToSystemTime(&local, &st))
        m_time = FromLocal(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, dst);
}

struct tm* CTime::GetLocalTm(struct tm* out) const {
    struct tm* t = _localtime64(&m_time);
    if (!t) return NULL;
    *out = *t;
    return out;
}

struct tm* CTime::GetGmtTm(struct tm* out) const {
    struct tm* t = _gmtime64(&m_time);
    if (!t) return NULL;
    *out = *t;
    return out;
}

namespace {
struct tm Local(__time64_t t) {
    struct tm out = {};
    if (struct tm* p = _localtime64(&t)) out = *p;
    return out;
}
}  // namespace

int CTime::GetYear() const { return Local(m_time).tm_year + 1900; }
int CTime::GetMonth() const { return Local(m_time).tm_mon + 1; }
int CTime::GetDay() const { return Local(m_time).tm_mday; }
int CTime::GetHour() const { return Local(m_time).tm_hour; }
int CTime::GetMinute() const { return Local(m_time).tm_min; }
int CTime::GetSecond() const { return Local(m_time).tm_sec; }
int CTime::GetDayOfWeek() const { return Local(m_time).tm_wday + 1; }

BOOL CTime::GetAsSystemTime(SYSTEMTIME& st) const {
    struct tm t;
    if (!GetLocalTm(&t)) return FALSE;
    st = SYSTEMTIME();
    st.wYear = (WORD)(t.tm_year + 1900);
    st.wMonth = (WORD)(t.tm_mon + 1);
    st.wDay = (WORD)t.tm_mday;
    st.wDayOfWeek = (WORD)t.tm_wday;
    st.wHour = (WORD)t.tm_hour;
    st.wMinute = (WORD)t.tm_min;
    st.wSecond = (WORD)t.tm_sec;
    return TRUE;
}

namespace {
CString FormatTm(const struct tm* t, LPCWSTR format) {
    if (!t || !format) return CString();
    wchar_t buf[512];
    size_t n = wcsftime(buf, 512, format, t);
    return CString(buf, (int)n);
}
}  // namespace

CString CTime::Format(LPCWSTR format) const {
    struct tm t;
    return FormatTm(GetLocalTm(&t), format);
}

CString CTime::FormatGmt(LPCWSTR format) const {
    struct tm t;
    return FormatTm(GetGmtTm(&t), format);
}
