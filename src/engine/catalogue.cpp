#include "engine/catalogue.h"

#include <algorithm>
#include <charconv>

namespace corvane {

namespace {

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::ranges::equal(a, b, [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

std::optional<int> parseCatalogueNumber(std::string_view text) {
    int number = 0;
    const auto* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc{} || stop != end || number < 1 || number > kSymptomCount) {
        return std::nullopt;
    }
    return number - 1;
}

}  // namespace

Scores computeScores(const Ticks& ticks) {
    Scores scores;
    for (std::size_t i = 0; i < kSymptoms.size(); ++i) {
        if (ticks.test(i))
            scores[kSymptoms[i].group] += static_cast<ScoreValue>(kSymptoms[i].weight);
    }
    return scores;
}

std::optional<int> findSymptom(std::string_view nameOrNumber) {
    if (!nameOrNumber.empty() && nameOrNumber.front() >= '0' && nameOrNumber.front() <= '9') {
        return parseCatalogueNumber(nameOrNumber);
    }
    const auto* found = std::ranges::find_if(kSymptoms, [&](const Symptom& symptom) {
        return equalsIgnoringCase(symptom.control, nameOrNumber);
    });
    if (found == kSymptoms.end()) return std::nullopt;
    return static_cast<int>(found - kSymptoms.begin());
}

}  // namespace corvane
