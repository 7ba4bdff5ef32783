#pragma once

// Export macro of Lumbrey.dll: the library itself builds with LUMBREY_EXPORTS.
#ifdef LUMBREY_EXPORTS
#define LUMBREY_API __declspec(dllexport)
#else
#define LUMBREY_API __declspec(dllimport)
#endif
