// ANSI <-> wide conversion, and the per-thread buffer behind SBCharToWChar.
#include "Common.h"

namespace {

DWORD g_tlsIndex = TLS_OUT_OF_INDEXES;

void FreeThreadBuffer()
{
    if (g_tlsIndex == TLS_OUT_OF_INDEXES) return;
    delete static_cast<std::wstring*>(TlsGetValue(g_tlsIndex));
    TlsSetValue(g_tlsIndex, nullptr);
}

std::wstring* ThreadBuffer()
{
    if (g_tlsIndex == TLS_OUT_OF_INDEXES) return nullptr;
    std::wstring* buffer = static_cast<std::wstring*>(TlsGetValue(g_tlsIndex));
    if (!buffer) {
        buffer = new std::wstring();
        TlsSetValue(g_tlsIndex, buffer);
    }
    return buffer;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH: g_tlsIndex = TlsAlloc(); return g_tlsIndex != TLS_OUT_OF_INDEXES;
    case DLL_THREAD_DETACH: FreeThreadBuffer(); break;
    case DLL_PROCESS_DETACH:
        FreeThreadBuffer();
        if (g_tlsIndex != TLS_OUT_OF_INDEXES) TlsFree(g_tlsIndex);
        g_tlsIndex = TLS_OUT_OF_INDEXES;
        break;
    }
    return TRUE;
}

const wchar_t* SBCharToWChar(const char* text)
{
    std::wstring* buffer = ThreadBuffer();
    if (!buffer) return L"";
    buffer->clear();
    if (!text || !*text) return buffer->c_str();
    int needed = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (needed <= 0) return buffer->c_str();
    buffer->assign(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &(*buffer)[0], needed);
    buffer->resize(static_cast<size_t>(needed - 1));
    return buffer->c_str();
}

char* SBWCharToChar(const wchar_t* text)
{
    int needed = (text && *text) ? WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr) : 0;
    if (needed <= 0) {
        char* empty = new char[1];
        empty[0] = '\0';
        return empty;
    }
    char* result = new char[static_cast<size_t>(needed)];
    WideCharToMultiByte(CP_ACP, 0, text, -1, result, needed, nullptr, nullptr);
    return result;
}

void SBFreeCharBuffer(char* buffer) { delete[] buffer; }
