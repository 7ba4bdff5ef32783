// Run-time classes, the message-map root and the wait cursor.
#include "ThreadState.h"

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == base) return TRUE;
    return FALSE;
}

CObject* CRuntimeClass::CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : NULL; }

CRuntimeClass* CObject::GetThisClass()
{
    static CRuntimeClass rc = {"CObject", (int)sizeof(CObject), 0xFFFF, NULL, NULL};
    return &rc;
}

CRuntimeClass* CObject::GetRuntimeClass() const { return CObject::GetThisClass(); }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, 0, (AFX_PMSG)0}};
    static const AFX_MSGMAP map = {NULL, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

void CCmdTarget::BeginWaitCursor() { AfxBeginWaitCursor(); }
void CCmdTarget::EndWaitCursor() { AfxEndWaitCursor(); }
void CCmdTarget::RestoreWaitCursor()
{
    if (qmfc::GetThreadState()->waitCount > 0) ::SetCursor(::LoadCursorW(NULL, IDC_WAIT));
}

void AfxBeginWaitCursor()
{
    qmfc::ThreadState* ts = qmfc::GetThreadState();
    HCURSOR prev = ::SetCursor(::LoadCursorW(NULL, IDC_WAIT));
    if (ts->waitCount++ == 0) ts->waitRestore = prev;
}

void AfxEndWaitCursor()
{
    qmfc::ThreadState* ts = qmfc::GetThreadState();
    if (ts->waitCount <= 0) return;
    if (--ts->waitCount == 0) ::SetCursor(ts->waitRestore ? ts->waitRestore : ::LoadCursorW(NULL, IDC_ARROW));
}

void CWaitCursor::Restore()
{
    if (qmfc::GetThreadState()->waitCount > 0) ::SetCursor(::LoadCursorW(NULL, IDC_WAIT));
}
