#include "UpdateRecord.h"

#include <cstdio>

#include "QGuards.h"

namespace skarloe {

namespace {

// A BSTR released at the end of the scope.
class Bstr {
public:
    Bstr() = default;
    ~Bstr() { ::SysFreeString(m_s); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR* Put()
    {
        ::SysFreeString(m_s);
        m_s = nullptr;
        return &m_s;
    }
    std::string Narrowed() const { return m_s ? Narrow(m_s, static_cast<int>(::SysStringLen(m_s))) : std::string(); }

private:
    BSTR m_s = nullptr;
};

}  // namespace

std::string Narrow(const wchar_t* text, int length)
{
    if (!text || length == 0 || (length < 0 && !*text)) return std::string();
    int n = ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, length, &out[0], n, nullptr, nullptr);
    if (length < 0) out.resize(out.size() - 1);  // the terminator was counted
    return out;
}

std::string DateText(DATE date)
{
    SYSTEMTIME t = {};
    if (!::VariantTimeToSystemTime(date, &t)) return std::string();
    char buf[64];
    std::snprintf(buf, sizeof(buf), "%d-%d-%d", t.wYear, t.wMonth, t.wDay);
    return buf;
}

void ReadUpdateItem(IUpdate* update, UpdateItem* item)
{
    qcore::ComPtr<IUpdateIdentity> identity;
    if (SUCCEEDED(update->get_Identity(identity.Put())) && identity) {
        Bstr id;
        if (SUCCEEDED(identity->get_UpdateID(id.Put()))) item->updateId = id.Narrowed();
    }
    VARIANT_BOOL downloaded = VARIANT_FALSE;
    if (SUCCEEDED(update->get_IsDownloaded(&downloaded))) item->downloaded = downloaded == VARIANT_TRUE;

    qcore::ComPtr<IStringCollection> articles;
    LONG count = 0;
    if (SUCCEEDED(update->get_KBArticleIDs(articles.Put())) && articles && SUCCEEDED(articles->get_Count(&count)) &&
        count > 0) {
        Bstr first;
        if (SUCCEEDED(articles->get_Item(0, first.Put()))) item->kbId = "KB" + first.Narrowed();
    }
    Bstr description;
    if (SUCCEEDED(update->get_Description(description.Put()))) item->description = description.Narrowed();

    DECIMAL size = {};
    if (SUCCEEDED(update->get_MaxDownloadSize(&size))) item->maxDownloadSize = static_cast<int>(size.Lo32);

    DATE changed = 0;
    if (SUCCEEDED(update->get_LastDeploymentChangeTime(&changed))) item->date = DateText(changed);

    Bstr title;
    if (SUCCEEDED(update->get_Title(title.Put()))) item->title = title.Narrowed();
    Bstr severity;
    if (SUCCEEDED(update->get_MsrcSeverity(severity.Put()))) item->severity = severity.Narrowed();
    if (item->severity.empty()) item->severity = "Unknown";
}

}  // namespace skarloe
