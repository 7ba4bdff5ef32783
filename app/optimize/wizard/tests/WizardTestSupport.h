// What the wizard and DLL page tests share: a stand-in for regsvr32 in the system folder, the marker DLL's
// count, a held download, and registry fixtures.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "QHttpTestServer.h"

namespace wizard_test {

// A wizard download action whose server holds its answer until the test releases it: a step as slow as the test
// wants, without waiting on a clock.
class HeldDownload {
public:
    HeldDownload();
    ~HeldDownload();
    // Starts the server; false when it cannot listen.
    bool Start();
    // The <Execute> element that downloads the held file.
    std::string Action() const;
    void Release() { ::SetEvent(m_gate); }
    size_t Requests() const { return m_server.Targets("/slow.bin").size(); }

private:
    shell_test::LocalHttpServer m_server;
    HANDLE m_gate;
};

// Copies the run recorder (QRunRecorder.exe beside the test) over the system folder's regsvr32.exe and tells Wine
// to run it instead of its own; its record starts empty. False when the copy failed.
bool UseRecorderAsRegsvr32();
// Wine's own regsvr32 again (it loads the DLL and calls its DllRegisterServer).
void UseSystemRegsvr32();
// The runs the recorder saw as (its own path, its command line), from runs.txt beside it.
std::vector<std::pair<std::wstring, std::wstring>> RecordedRuns(const std::wstring& folder);
std::wstring SystemFolder();
// The number of WizardMarker.dll registrations, and a fresh start of it.
DWORD MarkerRegistrations();
void ResetMarkerRegistrations();
// The text as UTF-8 (for messages and narrow documents).
std::string Utf8(const std::wstring& text);
// Points the DLL search at this address (HKLM\Software\Quorvel\Param "ServiceUrl"); empty deletes the setting.
void SetServiceUrl(const std::wstring& url);
// The bytes of a file (empty when it cannot be read).
std::string ReadFileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);

// Registry reads in the test's own view.
bool ReadString(HKEY root, const wchar_t* key, const wchar_t* value, std::wstring& text, DWORD* type = nullptr);
bool ReadDword(HKEY root, const wchar_t* key, const wchar_t* value, DWORD& data);
bool ValueExists(HKEY root, const wchar_t* key, const wchar_t* value);

}  // namespace wizard_test
