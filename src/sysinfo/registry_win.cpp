#ifdef _WIN32

#include "sysinfo/registry_win.h"

#include <array>
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

}  // namespace

bool getKeyValue(HKEY keyRoot, const std::wstring& keyName, const std::wstring& subKeyRef,
                 std::wstring& keyVal) {
    OpenKey key(keyRoot, keyName);
    if (!key.opened()) {
        keyVal.clear();
        return false;
    }
    std::array<wchar_t, 1024> buffer{};
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(sizeof(buffer));
    if (RegQueryValueExW(key.key(), subKeyRef.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
        keyVal.clear();
        return false;
    }
    if (auto text = registryValueText(type, std::as_bytes(std::span(buffer)), size)) {
        keyVal.assign(text->begin(), text->end());
    }
    return true;
}

}  // namespace corvane

#endif
