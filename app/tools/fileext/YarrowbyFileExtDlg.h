// The file-extension lookup page: the user types an extension and the service's description of it is shown in
// an embedded browser. The page only builds the request and navigates; the service address comes from the
// program's settings.
#pragma once

#include <QMfcHtmlView.h>

#include <string>

#include "FunctionDlg.h"
#include "ImageButton.h"

// The page's browser: no three-dimensional border and no scroll bars.
class CMyHtmlView : public CHtmlView {
public:
    HRESULT OnGetHostInfo(DOCHOSTUIINFO* info) override;
};

class CYarrowbyFileExtDlg : public CFunctionDlg {
public:
    enum { IDC_TIPS = 58000, IDC_LABEL = 58001, IDC_EXTENSION = 58002, IDC_SEARCH = 58003, IDC_BROWSER = 58004 };
    static constexpr const wchar_t* kDefaultExtension = L".doc";

    CYarrowbyFileExtDlg();

    void OnInitPage() override;
    void OnShowPage() override;
    // Enter looks up.
    void OnOK() override { LookUp(); }

    const std::wstring& SystemText() const { return m_systemText; }

protected:
    void LookUp();
    void OnExtensionFocus();
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    CMyHtmlView m_view;
    std::wstring m_systemText;
    CEdit m_extension;
    CGeneralImageButton m_search;
};
