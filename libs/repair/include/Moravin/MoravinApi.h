// Export macro of Moravin.dll, the system repair library.
#pragma once

#ifdef MORAVIN_BUILDING_DLL
#define MORAVIN_API __declspec(dllexport)
#else
#define MORAVIN_API __declspec(dllimport)
#endif
