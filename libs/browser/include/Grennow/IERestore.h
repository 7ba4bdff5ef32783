// The twenty browser settings that "restore to defaults" covers (start and search pages of the current user and of
// all users, the search assistant and the built-in error pages), each with its registry place and default text.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Grennow/GrennowApi.h"

struct IERestoreInfo {
    std::wstring displayName;
    std::wstring keyPath;
    std::wstring valueName;
    std::wstring defaultValue;  // stored as written: "%SystemRoot%" and "{SUB_RFC1766}" are not replaced
    HKEY root = nullptr;
};

class GRENNOW_API CIERestore {
public:
    // Builds the twenty rows.
    CIERestore();
    ~CIERestore();
    CIERestore(const CIERestore& other);
    CIERestore& operator=(const CIERestore& other);

    unsigned GetItemCount() const;
    // The row; an index outside the table gives an empty row (no root, no key) that nothing can read or write.
    const IERestoreInfo& GetItem(int index) const;

    // The value's text exactly as stored (environment references not expanded); empty when missing. True when read.
    bool GetCurrentSetting(int index, std::wstring& out) const;
    bool GetCurrentSetting(const IERestoreInfo& item, std::wstring& out) const;
    // True when the stored text equals the default exactly (letter case included). A missing value is not default.
    bool IsDefaultSetting(int index) const;
    bool IsDefaultSetting(const IERestoreInfo& item) const;
    // Writes the default text. True when the registry took it; an index outside the table writes nothing.
    bool SetToDefault(int index) const;
    bool SetToDefault(const IERestoreInfo& item) const;

private:
    std::vector<IERestoreInfo> m_items;
};
