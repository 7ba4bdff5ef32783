// Dialog data exchange: UpdateData and the DDX_/DDV_ helpers.
#include "ThreadState.h"

#include <cwchar>

namespace {
struct DdxFailure {};

CString WindowText(HWND h)
{
    CString text;
    int n = ::GetWindowTextLengthW(h);
    ::GetWindowTextW(h, text.GetBufferSetLength(n + 1), n + 1);
    text.ReleaseBuffer();
    return text;
}

// A control whose state is one number read and written with a pair of messages (check, selection index).
void ExchangeByMessages(CDataExchange* dx, int id, int& value, UINT getMessage, UINT setMessage)
{
    HWND h = dx->PrepareCtrl(id);
    if (!h) return;
    if (dx->m_bSaveAndValidate)
        value = (int)::SendMessageW(h, getMessage, 0, 0);
    else
        ::SendMessageW(h, setMessage, (WPARAM)value, 0);
}
}  // namespace

BOOL CWnd::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const DdxFailure&) {
        return FALSE;
    }
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

HWND CDataExchange::PrepareCtrl(int id)
{
    m_idLast = id;
    return ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_idLast) {
        HWND h = ::GetDlgItem(m_pDlgWnd->m_hWnd, m_idLast);
        if (h) {
            ::SetFocus(h);
            ::SendMessageW(h, EM_SETSEL, 0, -1);
        }
    }
    throw DdxFailure();
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.m_hWnd) return;  // already bound
    HWND h = dx->PrepareCtrl(id);
    if (!h || !control.SubclassWindow(h)) dx->Fail();
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    HWND h = dx->PrepareCtrl(id);
    if (!h) return;
    if (dx->m_bSaveAndValidate)
        value = WindowText(h);
    else
        ::SetWindowTextW(h, value);
}

namespace {
// Reads a whole number from the control; FALSE (after telling the user) when the text is not one.
bool ReadNumber(CDataExchange* dx, HWND h, long long& out, bool isSigned)
{
    CString text = WindowText(h);
    text.Trim();
    const wchar_t* s = text;
    wchar_t* end = NULL;
    errno = 0;
    long long v = wcstoll(s, &end, 10);
    bool ok = *s && end && *end == 0 && errno == 0 && (isSigned || v >= 0);
    if (!ok) {
        AfxMessageBox(L"Please enter an integer.", MB_OK | MB_ICONEXCLAMATION);
        dx->Fail();
    }
    out = v;
    return ok;
}

template <class T>
void ExchangeNumber(CDataExchange* dx, int id, T& value, bool isSigned, long long lo, long long hi)
{
    HWND h = dx->PrepareCtrl(id);
    if (!h) return;
    if (dx->m_bSaveAndValidate) {
        long long v = 0;
        ReadNumber(dx, h, v, isSigned);
        if (v < lo || v > hi) {
            AfxMessageBox(L"Please enter an integer.", MB_OK | MB_ICONEXCLAMATION);
            dx->Fail();
        }
        value = (T)v;
    } else {
        wchar_t buf[32];
        if (isSigned)
            _snwprintf(buf, 32, L"%I64d", (long long)value);
        else
            _snwprintf(buf, 32, L"%I64u", (unsigned long long)value);
        buf[31] = 0;
        ::SetWindowTextW(h, buf);
    }
}
}  // namespace

void DDX_Text(CDataExchange* dx, int id, int& value) { ExchangeNumber(dx, id, value, true, INT_MIN, INT_MAX); }
void DDX_Text(CDataExchange* dx, int id, long& value) { ExchangeNumber(dx, id, value, true, LONG_MIN, LONG_MAX); }
void DDX_Text(CDataExchange* dx, int id, UINT& value) { ExchangeNumber(dx, id, value, false, 0, UINT_MAX); }
void DDX_Text(CDataExchange* dx, int id, DWORD& value) { ExchangeNumber(dx, id, value, false, 0, ULONG_MAX); }

void DDX_Check(CDataExchange* dx, int id, int& value) { ExchangeByMessages(dx, id, value, BM_GETCHECK, BM_SETCHECK); }

void DDX_Radio(CDataExchange* dx, int id, int& value)
{
    // The group starts at id and runs through the following WS_TABSTOP-less siblings until the next WS_GROUP.
    HWND h = dx->PrepareCtrl(id);
    if (!h) return;
    if (dx->m_bSaveAndValidate) value = -1;
    int index = 0;
    HWND c = h;
    do {
        if (dx->m_bSaveAndValidate) {
            if (::SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
        } else {
            ::SendMessageW(c, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
        c = ::GetWindow(c, GW_HWNDNEXT);
    } while (c && !(::GetWindowLongPtrW(c, GWL_STYLE) & WS_GROUP));
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index)
{
    ExchangeByMessages(dx, id, index, CB_GETCURSEL, CB_SETCURSEL);
}

void DDX_CBString(CDataExchange* dx, int id, CString& value)
{
    HWND h = dx->PrepareCtrl(id);
    if (!h) return;
    if (dx->m_bSaveAndValidate) {
        value = WindowText(h);
    } else if (::SendMessageW(h, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCWSTR)value) == CB_ERR) {
        ::SetWindowTextW(h, value);
    }
}

void DDX_LBIndex(CDataExchange* dx, int id, int& index)
{
    ExchangeByMessages(dx, id, index, LB_GETCURSEL, LB_SETCURSEL);
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minVal, int maxVal)
{
    if (!dx->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
    CString text;
    text.Format(L"Please enter an integer between %d and %d.", minVal, maxVal);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    dx->Fail();
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars)
{
    if (!dx->m_bSaveAndValidate || value.GetLength() <= maxChars) return;
    CString text;
    text.Format(L"Please enter no more than %d characters.", maxChars);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    dx->Fail();
}
