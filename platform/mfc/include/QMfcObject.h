// CObject, CRuntimeClass and CCmdTarget: run-time class information and the message-map tables.
// Two kinds of class test exist: IsKindOf(RUNTIME_CLASS(X)) is true for X and every class derived from X that
// declares DECLARE_DYNAMIC; IsExactly(RUNTIME_CLASS(X)) (same as GetRuntimeClass() == RUNTIME_CLASS(X)) is true
// only when the object's nearest declared run-time class is X itself. A class that does not declare
// DECLARE_DYNAMIC reports the run-time class of its nearest base that does.
// RUNTIME_CLASS(X) works for namespaced classes too (no token pasting).
#pragma once

#include <windows.h>

class CObject;

// An opaque iteration position (collections, selected list rows); NULL means "no more".
struct __POSITION {};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION ((POSITION)-1L)

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* m_pBaseClass;

    // True when this class is pBase or derives from it.
    BOOL IsDerivedFrom(const CRuntimeClass* pBase) const;
    // A new object for classes declared with DECLARE_DYNCREATE, else NULL.
    CObject* CreateObject() const;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)       \
public:                                   \
    static CRuntimeClass* GetThisClass(); \
    virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define QMFC_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, pfnNew)                 \
    CRuntimeClass* class_name::GetThisClass()                                            \
    {                                                                                    \
        static CRuntimeClass rc = {#class_name, (int)sizeof(class_name), 0xFFFF, pfnNew, \
                                   base_class_name::GetThisClass()};                     \
        return &rc;                                                                      \
    }                                                                                    \
    CRuntimeClass* class_name::GetRuntimeClass() const { return class_name::GetThisClass(); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) QMFC_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, NULL)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)           \
    CObject* class_name::CreateObject() { return new class_name; } \
    QMFC_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, class_name::CreateObject)

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)
#define IMPLEMENT_SERIAL(class_name, base_class_name, schema) IMPLEMENT_DYNCREATE(class_name, base_class_name)

class CObject {
public:
    static CRuntimeClass* GetThisClass();
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() {}

    // Derives-from test.
    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    // Exact-class test.
    BOOL IsExactly(const CRuntimeClass* pClass) const { return GetRuntimeClass() == pClass; }

protected:
    CObject() {}

private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

// Message-map tables. An entry names the message, the notification code, the id range and the handler with its
// signature kind; the map of a class chains to its base class's map.
class CCmdTarget;
typedef void (CCmdTarget::*AFX_PMSG)();

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    UINT_PTR nSig;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                     \
public:                                           \
    static const AFX_MSGMAP* GetThisMessageMap(); \
                                                  \
protected:                                        \
    virtual const AFX_MSGMAP* GetMessageMap() const;

// A message map stores every handler as one generic member pointer and casts it back to its real type when it
// dispatches (the entry's signature code says which): the casts are intended, so their warning is off for the
// entries and the dispatcher only.
#define QMFC_MESSAGE_MAP_CASTS_BEGIN \
    _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wcast-function-type\"")
#define QMFC_MESSAGE_MAP_CASTS_END _Pragma("GCC diagnostic pop")

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                   \
    {                                                                                 \
        typedef theClass ThisClass __attribute__((unused));                           \
        typedef baseClass TheBaseClass __attribute__((unused));                       \
        QMFC_MESSAGE_MAP_CASTS_BEGIN                                                  \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                         \
    {                                                                                             \
        0, 0, 0, 0, 0, (AFX_PMSG)0                                                                \
    }                                                                                             \
    }                                                                                             \
    ;                                                                                             \
    QMFC_MESSAGE_MAP_CASTS_END                                                                    \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                           \
    }

// CCmdTarget: the root of every class with a message map; also the wait-cursor helpers.
class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() {}

    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// The wait cursor: nested Begin/End pairs on one thread; the arrow comes back after the last End.
void AfxBeginWaitCursor();
void AfxEndWaitCursor();

class CWaitCursor {
public:
    CWaitCursor() { AfxBeginWaitCursor(); }
    ~CWaitCursor() { AfxEndWaitCursor(); }
    void Restore();

private:
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
