#include "ExecuterFactory.h"

#include <tinyxml.h>

#include "DownloadExecuter.h"
#include "FileExecuters.h"
#include "ProcessExecuters.h"
#include "RegistryExecuter.h"

namespace {

// An <Execute> that names no known action: it fails, so the step shows its error instead of claiming success.
class CUnmatchedExecuter : public CErrorWizardExecuter {
public:
    using CErrorWizardExecuter::CErrorWizardExecuter;
    bool Run() override { return false; }
};

bool Has(const TiXmlElement& element, const char* name) { return element.Attribute(name) != nullptr; }

}  // namespace

ExecuterKind ChooseExecuterKind(const TiXmlElement& e)
{
    if (Has(e, "DownloadUrl") && Has(e, "FileName")) return ExecuterKind::Download;
    if (Has(e, "ExecutePath") && Has(e, "ExecuteParam")) return ExecuterKind::Exe;
    const char* root = e.Attribute("RegRoot");
    const char* op = e.Attribute("RegOpType");
    if (root && op && RegistryRootFromName(root) && RegistryOperationFromName(op) != kRegUnknownOperation)
        return ExecuterKind::Registry;
    if (Has(e, "RemoveDirectory")) return ExecuterKind::RemoveDir;
    if (Has(e, "RemoveFileName")) return ExecuterKind::RemoveFile;
    if (Has(e, "StartService")) return ExecuterKind::SystemService;
    if (Has(e, "RegisterDll")) return ExecuterKind::RegisterDll;
    return ExecuterKind::None;
}

std::unique_ptr<CErrorWizardExecuter> CreateExecuter(const TiXmlElement& element)
{
    switch (ChooseExecuterKind(element)) {
    case ExecuterKind::Download: return std::make_unique<CDownloadExecuter>(&element);
    case ExecuterKind::Exe: return std::make_unique<CExeExecuter>(&element);
    case ExecuterKind::Registry: return std::make_unique<CRegistryExecuter>(&element);
    case ExecuterKind::RemoveDir: return std::make_unique<CRemoveDirExecuter>(&element);
    case ExecuterKind::RemoveFile: return std::make_unique<CRemoveFileExecuter>(&element);
    case ExecuterKind::SystemService: return std::make_unique<CSystemServiceExecuter>(&element);
    case ExecuterKind::RegisterDll: return std::make_unique<CRegisterDllExecuter>(&element);
    case ExecuterKind::None: break;
    }
    return std::make_unique<CUnmatchedExecuter>(&element);
}
