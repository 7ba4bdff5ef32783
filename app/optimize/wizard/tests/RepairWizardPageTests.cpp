// The repair home page and the repair-wizard page as a user drives them: the picture buttons ask for their pages;
// the wizard lists the program's 28 faults, walks "Script Error" with Next and Previous, survives Finish during a
// slow step, and tells the user what went wrong.
#include <gtest/gtest.h>

#include <windows.h>

#include <Common.h>

#include "dialogs/WizardErrorStepDlg.h"
#include "dialogs/WizardHomeDlg.h"
#include "Dictionary.h"
#include "PageIds.h"
#include "pages/MoravinErrWizardHomeDlg.h"
#include "pages/MoravinHomeDlg.h"
#include "PageTestHost.h"
#include "QTestSupport.h"
#include "WizardTestSupport.h"

using namespace wizard_test;
using nsVendrel::TranslateCode;
using shell_test::ListCellText;
using shell_test::PumpUntil;

namespace {

const wchar_t kIeMain[] = L"Software\\Microsoft\\Internet Explorer\\Main";
const wchar_t kScriptDebugger[] = L"Disable Script Debugger";

void DeleteValue(HKEY root, const wchar_t* key, const wchar_t* name)
{
    HKEY k = nullptr;
    if (::RegOpenKeyExW(root, key, 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS) return;
    ::RegDeleteValueW(k, name);
    ::RegCloseKey(k);
}

class WizardPage : public ::testing::Test {
protected:
    static void SetUpTestSuite() { nsVendrel::LoadDictionarys((shell_test::ProgramFolder() + L"dic\\en").c_str()); }

    void SetUp() override
    {
        m_page = new CMoravinErrWizardHomeDlg;
        m_host.Add(m_page, PAGE_ID_REPAIR_WIZARD);
        ASSERT_NE(nullptr, m_page->Controller());
    }
    void TearDown() override { ClosePage(); }
    void ClosePage()
    {
        m_host.Container().DestroyWindow();
        delete m_page;
        m_page = nullptr;
    }

    CErrorWizardController& Wizard() { return *m_page->Controller(); }
    CWizardHomeDlg& Home() { return *Wizard().HomeDialog(); }
    CWizardErrorStepDlg& Step() { return *Wizard().StepDialog(); }
    HWND List() { return Home().List().GetSafeHwnd(); }
    std::wstring StepText() { return ItemText(&Step(), CWizardErrorStepDlg::IDC_STEP_TEXT); }
    bool ShowsText(const std::wstring& text)
    {
        return PumpUntil([&] { return StepText() == text; }, 20000);
    }
    // Selects the row with this text and presses the list's Next.
    void Choose(const std::wstring& description)
    {
        for (int row = 0; row < RowCount(List()); ++row)
            if (ListCellText(List(), row) == description) SelectRow(List(), row);
        Click(&Home(), CWizardHomeDlg::IDC_NEXT);
    }

    PageHost m_host;
    CMoravinErrWizardHomeDlg* m_page = nullptr;
};

}  // namespace

TEST(RepairHome, EachPictureButtonAsksForItsPage)
{
    PageHost host;
    CMoravinHomeDlg* page = new CMoravinHomeDlg;
    host.Add(page, PAGE_ID_REPAIR_HOME);
    const int expected[] = {140001, 140002, 140004, 140005, 140006, 140007, 140008};
    for (int n = 0; n < CMoravinHomeDlg::kButtons; ++n) {
        const int id = CMoravinHomeDlg::Entries()[n].buttonId;
        CWnd* button = page->GetDlgItem(id);
        ASSERT_NE(nullptr, button) << id;
        CRect r;
        button->GetWindowRect(&r);
        page->ScreenToClient(&r);
        EXPECT_EQ(30 + 104 * n, r.left) << id;
        EXPECT_EQ(30, r.top) << id;
        EXPECT_EQ(64, r.Width()) << id;
        EXPECT_EQ(50, r.Height()) << id;
        EXPECT_FALSE(ItemText(page, CMoravinHomeDlg::IDC_FIRST_CAPTION + n).empty());

        host.Main().switches.clear();
        Click(page, id);
        ASSERT_TRUE(PumpUntil([&] { return !host.Main().switches.empty(); })) << id;  // posted, not sent
        EXPECT_EQ(WPARAM(expected[n]), host.Main().switches.back());
    }
    EXPECT_EQ(nullptr, page->GetDlgItem(41002));
    host.Container().DestroyWindow();
    delete page;
}

TEST_F(WizardPage, ListsTheProgramsFaultsLastFirst)
{
    EXPECT_TRUE(Home().IsWindowVisible());
    EXPECT_FALSE(Step().IsWindowVisible());
    ASSERT_EQ(28, RowCount(List()));
    EXPECT_EQ(L"Script Error", ListCellText(List(), 0));
    EXPECT_EQ(L"Icons are displayed incorrectly", ListCellText(List(), 27));
    EXPECT_EQ(L"\"My Computer\" icon is no longer displayed", ListCellText(List(), 23));
}

TEST_F(WizardPage, ScriptErrorIsRepairedAndPreviousRunsNothing)
{
    DeleteValue(HKEY_CURRENT_USER, kIeMain, kScriptDebugger);
    Choose(L"Script Error");
    ASSERT_TRUE(ShowsText(L"Script Error, Please Click Next to start Repairing"));
    EXPECT_FALSE(Home().IsWindowVisible());
    EXPECT_TRUE(ItemShown(&Step(), CWizardErrorStepDlg::IDC_NEXT));
    EXPECT_TRUE(ItemShown(&Step(), CWizardErrorStepDlg::IDC_PREV));

    Click(&Step(), CWizardErrorStepDlg::IDC_NEXT);
    ASSERT_TRUE(ShowsText(L"Errors are repaired successfully"));
    std::wstring value;
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, kIeMain, kScriptDebugger, value));
    EXPECT_EQ(L"yes", value);
    EXPECT_FALSE(ItemShown(&Step(), CWizardErrorStepDlg::IDC_NEXT));
    EXPECT_TRUE(ItemShown(&Step(), CWizardErrorStepDlg::IDC_PREV));

    // Previous shows step 0 again without running step 1 a second time.
    DeleteValue(HKEY_CURRENT_USER, kIeMain, kScriptDebugger);
    Click(&Step(), CWizardErrorStepDlg::IDC_PREV);
    EXPECT_EQ(L"Script Error, Please Click Next to start Repairing", StepText());
    EXPECT_TRUE(ItemShown(&Step(), CWizardErrorStepDlg::IDC_NEXT));
    shell_test::PumpFor(200);
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kIeMain, kScriptDebugger));
    EXPECT_FALSE(Wizard().CurrentError()->Step(1)->IsWorking());

    // Previous at step 0: back to the list, nothing selected.
    Click(&Step(), CWizardErrorStepDlg::IDC_PREV);
    EXPECT_TRUE(Home().IsWindowVisible());
    EXPECT_FALSE(Step().IsWindowVisible());
    for (int row = 0; row < RowCount(List()); ++row) EXPECT_FALSE(RowSelected(List(), row));
}

TEST_F(WizardPage, NextWithoutAChoiceAsksForOne)
{
    shell_test::MessageBoxDriver boxes;
    Click(&Home(), CWizardHomeDlg::IDC_NEXT);
    ASSERT_EQ(1u, boxes.Texts().size());
    EXPECT_EQ(std::wstring(TranslateCode(L"IDS_SYS_FIX_ERROR_WIZARD_MSG_PLEASE_SELECT_ERROR")), boxes.Texts()[0]);
    EXPECT_NE(L"IDS_SYS_FIX_ERROR_WIZARD_MSG_PLEASE_SELECT_ERROR", boxes.Texts()[0]);  // translated
    EXPECT_TRUE(Home().IsWindowVisible());
    EXPECT_EQ(nullptr, Wizard().CurrentError());

    Wizard().SelectError(L"A fault nobody wrote");
    ASSERT_EQ(2u, boxes.Texts().size());
    EXPECT_EQ(L"Error not defined!", boxes.Texts()[1]);
    EXPECT_TRUE(Home().IsWindowVisible());
}

TEST_F(WizardPage, FinishDuringASlowStepReturnsAtOnceAndTheStepIsNotRunTwice)
{
    HeldDownload held;
    ASSERT_TRUE(held.Start());
    SBRegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QvWizardTest");
    const std::string document =
        "<root><Error Description=\"Slow\"><Step StepID=\"0\" Description=\"intro\"/>"
        "<Step StepID=\"1\" Description=\"done\" PreDescription=\"working\">" +
        held.Action() +
        "<Execute RegRoot=\"HKEY_CURRENT_USER\" RegOpType=\"SET_DWORD_VAL\" RegPath=\"Software\\QvWizardTest\" "
        "ValName=\"finished\" NewVal=\"1\"/></Step></Error></root>";
    ASSERT_TRUE(Wizard().Load(document.c_str()));

    Choose(L"Slow");
    ASSERT_TRUE(ShowsText(L"intro"));
    Click(&Step(), CWizardErrorStepDlg::IDC_NEXT);
    EXPECT_EQ(L"working", StepText());
    EXPECT_FALSE(ItemShown(&Step(), CWizardErrorStepDlg::IDC_NEXT));
    EXPECT_FALSE(ItemShown(&Step(), CWizardErrorStepDlg::IDC_PREV));
    ASSERT_TRUE(PumpUntil([&] { return held.Requests() == 1; }));
    // A second Next (sent directly, the button being hidden) starts nothing.
    Click(&Step(), CWizardErrorStepDlg::IDC_NEXT);
    shell_test::PumpFor(200);
    EXPECT_EQ(1u, held.Requests());

    Click(&Step(), CWizardErrorStepDlg::IDC_FINISH);
    EXPECT_TRUE(Home().IsWindowVisible());  // at once, the step still running
    EXPECT_FALSE(Step().IsWindowVisible());

    // Back in: step 1's earlier run still works, so it is not started again and the user is told.
    Choose(L"Slow");
    ASSERT_TRUE(ShowsText(L"intro"));
    Click(&Step(), CWizardErrorStepDlg::IDC_NEXT);
    const std::wstring busy = TranslateCode(L"IDS_SYS_FIX_ERROR_WIZARD_MSG_BUSY").GetString();
    EXPECT_EQ(busy, StepText());
    EXPECT_TRUE(ItemShown(&Step(), CWizardErrorStepDlg::IDC_PREV));

    // The first run ends in the background; its end does not change what the wizard shows.
    held.Release();
    ASSERT_TRUE(PumpUntil([] { return ValueExists(HKEY_CURRENT_USER, L"Software\\QvWizardTest", L"finished"); }));
    ASSERT_TRUE(PumpUntil([&] { return !Wizard().CurrentError()->Step(1)->IsWorking(); }));
    shell_test::PumpFor(200);
    EXPECT_EQ(busy, StepText());

    // Now it runs again.
    Click(&Step(), CWizardErrorStepDlg::IDC_PREV);
    Click(&Step(), CWizardErrorStepDlg::IDC_NEXT);
    ASSERT_TRUE(ShowsText(L"done"));
    EXPECT_EQ(2u, held.Requests());
    SBRegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QvWizardTest");
    SBDeleteDirectoryW((SBGetAppPathW() + L"download").c_str());
}

TEST_F(WizardPage, AFailureWithoutTextShowsATranslatedOneAndAGapEndsTheWizard)
{
    ASSERT_TRUE(
        Wizard().Load("<root>"
                      "<Error Description=\"Fails\"><Step StepID=\"0\" Description=\"intro\"/>"
                      "<Step StepID=\"1\" Description=\"never\"><Execute RemoveDirectory=\"C:\\\"/></Step></Error>"
                      "<Error Description=\"Gap\"><Step StepID=\"0\" Description=\"first\"/>"
                      "<Step StepID=\"2\" Description=\"unreachable\"/></Error>"
                      "</root>"));
    Choose(L"Fails");
    ASSERT_TRUE(ShowsText(L"intro"));
    Click(&Step(), CWizardErrorStepDlg::IDC_NEXT);
    ASSERT_TRUE(ShowsText(TranslateCode(L"IDS_SYS_FIX_ERROR_WIZARD_MSG_FAILED").GetString()));
    EXPECT_TRUE(ItemShown(&Step(), CWizardErrorStepDlg::IDC_PREV));
    EXPECT_TRUE(FileExists(L"C:\\windows"));

    Click(&Step(), CWizardErrorStepDlg::IDC_FINISH);
    Choose(L"Gap");
    ASSERT_TRUE(ShowsText(L"first"));
    Click(&Step(), CWizardErrorStepDlg::IDC_NEXT);
    EXPECT_TRUE(Home().IsWindowVisible());
    EXPECT_EQ(nullptr, Wizard().CurrentError());
}

TEST_F(WizardPage, ClosingThePageDuringAStepLeavesTheStepToFinishSafely)
{
    HeldDownload held;
    ASSERT_TRUE(held.Start());
    SBRegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QvWizardTest");
    ASSERT_TRUE(Wizard().Load(("<root><Error Description=\"Slow\"><Step StepID=\"0\" Description=\"intro\"/>"
                               "<Step StepID=\"1\" Description=\"done\">" +
                               held.Action() +
                               "<Execute RegRoot=\"HKEY_CURRENT_USER\" RegOpType=\"SET_DWORD_VAL\" "
                               "RegPath=\"Software\\QvWizardTest\" ValName=\"finished\" NewVal=\"1\"/>"
                               "</Step></Error></root>")
                                  .c_str()));
    Choose(L"Slow");
    ASSERT_TRUE(ShowsText(L"intro"));
    Click(&Step(), CWizardErrorStepDlg::IDC_NEXT);
    ASSERT_TRUE(PumpUntil([&] { return held.Requests() == 1; }));

    // The program closes the page (as at exit) while the step waits for its server; the step's actions then end
    // in the background with everything they use still there.
    ClosePage();
    held.Release();
    EXPECT_TRUE(PumpUntil([] { return ValueExists(HKEY_CURRENT_USER, L"Software\\QvWizardTest", L"finished"); }));
    SBRegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QvWizardTest");
    SBDeleteDirectoryW((SBGetAppPathW() + L"download").c_str());
}
