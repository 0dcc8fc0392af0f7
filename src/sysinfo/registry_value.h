#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace corvane {

// Registry value types the program reads.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegDword = 4;

// The text of a registry value queried into `buffer`, of which the registry
// reported `reportedBytes` bytes as the value. Never reads past the buffer;
// one terminating NUL is dropped where there is one, so a string stored
// without it keeps its last character. An expandable string is its text as
// stored, its variables not expanded. A number becomes its decimal text.
// Other types give nothing.
std::optional<std::u16string> registryValueText(std::uint32_t type,
                                                std::span<const std::byte> buffer,
                                                std::size_t reportedBytes);

}  // namespace corvane
