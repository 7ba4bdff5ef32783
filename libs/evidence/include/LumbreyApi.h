// Export macro of Lumbrey.dll, the junk-file and privacy-trace scanner.
#pragma once

#ifdef LUMBREY_BUILDING_DLL
#define LUMBREY_API __declspec(dllexport)
#else
#define LUMBREY_API __declspec(dllimport)
#endif
