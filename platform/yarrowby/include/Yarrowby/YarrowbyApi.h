// Export macro of Yarrowby.dll, the system-tools library.
#pragma once

#ifdef YARROWBY_BUILDING_DLL
#define YARROWBY_API __declspec(dllexport)
#else
#define YARROWBY_API __declspec(dllimport)
#endif
