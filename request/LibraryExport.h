#pragma once
// Marks the factory functions that Dravik.dll and Tessik.dll export under undecorated C names.

#if defined(_WIN32)
#define PALVEX_EXPORT extern "C" __declspec(dllexport)
#else
#define PALVEX_EXPORT extern "C"
#endif
