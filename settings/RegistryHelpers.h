#pragma once
// Raw access to any key path below an open root key ("\" between levels).
// The program uses them only for the class registry (ClassRegistry.h).

#include <windows.h>

#include <string>

namespace settings {

// Status of DeleteRegistryTree for an absent or empty key path.
inline constexpr LONG kNoKeyPath = 1010;  // ERROR_BADKEY

// The value's text (none: the key's default value); empty when the key or
// value is missing or the data is longer than 512 bytes. The type is not
// checked and nothing is expanded.
std::string ReadRegistryString(HKEY root, const char* keyPath, const char* valueName = nullptr);

// Creates the key path when missing, then sets the value to `text` as REG_SZ,
// or deletes the value when `text` is null. Reports nothing.
void WriteRegistryString(HKEY root, const char* keyPath, const char* valueName, const char* text);

// Deletes the key with all its subkeys, children first. 0 when done;
// kNoKeyPath for an absent or empty path; otherwise the first failure's code.
LONG DeleteRegistryTree(HKEY parent, const char* keyPath);

}  // namespace settings
