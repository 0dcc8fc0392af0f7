#ifdef _WIN32

#include "sysinfo/registry_win.h"

#include <array>
#include <optional>
#include <span>

#include "sysinfo/registry_value.h"

namespace corvane {

namespace {

// Closes a key when the read is done, whichever way it ends.
class OpenKey {
public:
    OpenKey(HKEY root, const std::wstring& name) {
        opened_ = RegOpenKeyExW(root, name.c_str(), 0, KEY_READ, &key_) == ERROR_SUCCESS;
    }
    ~OpenKey() {
        if (opened_) RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    bool opened() const { return opened_; }
    HKEY key() const { return key_; }

private:
    HKEY key_ = nullptr;
    bool opened_ = false;
};

// The text with its environment variables expanded, or nothing when that fails.
std::optional<std::wstring> expandedText(const std::wstring& text) {
    std::wstring expanded;
    DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    // The size asked for counts the terminating NUL; asked again should the
    // environment have grown in between.
    while (needed > expanded.size()) {
        expanded.assign(needed, L'\0');
        needed = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), needed);
        if (needed == 0) return std::nullopt;
    }
    if (needed == 0) return std::nullopt;
    expanded.resize(needed - 1);
    return expanded;
}

}  // namespace

std::optional<std::wstring> getKeyValue(HKEY keyRoot, const std::wstring& keyName,
                                        const std::wstring& valueName) {
    OpenKey key(keyRoot, keyName);
    if (!key.opened()) return std::nullopt;
    std::array<wchar_t, 1024> buffer{};
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(sizeof(buffer));
    if (RegQueryValueExW(key.key(), valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const auto text = registryValueText(type, std::as_bytes(std::span(buffer)), size);
    if (!text) return std::nullopt;
    std::wstring value(text->begin(), text->end());
    if (type == REG_EXPAND_SZ) return expandedText(value);
    return value;
}

}  // namespace corvane

#endif
