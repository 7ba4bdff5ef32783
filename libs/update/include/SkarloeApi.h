// Export macro of Skarloe.dll, the client of the update service.
#pragma once

#ifdef SKARLOE_BUILDING_DLL
#define SKARLOE_API __declspec(dllexport)
#else
#define SKARLOE_API __declspec(dllimport)
#endif
