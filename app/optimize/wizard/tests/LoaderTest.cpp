// Loading the wizard document: the program's own recipes, hostile documents, and the choice of action kinds.
#include <gtest/gtest.h>

#include <windows.h>

#include <tinyxml.h>

#include "engine/ConfigResource.h"
#include "engine/ExecuterFactory.h"
#include "engine/WizardDocument.h"

namespace {

std::string BuiltInDocument()
{
    std::string text;
    EXPECT_TRUE(LoadConfigResource(::GetModuleHandleW(nullptr), kConfigResourceId, text));
    return text;
}

struct Expected {
    const char* description;
    const char* intro;  // step 0's text before ", Please Click Next to start Repairing"
    int registryActions;
    int serviceActions;
};

const Expected kErrors[28] = {
    {"Icons are displayed incorrectly", "Icons are displayed incorrectly", 1, 0},
    {"Link arrows are not displayed", "Link arrows are not displayed", 1, 0},
    {"The taskbar cannot be displayed", "The taskbar cannot be displayed", 11, 0},
    {"\"The Quick Launch Bar\" is not displayed", "The Quick Launch Bar is not displayed", 1, 0},
    {"\"My Computer\" icon is no longer displayed", "My Computer icon is no longer displayed", 1, 0},
    {"\"My Document\" icon is no longer displayed", "My Document icon is no longer displayed", 1, 0},
    {"\"Recycle Bin\" icon is no longer displayed", "Recycle Bin icon is no longer displayed", 1, 0},
    {"\"NetWork icon\" is no longer displayed", "NetWork icon is no longer displayed", 1, 0},
    {"\"Internet Explorer\" icon is no longer displayed", "Internet Explorer icon is no longer displayed", 1, 0},
    {"The icon show desktop and send to menu", "The icon show desktop and send to menu", 1, 0},
    {"The New submenu in the context menu is no longer displayed",
     "The New submenu in the context menu is no longer displayed", 1, 0},
    {"File Associations Error", "File Associations Error", 4, 0},
    {"HTML Help File Error", "HTML Help File Error", 1, 0},
    {"Windows Update does not work, since a previous restart is required",
     "Windows Update does not work, since a previous restart is required", 0, 1},
    {"The Windows Installer service cannot be accessed", "The Windows Installer service cannot be accessed", 0, 1},
    {"Local User Group Error", "Local User Group Error", 4, 1},
    {"Can not logout or power off computer", "Can not logout or power off computer", 3, 0},
    {"Windows Media Player Error", "Windows Media Player Error", 2, 0},
    {"User Account Error", "the Administrator is hided", 1, 0},
    {"Add/Remove Program Error", "Add/Remove Program can not be found", 1, 0},
    {"Property of My computer Error", "Property of My computer", 1, 0},
    {"Device Manager Error", "Device Manager Error", 5, 1},
    {"Componet Service Error", "Componet Service Error", 0, 3},
    {"Windows Explorer Error", "EXPLORER.EXE corrupted or infected", 2, 0},
    {"Universal Serial Bus Error", "Universal Serial Bus Error", 2, 0},
    {"Disable jit debugging", "Disable jit debugging", 2, 0},
    {"Certificate Error", "Certificate Error", 1, 0},
    {"Script Error", "Script Error", 1, 0},
};

// The kinds of a step's actions in document order.
std::vector<ExecuterKind> KindsOf(const TiXmlElement& step)
{
    std::vector<ExecuterKind> kinds;
    for (const TiXmlElement* e = step.FirstChildElement("Execute"); e; e = e->NextSiblingElement("Execute"))
        kinds.push_back(ChooseExecuterKind(*e));
    return kinds;
}

}  // namespace

TEST(WizardDocument, TheProgramsRecipesHold28FaultsOfTwoSteps)
{
    const std::string text = BuiltInDocument();
    CWizardDocument document;
    ASSERT_TRUE(document.Load(text.c_str()));
    ASSERT_EQ(28u, document.Errors().size());

    // The same text parsed on its own, to read the actions' elements in document order.
    TiXmlDocument xml;
    xml.Parse(text.c_str());
    const TiXmlElement* errorElement = xml.FirstChildElement()->FirstChildElement("Error");
    for (size_t i = 0; i < 28; ++i, errorElement = errorElement->NextSiblingElement("Error")) {
        const CWizardError& error = *document.Errors()[i];
        const Expected& expected = kErrors[i];
        SCOPED_TRACE(expected.description);
        EXPECT_EQ(expected.description, error.Description());
        ASSERT_EQ(2, error.StepCount());
        ASSERT_NE(nullptr, error.Step(0));
        ASSERT_NE(nullptr, error.Step(1));
        EXPECT_EQ(std::string(expected.intro) + ", Please Click Next to start Repairing", error.Step(0)->Description());
        EXPECT_EQ(0u, error.Step(0)->ExecuterCount());
        EXPECT_EQ("Errors are repaired successfully", error.Step(1)->Description());
        EXPECT_EQ("", error.Step(1)->PreDescription());
        EXPECT_EQ("", error.Step(1)->ErrorText());

        const TiXmlElement* stepOne = errorElement->FirstChildElement("Step")->NextSiblingElement("Step");
        const std::vector<ExecuterKind> kinds = KindsOf(*stepOne);
        EXPECT_EQ(size_t(expected.registryActions + expected.serviceActions), error.Step(1)->ExecuterCount());
        int registry = 0, service = 0;
        for (ExecuterKind k : kinds) {
            registry += k == ExecuterKind::Registry;
            service += k == ExecuterKind::SystemService;
        }
        EXPECT_EQ(expected.registryActions, registry);
        EXPECT_EQ(expected.serviceActions, service);
    }
}

TEST(WizardDocument, HostileDocumentsLoadWithoutACrash)
{
    const struct {
        const char* name;
        const char* text;
        bool loads;
        size_t errors;
    } cases[] = {
        {"empty", "", false, 0},
        {"blanks", "  \r\n\t ", false, 0},
        {"leading junk", "junk <root><Error Description=\"a\"/></root>", false, 0},
        {"trailing junk", "<root><Error Description=\"a\"/></root> junk", false, 0},
        {"not xml", "\x01\x02\xff\xfe garbage", false, 0},
        {"root only", "<root/>", true, 0},
        {"comment first", "<!-- c --><root><Error Description=\"a\"/></root>", true, 1},
        {"byte-order mark", "\xEF\xBB\xBF<root><Error Description=\"a\"/></root>", true, 1},
        {"cut off inside", "<root><Error Description=\"a\"><Step StepID=\"0\" Description=\"x\">", false, 0},
        {"unterminated attribute", "<root><Error Description=\"a/><Error Description=\"b\"/></root>", false, 0},
        {"marks inside an attribute", "<root><Error Description=\"a > b </x> <y>\"/></root>", true, 1},
        {"other elements ignored", "<root><Fault/><Error Description=\"a\"/><x/></root>", true, 1},
    };
    for (const auto& c : cases) {
        CWizardDocument document;
        EXPECT_EQ(c.loads, document.Load(c.text)) << c.name;
        EXPECT_EQ(c.errors, document.Errors().size()) << c.name;
    }
    // Nesting: a few dozen levels load; ten thousand are refused instead of running the parser out of stack.
    for (const int levels : {40, 10000}) {
        std::string deep = "<root><Error Description=\"a\">";
        for (int i = 0; i < levels; ++i) deep += "<x>";
        for (int i = 0; i < levels; ++i) deep += "</x>";
        deep += "</Error></root>";
        CWizardDocument document;
        EXPECT_EQ(levels < 64, document.Load(deep.c_str())) << levels;
        EXPECT_EQ(levels < 64 ? 1u : 0u, document.Errors().size()) << levels;
    }
    CWizardDocument none;
    EXPECT_FALSE(none.Load(nullptr));
}

TEST(WizardDocument, StepsWithoutIdAreLeftOutAndLaterDuplicatesWin)
{
    CWizardDocument document;
    ASSERT_TRUE(document.Load(
        "<root><Error Description=\"a\">"
        "<Step Description=\"no id\"/>"
        "<Step StepID=\"0\" Description=\"first\"/>"
        "<Step StepID=\"2\" Description=\"after a gap\"/>"
        "<Step StepID=\"0\" Description=\"second\" PreDescription=\"working\" ErrorDescription=\"broken\"/>"
        "<Step StepID=\"x\" Description=\"not a number reads as 0\"/>"
        "</Error></root>"));
    ASSERT_EQ(1u, document.Errors().size());
    const CWizardError& error = *document.Errors()[0];
    EXPECT_EQ(2, error.StepCount());
    EXPECT_EQ("not a number reads as 0", error.Step(0)->Description());
    EXPECT_EQ(nullptr, error.Step(1));  // the gap: the wizard ends there
    EXPECT_EQ("after a gap", error.Step(2)->Description());

    ASSERT_TRUE(
        document.Load("<root><Error Description=\"b\"><Step StepID=\"0\" Description=\"d\" "
                      "PreDescription=\"p\" ErrorDescription=\"e\"/></Error></root>"));
    EXPECT_EQ("p", document.Errors()[0]->Step(0)->PreDescription());
    EXPECT_EQ("e", document.Errors()[0]->Step(0)->ErrorText());
}

TEST(ExecuterFactory, TheFirstMatchingRuleChoosesTheKind)
{
    const struct {
        const char* element;
        ExecuterKind kind;
    } cases[] = {
        {"<Execute DownloadUrl=\"http://h/x\" FileName=\"x\" RegRoot=\"HKEY_CURRENT_USER\" RegOpType=\"DELETE_VAL\"/>",
         ExecuterKind::Download},
        {"<Execute DownloadUrl=\"http://h/x\"/>", ExecuterKind::None},
        {"<Execute ExecutePath=\"a.exe\" ExecuteParam=\"\"/>", ExecuterKind::Exe},
        {"<Execute ExecutePath=\"a.exe\"/>", ExecuterKind::None},
        {"<Execute RegRoot=\"HKEY_USERS\" RegOpType=\"SET_STRING_VAL\" RegPath=\"x\"/>", ExecuterKind::Registry},
        {"<Execute RegRoot=\"HKLM\" RegOpType=\"SET_STRING_VAL\" RemoveFileName=\"C:\\x\"/>", ExecuterKind::RemoveFile},
        {"<Execute regroot=\"HKEY_USERS\" RegOpType=\"SET_STRING_VAL\"/>", ExecuterKind::None},
        {"<Execute RegRoot=\"HKEY_USERS\" RegOpType=\"RENAME\" RemoveDirectory=\"\"/>", ExecuterKind::RemoveDir},
        {"<Execute RemoveDirectory=\"C:\\x\" RemoveFileName=\"C:\\y\"/>", ExecuterKind::RemoveDir},
        {"<Execute StartService=\"X\" RegisterDll=\"y.dll\"/>", ExecuterKind::SystemService},
        {"<Execute RegisterDll=\"\"/>", ExecuterKind::RegisterDll},
        {"<Execute/>", ExecuterKind::None},
    };
    for (const auto& c : cases) {
        TiXmlDocument xml;
        xml.Parse(c.element);
        ASSERT_NE(nullptr, xml.RootElement()) << c.element;
        EXPECT_EQ(int(c.kind), int(ChooseExecuterKind(*xml.RootElement()))) << c.element;
        EXPECT_NE(nullptr, CreateExecuter(*xml.RootElement()).get());
    }
}
