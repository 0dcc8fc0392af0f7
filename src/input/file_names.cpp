#include "input/file_names.h"

#include "input/text.h"
#include "language/translation.h"

namespace corvane::input {

namespace {

using namespace std::string_view_literals;

constexpr std::string_view kPdf = ".pdf";
constexpr std::string_view kRefusedByWindows = ":*?\"<>|";

// The length of the character at `at` when it is a control character (C0,
// DEL or C1), else 0.
std::size_t controlLength(std::string_view text, std::size_t at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x20 || byte == 0x7F) return 1;
    const bool c1 = byte == 0xC2 && at + 1 < text.size() &&
                    static_cast<unsigned char>(text[at + 1]) >= 0x80 &&
                    static_cast<unsigned char>(text[at + 1]) <= 0x9F;
    return c1 ? 2 : 0;
}

bool hasControl(std::string_view text) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (controlLength(text, at) != 0) return true;
    }
    return false;
}

bool endsWithPdf(std::string_view name) {
    if (name.size() < kPdf.size()) return false;
    const std::string_view end = name.substr(name.size() - kPdf.size());
    for (std::size_t i = 0; i < kPdf.size(); ++i) {
        const char c =
            end[i] >= 'A' && end[i] <= 'Z' ? static_cast<char>(end[i] - 'A' + 'a') : end[i];
        if (c != kPdf[i]) return false;
    }
    return true;
}

}  // namespace

std::string_view fileNameProblem(std::string_view name) {
    if (name.empty()) return tr("must not be empty");
    if (name.find_first_of("/\\\0"sv) != std::string_view::npos)
        return tr("must be a file name inside the folder, without '/' or '\\'");
    if (hasControl(name)) return tr("must not hold control characters");
    if (name.find_first_of(kRefusedByWindows) != std::string_view::npos)
        return tr("must not hold any of : * ? \" < > |, which Windows refuses in file names");
    if (name.front() == '.') return tr("must not start with '.'");
    if (trimBlanks(name) != name) return tr("must not start or end with a blank");
    return {};
}

std::string fileNamePart(std::string_view text) {
    text = trimBlanks(text);
    std::string part;
    part.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t control = controlLength(text, at);
        const bool refused = control != 0 || text[at] == '/' || text[at] == '\\' ||
                             kRefusedByWindows.find(text[at]) != std::string_view::npos;
        if (refused) {
            part.push_back('_');
            at += control != 0 ? control : 1;
        } else {
            part.push_back(text[at++]);
        }
    }
    return part;
}

std::string withPdfSuffix(std::string name) {
    if (!endsWithPdf(name)) name.append(kPdf);
    return name;
}

}  // namespace corvane::input
