// CFunctionDlg's helpers that build a page's controls.
#include "FunctionDlg.h"

#include "Dictionary.h"
#include "ImageButton.h"

namespace {

CString Caption(const wchar_t* key) { return key && *key ? nsVendrel::TranslateCode(key) : CString(); }

}  // namespace

CFont& CFunctionDlg::TextFont()
{
    if (!m_pageFont.GetSafeHandle()) CreateSkinFont(m_pageFont, 13, FALSE);
    return m_pageFont;
}

void CFunctionDlg::CreateText(CStatic& text, const wchar_t* key, UINT id, const RECT& rect, DWORD style)
{
    text.Create(Caption(key), WS_CHILD | WS_VISIBLE | style, rect, this, id);
    text.SetFont(&TextFont());
}

void CFunctionDlg::CreateEdit(CEdit& edit, UINT id, const RECT& rect, DWORD style)
{
    edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | style, rect, this, id);
    edit.SetFont(&TextFont());
}

void CFunctionDlg::CreateButton(CImageButton& button, const wchar_t* key, UINT id, const RECT& rect, DWORD style)
{
    button.Create(Caption(key), WS_CHILD | WS_VISIBLE | style, rect, this, id);
}

void CFunctionDlg::CreateCheckBox(CButton& box, const wchar_t* key, UINT id, const RECT& rect, DWORD style)
{
    if (!(style & BS_TYPEMASK)) style |= BS_AUTOCHECKBOX;
    box.Create(Caption(key), WS_CHILD | WS_VISIBLE | style, rect, this, id);
    box.SetFont(&TextFont());
}

void CFunctionDlg::CreateGroupBox(CButton& box, const wchar_t* key, UINT id, const RECT& rect)
{
    CreateCheckBox(box, key, id, rect, BS_GROUPBOX);
}

void CFunctionDlg::CreateList(CListCtrl& list, UINT id, const RECT& rect, DWORD style, DWORD extendedStyle,
                              std::initializer_list<PageListColumn> columns)
{
    list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | style, rect, this, id);
    if (extendedStyle) list.SetExtendedStyle(extendedStyle);
    int index = 0;
    for (const PageListColumn& column : columns)
        list.InsertColumn(index++, Caption(column.key), LVCFMT_LEFT, column.width);
}

CWnd* CFunctionDlg::CreateControl(const PageControlRow& row)
{
    const UINT id = UINT(row.id);
    switch (row.kind) {
    case PageControlKind::Text: {
        auto* text = new CStatic;
        m_tableControls.emplace_back(text);
        CreateText(*text, row.captionKey, id, row.rect, row.style);
        return text;
    }
    case PageControlKind::Edit: {
        auto* edit = new CEdit;
        m_tableControls.emplace_back(edit);
        CreateEdit(*edit, id, row.rect, row.style);
        return edit;
    }
    case PageControlKind::Button: {
        auto* button = new CGeneralImageButton;
        m_tableControls.emplace_back(button);
        CreateButton(*button, row.captionKey, id, row.rect, row.style);
        return button;
    }
    case PageControlKind::CheckBox:
    case PageControlKind::GroupBox: {
        auto* box = new CButton;
        m_tableControls.emplace_back(box);
        CreateCheckBox(*box, row.captionKey, id, row.rect,
                       row.kind == PageControlKind::GroupBox ? BS_GROUPBOX | row.style : row.style);
        return box;
    }
    }
    return nullptr;
}

void CFunctionDlg::CreateControls(const PageControlRow* rows, size_t count)
{
    for (size_t i = 0; i < count; ++i) CreateControl(rows[i]);
}
