// Puts a downloaded DLL into the system folder and registers it, with the safety rules of the DLL page: only a
// bare ".dll" name from an http(s) address, only an answer with status 200, only a DLL for this kind of process,
// downloaded into a temporary file first, and never over a file that is already in the system folder.
#pragma once

#include <windows.h>

#include <string>

#include "net/HttpTransfer.h"

namespace DllInstaller {

enum class Outcome {
    Installed,
    Registered,
    BadName,         // the name is not a bare ".dll" file name
    BadUrl,          // not an http or https address
    AlreadyPresent,  // the system folder already holds a file of that name: it is never replaced
    NetworkError,
    HttpStatus,    // the server answered with another status than 200
    NotDll,        // the answer is not a DLL (an HTML page, a program, any other bytes)
    OtherMachine,  // a DLL for another processor
    WriteFailed,   // the temporary file or the copy into the system folder failed
    Stopped,
    TooLarge,        // the answer is larger than any DLL we take (kMaxDllBytes): refused before it is read
    NotInstalled,    // Register: the file is not in the system folder
    RegisterFailed,  // regsvr32 could not start or reported a failure
};

struct Result {
    Outcome outcome = Outcome::NetworkError;
    DWORD httpStatus = 0;
};

// No system DLL comes near this size: a larger answer is not a DLL the page installs.
const ULONGLONG kMaxDllBytes = 64ull * 1024 * 1024;

// Downloads url into the system folder (systemFolder, no trailing backslash) under name. progress gets the bytes
// so far and the announced length; stop (optional) ends the transfer within moments.
Result Install(const std::wstring& name, const std::wstring& url, const std::wstring& systemFolder,
               const HttpTransfer::Progress& progress, HANDLE stop);

// Registers systemFolder\name with regsvr32 from the system folder; cancel (optional) stops waiting for it.
Result Register(const std::wstring& name, const std::wstring& systemFolder, HANDLE cancel);

// The dictionary key of an outcome's text (HttpStatus's text holds a %d for the status).
const wchar_t* OutcomeKey(Outcome outcome);

}  // namespace DllInstaller
