#pragma once

#ifdef _WIN32

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <optional>
#include <string>

namespace corvane {

// Reads one value of a registry key, opened for reading only, as text:
//   REG_SZ         its text as stored; an empty string is an empty text, not
//                  a failure
//   REG_EXPAND_SZ  its text with the environment variables (%SystemRoot%, …)
//                  expanded, since a path read from the registry goes to the
//                  file system and to CreateProcessW, which expand nothing;
//                  a variable that is not set stays as written
//   REG_DWORD      its decimal text
// Nothing when the key or the value is missing, the value takes more than
// 2048 bytes (1023 characters and the NUL), or it is of any other type. The key is closed on every
// path that opened it.
std::optional<std::wstring> getKeyValue(HKEY keyRoot, const std::wstring& keyName,
                                        const std::wstring& valueName);

}  // namespace corvane

#endif
