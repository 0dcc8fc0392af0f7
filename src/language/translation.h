#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The command line's texts in the user's language. Messages are written in
// English and marked with tr() or trn(); the catalogue "corvane" (po/) gives
// them in Chinese when the user's language is Chinese. No Qt: both programs'
// command lines and the input layer use it.
namespace corvane {

// The English text in the user's language, as the catalogue has it, or as
// given. A literal marked so goes into the catalogue.
const char* tr(const char* english);

// Marks a literal for the catalogue where it is kept untranslated, to be
// given to tr() later.
constexpr const char* tr_noop(const char* english) {
    return english;
}

// The text for a count, singular or plural in English, in the user's language
// with the plural form the count takes there.
const char* trn(const char* singular, const char* plural, unsigned long count);

// The pattern with each "{}" in turn replaced by the next value, and "{N}" by
// the N-th (from 1), so that a translation puts the values where its
// language has them.
std::string fillIn(std::string_view pattern, std::initializer_list<std::string_view> values);

// For a program's start: the user's locale (LC_ALL, LC_MESSAGES, LANG; on
// Windows the user's language when none is set) for messages and the system's
// reasons, numbers kept as in the C locale, and the catalogue found beside the
// program, installed or in the build tree.
void useUserLanguage();

}  // namespace corvane
