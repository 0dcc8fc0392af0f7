#pragma once

#ifdef _WIN32

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace corvane {

// Reads one value of a registry key, opened for reading only. On success the
// value's text is in keyVal (left as it was for types other than string and
// number) and the result is true; on any failure keyVal is empty and the
// result false. The key is closed on every path that opened it.
bool getKeyValue(HKEY keyRoot, const std::wstring& keyName, const std::wstring& subKeyRef,
                 std::wstring& keyVal);

}  // namespace corvane

#endif
