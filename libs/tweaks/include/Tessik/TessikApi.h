// Export macro of Tessik.dll, the system tweaks library.
#pragma once

#ifdef TESSIK_BUILDING_DLL
#define TESSIK_API __declspec(dllexport)
#else
#define TESSIK_API __declspec(dllimport)
#endif
