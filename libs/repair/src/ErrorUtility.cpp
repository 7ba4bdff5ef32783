#include "Moravin/ErrorUtility.h"

#include "RegistryAccess.h"
#include "RepairSteps.h"

namespace Moravin {

bool CErrorUtility::ErrorRepaire(int number) { return RunRepairSteps(kUtilitySteps, kUtilityStepCount, number); }

bool CErrorUtility::ModifyAccess(std::wstring objectName) { return GrantAdministratorsFullAccess(objectName); }

bool CErrorRepaire::ErrorRepaire(int number) { return RunRepairSteps(kRepairSteps, kRepairStepCount, number); }

}  // namespace Moravin
