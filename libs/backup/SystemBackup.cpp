#include "SystemBackup.h"

#include <QApartment.h>
#include <QGuards.h>

#include <wbemidl.h>

#include <cstdio>
#include <cwchar>
#include <functional>

namespace Coldrith {
namespace {
const int kCancelledOperation = 13;
typedef BOOL(WINAPI* PFN_SRSetRestorePointW)(PRESTOREPOINTINFOW, PSTATEMGRSTATUS);
typedef DWORD(WINAPI* PFN_SRRemoveRestorePoint)(DWORD);

// Runs fn in the multithreaded apartment with the security WMI's System Restore calls need.
void RunInMta(const std::function<void()>& fn)
{
    qcore::RunInMta([&fn]() -> HRESULT {
        // Process-wide and only once per process; a later call's refusal is expected and harmless.
        CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IMPERSONATE,
                             nullptr, EOAC_NONE, nullptr);
        fn();
        return S_OK;
    });
}

class CBstr {
public:
    explicit CBstr(const wchar_t* text) : m_b(SysAllocString(text)) {}
    ~CBstr() { SysFreeString(m_b); }
    CBstr(const CBstr&) = delete;
    CBstr& operator=(const CBstr&) = delete;
    operator BSTR() const { return m_b; }

private:
    BSTR m_b;
};

class CVariant {
public:
    CVariant() { VariantInit(&v); }
    ~CVariant() { VariantClear(&v); }
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;
    VARIANT v;
};

// Connects to ROOT\default with the proxy blanket System Restore needs.
bool ConnectWmi(qcore::ComPtr<IWbemServices>& services)
{
    qcore::ComPtr<IWbemLocator> locator;
    if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator, locator.PutVoid())))
        return false;
    CBstr space(L"ROOT\\default");
    if (FAILED(locator->ConnectServer(space, nullptr, nullptr, nullptr, 0, nullptr, nullptr, services.Put())) ||
        !services)
        return false;
    return SUCCEEDED(CoSetProxyBlanket(services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                       RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE));
}

std::wstring StringProperty(IWbemClassObject* object, const wchar_t* name)
{
    CVariant value;
    if (FAILED(object->Get(name, 0, &value.v, nullptr, nullptr)) || value.v.vt != VT_BSTR || !value.v.bstrVal)
        return std::wstring();
    return value.v.bstrVal;
}

bool IntProperty(IWbemClassObject* object, const wchar_t* name, int& out)
{
    CVariant value;
    if (FAILED(object->Get(name, 0, &value.v, nullptr, nullptr)) ||
        FAILED(VariantChangeType(&value.v, &value.v, 0, VT_I4)))
        return false;
    out = value.v.lVal;
    return true;
}

// Calls SystemRestore.<method> with one input property; true when the call ran and its ReturnValue is 0.
bool CallSystemRestore(const wchar_t* method, const wchar_t* property, VARIANT& argument)
{
    qcore::ComPtr<IWbemServices> services;
    if (!ConnectWmi(services)) return false;
    CBstr className(L"SystemRestore"), methodName(method);
    qcore::ComPtr<IWbemClassObject> classObject, inClass, inParams, outParams;
    if (FAILED(services->GetObject(className, 0, nullptr, classObject.Put(), nullptr)) || !classObject) return false;
    // Some systems describe the method without input parameters: then the argument cannot be passed at all.
    if (FAILED(classObject->GetMethod(method, 0, inClass.Put(), nullptr)) || !inClass) return false;
    if (FAILED(inClass->SpawnInstance(0, inParams.Put())) || !inParams) return false;
    if (FAILED(inParams->Put(property, 0, &argument, 0))) return false;
    if (FAILED(services->ExecMethod(className, methodName, 0, nullptr, inParams.Get(), outParams.Put(), nullptr)) ||
        !outParams)
        return false;
    int result = -1;
    return IntProperty(outParams.Get(), L"ReturnValue", result) && result == 0;
}
}  // namespace

std::wstring FormatWmiTime(const std::wstring& wmiTime)
{
    if (wmiTime.size() < 14) return std::wstring();
    for (size_t i = 0; i < 14; ++i)
        if (wmiTime[i] < L'0' || wmiTime[i] > L'9') return std::wstring();
    return wmiTime.substr(0, 4) + L"-" + wmiTime.substr(4, 2) + L"-" + wmiTime.substr(6, 2) + L" " +
           wmiTime.substr(8, 2) + L":" + wmiTime.substr(10, 2) + L":" + wmiTime.substr(12, 2);
}

void MakeRestorePointRequest(const std::wstring& description, RESTOREPOINTINFOW& request)
{
    ZeroMemory(&request, sizeof(request));
    request.dwEventType = BEGIN_SYSTEM_CHANGE;
    request.dwRestorePtType = APPLICATION_INSTALL;
    request.llSequenceNumber = 0;
    const size_t capacity = sizeof(request.szDescription) / sizeof(request.szDescription[0]);
    size_t n = description.size() < capacity - 1 ? description.size() : capacity - 1;
    description.copy(request.szDescription, n);
    request.szDescription[n] = L'\0';
}

bool CSystemBackup::EnumRestorPoint(std::vector<RestorePointItem>& items)
{
    bool connected = false;
    std::vector<RestorePointItem> found;
    RunInMta([&]() {
        qcore::ComPtr<IWbemServices> services;
        if (!ConnectWmi(services)) return;
        connected = true;
        CBstr language(L"WQL"), query(L"SELECT * FROM SystemRestore");
        qcore::ComPtr<IEnumWbemClassObject> rows;
        if (FAILED(services->ExecQuery(language, query, WBEM_FLAG_RETURN_IMMEDIATELY | WBEM_FLAG_FORWARD_ONLY, nullptr,
                                       rows.Put())) ||
            !rows)
            return;
        for (;;) {
            qcore::ComPtr<IWbemClassObject> row;
            ULONG returned = 0;
            if (FAILED(rows->Next(WBEM_INFINITE, 1, row.Put(), &returned)) || returned == 0 || !row) break;
            int type = 0;
            if (IntProperty(row.Get(), L"RestorePointType", type) && type == kCancelledOperation) continue;
            RestorePointItem item;
            item.description = StringProperty(row.Get(), L"Description");
            item.time = FormatWmiTime(StringProperty(row.Get(), L"Creationtime"));
            IntProperty(row.Get(), L"sequencenumber", item.sequence);
            found.push_back(item);
        }
    });
    items.insert(items.end(), found.begin(), found.end());
    return connected;
}

bool CSystemBackup::AddRestorePoint(std::wstring description)
{
    if (m_bRestoreScheduled) return false;
    RESTOREPOINTINFOW request;
    MakeRestorePointRequest(description, request);
    qcore::UniqueModule library(LoadLibraryW(L"srclient.dll"));
    if (!library) {
        wprintf(L"System Restore is not present.\n");
        m_dwLastStatus = ERROR_MOD_NOT_FOUND;
        return true;
    }
    auto setPoint = reinterpret_cast<PFN_SRSetRestorePointW>(
        reinterpret_cast<void*>(GetProcAddress(library.Get(), "SRSetRestorePointW")));
    if (!setPoint) {
        wprintf(L"Failed to find SRSetRestorePointW.\n");
        m_dwLastStatus = ERROR_PROC_NOT_FOUND;
        return true;
    }
    STATEMGRSTATUS status = {};
    if (setPoint(&request, &status)) {
        wprintf(L"Restore point created; number=%I64d.\n", status.llSequenceNumber);
        m_dwLastStatus = ERROR_SUCCESS;
        request.dwEventType = END_SYSTEM_CHANGE;
        request.llSequenceNumber = status.llSequenceNumber;
        STATEMGRSTATUS endStatus = {};
        if (!setPoint(&request, &endStatus)) {
            // The point exists but stays open: the system counts that as not created.
            wprintf(L"Failure to end the restore point; error=%u.\n", static_cast<unsigned>(endStatus.nStatus));
            m_dwLastStatus = endStatus.nStatus ? endStatus.nStatus : ERROR_GEN_FAILURE;
        }
        return true;
    }
    if (status.nStatus == ERROR_SERVICE_DISABLED)
        wprintf(L"System Restore is turned off.\n");
    else
        wprintf(L"Failure to create the restore point; error=%u.\n", static_cast<unsigned>(status.nStatus));
    m_dwLastStatus = status.nStatus ? status.nStatus : ERROR_GEN_FAILURE;
    return true;
}

bool CSystemBackup::RemoveRestorePoint(int sequence)
{
    qcore::UniqueModule library(LoadLibraryW(L"srclient.dll"));
    if (!library) {
        wprintf(L"System Restore is not present.\n");
        m_dwLastStatus = ERROR_MOD_NOT_FOUND;
        return false;
    }
    auto removePoint = reinterpret_cast<PFN_SRRemoveRestorePoint>(
        reinterpret_cast<void*>(GetProcAddress(library.Get(), "SRRemoveRestorePoint")));
    if (!removePoint) {
        wprintf(L"Failed to find SRRemoveRestorePoint.\n");
        m_dwLastStatus = ERROR_PROC_NOT_FOUND;
        return false;
    }
    m_dwLastStatus = removePoint(static_cast<DWORD>(sequence));
    if (m_dwLastStatus != ERROR_SUCCESS)
        wprintf(L"Failure to remove the restore point; error=%u.\n", static_cast<unsigned>(m_dwLastStatus));
    return m_dwLastStatus == ERROR_SUCCESS;
}

bool CSystemBackup::RestorePoint(int sequence)
{
    wprintf(L"The command is: %d\n", sequence);
    bool accepted = false;
    RunInMta([&]() {
        VARIANT argument;
        VariantInit(&argument);
        argument.vt = VT_I4;
        argument.lVal = sequence;
        accepted = CallSystemRestore(L"Restore", L"SequenceNumber", argument);
    });
    if (accepted) m_bRestoreScheduled = true;
    return accepted;
}

bool CSystemBackup::EnableSystemRestore()
{
    bool enabled = false;
    RunInMta([&]() {
        CVariant drive;
        drive.v.vt = VT_BSTR;
        drive.v.bstrVal = SysAllocString(L"");
        enabled = CallSystemRestore(L"Enable", L"Drive", drive.v);
    });
    return enabled;
}
}  // namespace Coldrith
