// The update agent's interfaces as the system publishes them, plus what the compiler's SDK headers lack: the two
// download callback interfaces and the update collection class.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <wuapi.h>

// {13639463-00DB-4646-803D-528026140D88}
EXTERN_C const CLSID CLSID_UpdateCollection;

MIDL_INTERFACE("8C3F1CDD-6173-4591-AEBD-A56A53CA77C1")
IDownloadProgressChangedCallback : public IUnknown
{
    // The arguments object is not read: the job carries the progress.
    virtual HRESULT STDMETHODCALLTYPE Invoke(IDownloadJob * downloadJob, IUnknown * callbackArgs) = 0;
};
__CRT_UUID_DECL(IDownloadProgressChangedCallback, 0x8C3F1CDD, 0x6173, 0x4591, 0xAE, 0xBD, 0xA5, 0x6A, 0x53, 0xCA, 0x77,
                0xC1)

MIDL_INTERFACE("77254866-9F5B-4C8E-B9E2-C77A8530D64B")
IDownloadCompletedCallback : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Invoke(IDownloadJob * downloadJob, IUnknown * callbackArgs) = 0;
};
__CRT_UUID_DECL(IDownloadCompletedCallback, 0x77254866, 0x9F5B, 0x4C8E, 0xB9, 0xE2, 0xC7, 0x7A, 0x85, 0x30, 0xD6, 0x4B)

namespace skarloe {

// The outcome of a finished operation as one status: S_OK for success (with or without errors), else the
// service's own failure status, or E_ABORT / E_FAIL when it gives none.
HRESULT OutcomeStatus(OperationResultCode code, LONG hresult);

}  // namespace skarloe
