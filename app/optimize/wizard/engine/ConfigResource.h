// The wizard document built into the program: resource type "CONFIG", id 388, plain XML text.
#pragma once

#include <windows.h>

#include <string>

constexpr int kConfigResourceId = 388;

// The bytes of the resource of type "CONFIG" with that id in the module; false when it is missing or cannot be
// locked. (std::string keeps a zero after the bytes, so text.c_str() is the zero-terminated document.)
bool LoadConfigResource(HMODULE module, int id, std::string& text);
