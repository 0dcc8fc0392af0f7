#include "questionnaire/catalogue.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace corvane {

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
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
        if (ticks.test(i)) scores[kSymptoms[i].group] += static_cast<ScoreValue>(kSymptoms[i].weight);
    }
    return scores;
}

std::optional<int> findSymptom(std::string_view nameOrNumber) {
    if (!nameOrNumber.empty() && std::isdigit(static_cast<unsigned char>(nameOrNumber.front()))) {
        return parseCatalogueNumber(nameOrNumber);
    }
    const auto* found = std::ranges::find_if(kSymptoms, [&](const Symptom& symptom) {
        return equalsIgnoringCase(symptom.control, nameOrNumber);
    });
    if (found == kSymptoms.end()) return std::nullopt;
    return static_cast<int>(found - kSymptoms.begin());
}

}  // namespace corvane
