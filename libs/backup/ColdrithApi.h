// Export macro of Coldrith.dll, the backup and restore library.
#pragma once

#ifdef COLDRITH_BUILDING_DLL
#define COLDRITH_API __declspec(dllexport)
#else
#define COLDRITH_API __declspec(dllimport)
#endif
