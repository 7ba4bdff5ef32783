// Export macro of the zip layer: part of Coldrith.dll on Windows, plain code in native (fuzzing) builds.
#pragma once

#if defined(_WIN32) && !defined(ZIP_STATIC)
#ifdef COLDRITH_EXPORTS
#define ZIP_API __declspec(dllexport)
#else
#define ZIP_API __declspec(dllimport)
#endif
#else
#define ZIP_API
#endif
