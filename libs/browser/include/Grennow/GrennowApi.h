// Export macro of Grennow.dll, the browser settings library.
#pragma once

#ifdef GRENNOW_BUILDING_DLL
#define GRENNOW_API __declspec(dllexport)
#else
#define GRENNOW_API __declspec(dllimport)
#endif
