#include "sysinfo/registry_value.h"

#include <algorithm>
#include <cstring>

namespace corvane {

namespace {

std::u16string stringValue(std::span<const std::byte> bytes) {
    std::u16string text(bytes.size() / sizeof(char16_t), u'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(char16_t));
    if (!text.empty() && text.back() == u'\0') text.pop_back();
    return text;
}

// A REG_DWORD is stored little-endian.
std::u16string numberValue(std::span<const std::byte> bytes) {
    std::uint32_t number = 0;
    const std::size_t count = std::min<std::size_t>(bytes.size(), 4);
    for (std::size_t i = 0; i < count; ++i) {
        number |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    }
    const std::string digits = std::to_string(number);
    return {digits.begin(), digits.end()};
}

}  // namespace

std::optional<std::u16string> registryValueText(std::uint32_t type,
                                                std::span<const std::byte> buffer,
                                                std::size_t reportedBytes) {
    const auto value = buffer.first(std::min(reportedBytes, buffer.size()));
    switch (type) {
        case kRegSz:
        case kRegExpandSz: return stringValue(value);
        case kRegDword: return numberValue(value);
        default: return std::nullopt;
    }
}

}  // namespace corvane
