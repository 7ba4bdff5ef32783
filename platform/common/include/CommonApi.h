// Export macro of Common.dll, the registry, file, service and text helpers.
#pragma once

#ifdef COMMON_BUILDING_DLL
#define COMMON_API __declspec(dllexport)
#else
#define COMMON_API __declspec(dllimport)
#endif
