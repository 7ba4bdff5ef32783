// Export macro of Coldrith.dll.
#pragma once

#ifdef COLDRITH_EXPORTS
#define COLDRITH_API __declspec(dllexport)
#else
#define COLDRITH_API __declspec(dllimport)
#endif
