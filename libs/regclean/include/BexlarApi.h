// Export macro of Bexlar.dll, the registry scan engine.
#pragma once

#ifdef BEXLAR_BUILDING_DLL
#define BEXLAR_API __declspec(dllexport)
#else
#define BEXLAR_API __declspec(dllimport)
#endif
