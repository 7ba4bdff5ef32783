// Running a wizard step: the first failure ends it, the error text's sources, one worker per step, and a worker
// that outlives the document's owner.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include <Common.h>

#include "engine/WizardDocument.h"
#include "QTestSupport.h"
#include "WizardTestSupport.h"

using namespace wizard_test;

namespace {

const wchar_t kKey[] = L"Software\\QvWizardTest";

// The end of one run, as its callback reports it.
struct Outcome {
    HANDLE done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> calls{0};
    std::atomic<bool> succeeded{false};
    ~Outcome() { ::CloseHandle(done); }

    CWizardErrorStepInfo::Done Callback()
    {
        return [this](bool ok) {
            succeeded = ok;
            ++calls;
            ::SetEvent(done);
        };
    }
    bool Wait(DWORD ms = 20000) { return ::WaitForSingleObject(done, ms) == WAIT_OBJECT_0; }
};

std::string SetString(const char* name, const char* value, const char* extra = "")
{
    return std::string("<Execute RegRoot=\"HKEY_CURRENT_USER\" RegOpType=\"SET_STRING_VAL\" RegPath=\"") +
           "Software\\QvWizardTest\" ValName=\"" + name + "\" NewVal=\"" + value + "\" " + extra + "/>";
}

std::shared_ptr<CWizardDocument> Load(const std::string& steps)
{
    auto document = std::make_shared<CWizardDocument>();
    EXPECT_TRUE(document->Load(("<root><Error Description=\"e\">" + steps + "</Error></root>").c_str()));
    return document;
}

CWizardErrorStepInfo& StepOf(const std::shared_ptr<CWizardDocument>& document, int id)
{
    return *document->Errors().at(0)->Step(id);
}

}  // namespace

TEST(StepRunner, TheFirstFailingActionEndsTheStepWithItsOwnErrorText)
{
    SBRegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    auto document = Load("<Step StepID=\"0\" ErrorDescription=\"step text\">" + SetString("first", "1") +
                         "<Execute Unknown=\"x\" ErrorDescription=\"no such action\"/>" + SetString("third", "3") +
                         "</Step>"
                         "<Step StepID=\"1\" ErrorDescription=\"step text\"><Execute RemoveFileName=\"\"/>" +
                         SetString("after", "4") +
                         "</Step>"
                         "<Step StepID=\"2\"><Execute Unknown=\"x\"/></Step>");

    Outcome zero;
    ASSERT_TRUE(StepOf(document, 0).Start(document, zero.Callback()));
    ASSERT_TRUE(zero.Wait());
    EXPECT_FALSE(zero.succeeded);
    EXPECT_EQ("no such action", StepOf(document, 0).ErrorText());
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kKey, L"first"));   // done before the failure, kept
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kKey, L"third"));  // never reached

    Outcome one;  // the failing action has no text of its own: the step's
    ASSERT_TRUE(StepOf(document, 1).Start(document, one.Callback()));
    ASSERT_TRUE(one.Wait());
    EXPECT_FALSE(one.succeeded);
    EXPECT_EQ("step text", StepOf(document, 1).ErrorText());
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kKey, L"after"));

    Outcome two;  // no text anywhere: empty (the wizard shows its own)
    ASSERT_TRUE(StepOf(document, 2).Start(document, two.Callback()));
    ASSERT_TRUE(two.Wait());
    EXPECT_FALSE(two.succeeded);
    EXPECT_EQ("", StepOf(document, 2).ErrorText());
    SBRegDeleteTreeW(HKEY_CURRENT_USER, kKey);
}

TEST(StepRunner, AStepWithoutActionsSucceedsAtOnce)
{
    auto document = Load("<Step StepID=\"0\" Description=\"hello\"/>");
    Outcome outcome;
    ASSERT_TRUE(StepOf(document, 0).Start(document, outcome.Callback()));
    EXPECT_EQ(1, outcome.calls.load());  // called before Start returned
    EXPECT_TRUE(outcome.succeeded);
    EXPECT_FALSE(StepOf(document, 0).IsWorking());
}

TEST(StepRunner, OneWorkerPerStepAndTheWorkerKeepsTheDocumentAlive)
{
    HeldDownload held;
    ASSERT_TRUE(held.Start());
    auto document = Load("<Step StepID=\"0\">" + held.Action() + "</Step>");
    CWizardErrorStepInfo& step = StepOf(document, 0);

    Outcome first;
    ASSERT_TRUE(step.Start(document, first.Callback()));
    EXPECT_TRUE(step.IsRunning());
    EXPECT_TRUE(step.IsWorking());
    Outcome second;
    EXPECT_FALSE(step.Start(document, second.Callback()));  // refused while the first works
    step.StopWaiting();
    EXPECT_FALSE(step.IsRunning());
    EXPECT_TRUE(step.IsWorking());

    // The owner lets go of the document; the worker still holds it and finishes its action.
    std::weak_ptr<CWizardDocument> watch = document;
    document.reset();
    EXPECT_FALSE(watch.expired());
    held.Release();
    ASSERT_TRUE(first.Wait());
    EXPECT_TRUE(first.succeeded);
    EXPECT_EQ(0, second.calls.load());
    EXPECT_TRUE(shell_test::PumpUntil([&] { return watch.expired(); }));
    SBDeleteDirectoryW((SBGetAppPathW() + L"download").c_str());
}
