// Export macro of Velmora.dll, the disk defragmenter.
#pragma once

#ifdef VELMORA_BUILDING_DLL
#define VELMORA_API __declspec(dllexport)
#else
#define VELMORA_API __declspec(dllimport)
#endif
