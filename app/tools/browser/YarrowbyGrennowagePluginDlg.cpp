#include "YarrowbyGrennowagePluginDlg.h"

#include "BrowserPageLogic.h"
#include "CheckList.h"
#include "Dictionary.h"

using nsVendrel::TranslateCode;
using namespace BrowserPage;
typedef CYarrowbyGrennowagePluginDlg CPluginTab;

BEGIN_MESSAGE_MAP(CYarrowbyGrennowagePluginDlg, CYarrowbyGrennowageTabDlg)
    ON_BN_CLICKED(CPluginTab::IDC_DELETE, &CPluginTab::OnDelete)
END_MESSAGE_MAP()

void CYarrowbyGrennowagePluginDlg::OnInitPage()
{
    AddText(L"IDS_SYS_TOOLS_IE_PLUGIN_DESCRIPTION", CRect(16, 8, 721, 44), IDC_DESCRIPTION);
    CreateCheckList(m_list, this, CRect(16, 50, 721, 414), IDC_LIST,
                    {L"IDS_SYS_TOOLS_IE_PLUGIN_LIST_NAME", L"IDS_SYS_TOOLS_IE_PLUGIN_LIST_TYPE",
                     L"IDS_SYS_TOOLS_IE_PLUGIN_LIST_DESCRIPTION", L"IDS_SYS_TOOLS_IE_PLUGIN_LIST_VERSION",
                     L"IDS_SYS_TOOLS_IE_PLUGIN_LIST_COMPANY", L"IDS_SYS_TOOLS_IE_PLUGIN_LIST_FILEPATH"},
                    {140, 60, 150, 80, 110, 160}, &m_font);
    m_delete.Create(TranslateCode(L"IDS_SYS_TOOLS_IE_PLUGIN_BUTTON_DELETE"), WS_CHILD | WS_VISIBLE,
                    CRect(597, 428, 721, 468), this, IDC_DELETE);
}

void CYarrowbyGrennowagePluginDlg::Refresh()
{
    m_records.clear();
    CIEPluginMan().GetPlugins(m_records);
    std::vector<RowTexts> rows;
    for (const IEPluginInfo& info : m_records) rows.push_back(PluginRow(info));
    FillRows(m_list, rows);
}

void CYarrowbyGrennowagePluginDlg::OnDelete()
{
    // Through the library, which refuses a record that names no helper object's key.
    CIEPluginMan plugins;
    ActionOutcome outcome;
    for (size_t record : CheckedRecords(m_list)) outcome.Add(plugins.RemovePlugin(m_records[record]));
    ShowMessage(OutcomeMessageKey(outcome, L"IDS_SYS_TOOLS_IE_PLUGIN_DELETE_OK", L"IDS_SYS_TOOLS_IE_PLUGIN_NO_ITEM_DELETED"));
    if (outcome.attempted > 0) Refresh();
}
