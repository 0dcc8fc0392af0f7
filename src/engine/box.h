#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace corvane {

// The three result boxes of the report, in the order the report shows them.
enum class Box { Diagnosis, Diet, Personality };

inline constexpr std::array<Box, 3> kReportBoxes = {Box::Diagnosis, Box::Diet, Box::Personality};

// The heading printed above each box.
constexpr std::string_view heading(Box box) {
    switch (box) {
        case Box::Diagnosis: return "体质诊断结果";
        case Box::Diet: return "调理建议";
        case Box::Personality: return "性格调整";
    }
    return "";
}

// One value for each box, kept in the boxes' order.
template <typename T>
struct PerBox {
    std::array<T, kReportBoxes.size()> values{};

    constexpr T& operator[](Box box) { return values[static_cast<std::size_t>(box)]; }
    constexpr const T& operator[](Box box) const { return values[static_cast<std::size_t>(box)]; }
    constexpr auto begin() const { return values.begin(); }
    constexpr auto end() const { return values.end(); }
};

}  // namespace corvane
