#include <gtest/gtest.h>

#include "language/translation.h"

namespace corvane {
namespace {

// The values go where a message, English or translated, puts them; a brace
// that is no place for a value stays text.
TEST(FillIn, PutsEachValueWhereTheMessageSaysAndLeavesOtherBracesAlone) {
    struct Case {
        const char* pattern;
        std::initializer_list<std::string_view> values;
        const char* filled;
    };
    const Case cases[] = {
        {"line {}: {}", {"2", "unknown symptom 99"}, "line 2: unknown symptom 99"},
        {"按 {2} JSON Lines 读取{1}",
         {"标准输入", "GB18030"},
         "按 GB18030 JSON Lines 读取标准输入"},
        {"starts with '{', else as CSV; this one holds {}",
         {"'a'"},
         "starts with '{', else as CSV; this one holds 'a'"},
        {"{x} and {}", {"a"}, "{x} and a"},
        {"{} of {}", {"1"}, "1 of "},
        {"no values", {}, "no values"},
    };
    for (const Case& c : cases) EXPECT_EQ(fillIn(c.pattern, c.values), c.filled) << c.pattern;
}

}  // namespace
}  // namespace corvane
