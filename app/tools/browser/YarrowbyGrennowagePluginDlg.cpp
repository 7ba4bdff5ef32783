#include "YarrowbyGrennowagePluginDlg.h"

#include "BrowserPageLogic.h"
#include "CheckList.h"

using namespace BrowserPage;
typedef CYarrowbyGrennowagePluginDlg CPluginTab;

BEGIN_MESSAGE_MAP(CYarrowbyGrennowagePluginDlg, CYarrowbyGrennowageTabDlg)
    ON_BN_CLICKED(CPluginTab::IDC_DELETE, &CPluginTab::OnDelete)
END_MESSAGE_MAP()

void CYarrowbyGrennowagePluginDlg::OnInitPage()
{
    CreateControl({IDC_DESCRIPTION, PageControlKind::Text, {16, 8, 721, 44}, L"IDS_SYS_TOOLS_IE_PLUGIN_DESCRIPTION"});
    CreateCheckList(m_list, IDC_LIST, 50,
                    {{L"IDS_SYS_TOOLS_IE_PLUGIN_LIST_NAME", 140},
                     {L"IDS_SYS_TOOLS_IE_PLUGIN_LIST_TYPE", 60},
                     {L"IDS_SYS_TOOLS_IE_PLUGIN_LIST_DESCRIPTION", 150},
                     {L"IDS_SYS_TOOLS_IE_PLUGIN_LIST_VERSION", 80},
                     {L"IDS_SYS_TOOLS_IE_PLUGIN_LIST_COMPANY", 110},
                     {L"IDS_SYS_TOOLS_IE_PLUGIN_LIST_FILEPATH", 160}});
    CreateButton(m_delete, L"IDS_SYS_TOOLS_IE_PLUGIN_BUTTON_DELETE", IDC_DELETE, CRect(597, 428, 721, 468));
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
    ShowMessage(
        OutcomeMessageKey(outcome, L"IDS_SYS_TOOLS_IE_PLUGIN_DELETE_OK", L"IDS_SYS_TOOLS_IE_PLUGIN_NO_ITEM_DELETED"));
    if (outcome.attempted > 0) Refresh();
}
