// Owners of system handles that release them exactly once. None is copyable; all can be moved.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace qcore {

// A handle released by Traits::Close, with Traits::Invalid() as its empty value.
template <typename Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type h) : m_h(h) {}
    ~UniqueResource() { Reset(); }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : m_h(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    Type Get() const { return m_h; }
    bool Valid() const { return m_h != Traits::Invalid(); }
    explicit operator bool() const { return Valid(); }

    // For functions that return a handle through a pointer: the old one is released first.
    Type* Put()
    {
        Reset();
        return &m_h;
    }
    Type Release()
    {
        Type h = m_h;
        m_h = Traits::Invalid();
        return h;
    }
    void Reset(Type h = Traits::Invalid())
    {
        if (m_h != Traits::Invalid()) Traits::Close(m_h);
        m_h = h;
    }

private:
    Type m_h = Traits::Invalid();
};

struct HandleTraits {  // threads, processes, events, mutexes: empty is null
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::CloseHandle(h); }
};
struct FileHandleTraits {  // CreateFileW and the like: empty is INVALID_HANDLE_VALUE
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::FindClose(h); }
};
struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::RegCloseKey(h); }
};
struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DeleteObject(h); }
};
struct IconTraits {
    using Type = HICON;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DestroyIcon(h); }
};
struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::FreeLibrary(h); }
};
struct MemoryDcTraits {  // CreateCompatibleDC
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DeleteDC(h); }
};

using UniqueHandle = UniqueResource<HandleTraits>;
using UniqueFile = UniqueResource<FileHandleTraits>;
using UniqueFind = UniqueResource<FindHandleTraits>;
using UniqueRegKey = UniqueResource<RegKeyTraits>;
using UniqueGdiObject = UniqueResource<GdiObjectTraits>;
using UniqueIcon = UniqueResource<IconTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;
using UniqueMemoryDc = UniqueResource<MemoryDcTraits>;

// A window's device context from GetDC, given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND wnd) : m_wnd(wnd), m_dc(::GetDC(wnd)) {}
    ~WindowDc()
    {
        if (m_dc) ::ReleaseDC(m_wnd, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_wnd;
    HDC m_dc;
};

// Selects an object into a device context and selects the previous one back at the end of the scope.
class GdiSelection {
public:
    GdiSelection(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(obj ? ::SelectObject(dc, obj) : nullptr) {}
    ~GdiSelection()
    {
        if (m_old && m_old != HGDI_ERROR) ::SelectObject(m_dc, m_old);
    }
    GdiSelection(const GdiSelection&) = delete;
    GdiSelection& operator=(const GdiSelection&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// Saves a device context's state (pen, brush, font, colours, clipping) and restores it at the end of the scope.
class DcStateSaver {
public:
    explicit DcStateSaver(HDC dc) : m_dc(dc), m_saved(::SaveDC(dc)) {}
    ~DcStateSaver()
    {
        if (m_saved) ::RestoreDC(m_dc, m_saved);
    }
    DcStateSaver(const DcStateSaver&) = delete;
    DcStateSaver& operator=(const DcStateSaver&) = delete;

private:
    HDC m_dc;
    int m_saved;
};

// A COM interface pointer that releases its reference.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr& other) : m_p(other.m_p)
    {
        if (m_p) m_p->AddRef();
    }
    ComPtr& operator=(const ComPtr& other)
    {
        if (other.m_p) other.m_p->AddRef();
        Reset();
        m_p = other.m_p;
        return *this;
    }
    ComPtr(ComPtr&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_p = other.m_p;
            other.m_p = nullptr;
        }
        return *this;
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For CoCreateInstance and QueryInterface: the old pointer is released first.
    T** Put()
    {
        Reset();
        return &m_p;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }
    // Takes over a pointer whose reference the caller already holds.
    void Attach(T* p)
    {
        Reset();
        m_p = p;
    }
    T* Detach()
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }
    void Reset()
    {
        if (m_p) {
            T* p = m_p;
            m_p = nullptr;
            p->Release();
        }
    }

private:
    T* m_p = nullptr;
};

// Initialises COM on this thread for the scope, in balance: CoUninitialize is called only when this object's
// own CoInitializeEx succeeded. A thread already in another apartment keeps it (RPC_E_CHANGED_MODE), which is
// fine for callers that only need COM to be usable.
class ComInit {
public:
    explicit ComInit(DWORD model = COINIT_APARTMENTTHREADED) : m_hr(::CoInitializeEx(nullptr, model)) {}
    ~ComInit()
    {
        if (SUCCEEDED(m_hr)) ::CoUninitialize();
    }
    ComInit(const ComInit&) = delete;
    ComInit& operator=(const ComInit&) = delete;
    // True when COM can be used on this thread (initialised here or before, in any apartment).
    bool Usable() const { return SUCCEEDED(m_hr) || m_hr == RPC_E_CHANGED_MODE; }
    HRESULT Result() const { return m_hr; }

private:
    HRESULT m_hr;
};

}  // namespace qcore
