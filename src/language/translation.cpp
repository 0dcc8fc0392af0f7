#include "language/translation.h"

#include <libintl.h>
#include <locale.h>

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace corvane {

namespace {

constexpr const char* kDomain = "corvane";

namespace fs = std::filesystem;

fs::path programFolder() {
#ifdef _WIN32
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) return fs::path(path.substr(0, length)).parent_path();
        path.resize(path.size() * 2);
    }
#else
    std::error_code error;
    return fs::read_symlink("/proc/self/exe", error).parent_path();
#endif
}

// share/locale beside the program (the Windows program folder) or one up
// from it (/usr/bin, and the build tree's src/app and src/cli).
fs::path catalogueFolder() {
    const fs::path folder = programFolder();
    std::error_code error;
    if (fs::is_directory(folder / "share" / "locale", error)) return folder / "share" / "locale";
    return folder.parent_path() / "share" / "locale";
}

}  // namespace

const char* tr(const char* english) {
    return dgettext(kDomain, english);
}

const char* trn(const char* singular, const char* plural, unsigned long count) {
    return dngettext(kDomain, singular, plural, count);
}

std::string fillIn(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string text;
    std::size_t next = 0;
    for (std::size_t at = 0;;) {
        const std::size_t open = pattern.find('{', at);
        text.append(pattern.substr(at, open - at));
        if (open == std::string_view::npos) return text;
        const std::string_view rest = pattern.substr(open);
        const bool numbered =
            rest.size() >= 3 && rest[1] >= '1' && rest[1] <= '9' && rest[2] == '}';
        if (!rest.starts_with("{}") && !numbered) {  // a brace that is text
            text.push_back('{');
            at = open + 1;
            continue;
        }
        const std::size_t index = numbered ? static_cast<std::size_t>(rest[1] - '1') : next++;
        if (index < values.size()) text.append(values.begin()[index]);
        at = open + (numbered ? 3 : 2);
    }
}

void useUserLanguage() {
    // Unqualified: Windows' libintl replaces setlocale with its own, which
    // also takes LANG and LC_* as gettext does.
    setlocale(LC_ALL, "");
    setlocale(LC_NUMERIC, "C");
#ifdef _WIN32
    wbindtextdomain(kDomain, catalogueFolder().c_str());
#else
    bindtextdomain(kDomain, catalogueFolder().c_str());
#endif
    bind_textdomain_codeset(kDomain, "UTF-8");
}

}  // namespace corvane
