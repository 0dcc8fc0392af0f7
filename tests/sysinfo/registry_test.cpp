// The registry reader and 系统信息's lookup on Windows, against the real
// registry, the real file system and a real process start. Runs under wine
// from registry_with_wine.sh, which puts the values in the registry with
// `wine reg add` and runs one suite per registry state:
//   GetKeyValue, WindowsHost    HKLM\SOFTWARE\Corvane Test: Text (REG_SZ) and
//                               Number (REG_DWORD 0x8000012a)
//   NothingRegistered           neither MSINFO value
//   SharedFolderWithoutProgram  Shared Tools Location\MSINFO = C:\corvane-test\missing
//   SharedFolderWithProgram     ... = C:\corvane-test\shared, holding MSINFO32.EXE
//   MsinfoPathRegistered        that too, and MSINFO\PATH (REG_EXPAND_SZ) =
//                               %SystemDrive%\corvane-test\tools\msinfo32.exe
// The other values the reader is tried on (expandable and empty strings,
// strings without their terminating NUL, one longer than the reader's buffer,
// types that are no text) the tests write themselves.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/utf16.h"
#include "sysinfo/sysinfo_win.h"

using namespace corvane;
using platform::utf8Text;
using platform::wideText;

namespace {

const std::wstring kTestKey = LR"(SOFTWARE\Corvane Test)";
const std::string kToolsProgram = R"(C:\corvane-test\tools\msinfo32.exe)";
const std::string kSharedProgram = R"(C:\corvane-test\shared\MSINFO32.EXE)";
const std::string kUnavailable = "此时系统信息不可用";

// Writes a value of exactly the bytes given under the test key.
void storeValue(const std::wstring& name, DWORD type, const void* bytes, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTestKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const LONG stored =
        RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(bytes), size);
    RegCloseKey(key);
    ASSERT_EQ(stored, ERROR_SUCCESS);
}

// Writes a text value, with its terminating NUL or without.
void storeText(const std::wstring& name, DWORD type, const std::wstring& text, bool terminated) {
    const std::size_t units = text.size() + (terminated ? 1 : 0);
    storeValue(name, type, text.c_str(), static_cast<DWORD>(units * sizeof(wchar_t)));
}

std::optional<std::wstring> read(const std::wstring& value, const std::wstring& key = kTestKey) {
    return getKeyValue(HKEY_LOCAL_MACHINE, key, value);
}

// The Windows host with its registry, file check and (unless told
// otherwise) its process start; messages are kept instead of shown.
struct RecordingHost : WindowsSystemInfoHost {
    bool reallyStart = false;
    std::vector<std::string> started;
    std::vector<std::string> messages;

    bool start(const std::string& program) override {
        started.push_back(program);
        return !reallyStart || WindowsSystemInfoHost::start(program);
    }
    void showMessage(const std::string& text) override { messages.push_back(text); }
};

bool appearsWithin(const std::wstring& file, std::chrono::seconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

}  // namespace

TEST(GetKeyValue, ReadsStringsAndNumbers) {
    EXPECT_EQ(read(L"Text"), LR"(C:\Program Files\Tools\tool.exe)");
    EXPECT_EQ(read(L"Number"), L"2147483946");
}

TEST(GetKeyValue, MissingKeyOrValueIsNothing) {
    EXPECT_EQ(read(L"Text", LR"(SOFTWARE\Corvane Test\No Such Key)"), std::nullopt);
    EXPECT_EQ(read(L"NoSuchValue"), std::nullopt);
}

// What a program's path needs: an expandable string with its variables
// expanded, an empty string as an empty text; types that are no text are not
// read at all.
TEST(GetKeyValue, TextValuesOfEveryKind) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"CORVANE_TEST_ROOT", LR"(C:\corvane-test)"));
    const std::wstring unexpanded = LR"(%CORVANE_NOT_SET%\msinfo32.exe)";
    const struct {
        const wchar_t* name;
        DWORD type;
        std::wstring stored;
        bool terminated;
        std::optional<std::wstring> expected;
    } cases[] = {
        {L"Unterminated", REG_SZ, LR"(C:\工具\msinfo32.exe)", false, LR"(C:\工具\msinfo32.exe)"},
        {L"Empty", REG_SZ, L"", true, L""},
        {L"EmptyUnterminated", REG_SZ, L"", false, L""},
        {L"Expandable", REG_EXPAND_SZ, LR"(%CORVANE_TEST_ROOT%\tools\msinfo32.exe)", true,
         LR"(C:\corvane-test\tools\msinfo32.exe)"},
        {L"ExpandableWithoutSuchVariable", REG_EXPAND_SZ, unexpanded, true, unexpanded},
        {L"ExpandableEmpty", REG_EXPAND_SZ, L"", true, L""},
        {L"Binary", REG_BINARY, L"AB", false, std::nullopt},
        {L"MultiString", REG_MULTI_SZ, std::wstring(L"a\0b\0", 4), true, std::nullopt},
    };
    for (const auto& value : cases) {
        SCOPED_TRACE(testing::Message() << utf8Text(value.name));
        storeText(value.name, value.type, value.stored, value.terminated);
        EXPECT_EQ(read(value.name), value.expected);
    }

    // The same through the Windows host, in UTF-8.
    RecordingHost host;
    EXPECT_EQ(host.machineValue(R"(SOFTWARE\Corvane Test)", "Unterminated"),
              "C:\\工具\\msinfo32.exe");
    EXPECT_EQ(host.machineValue(R"(SOFTWARE\Corvane Test)", "Empty"), std::string());
    EXPECT_EQ(host.machineValue(R"(SOFTWARE\Corvane Test)", "Binary"), std::nullopt);
}

TEST(GetKeyValue, ValueLongerThanTheBufferIsNothing) {
    storeText(L"Long", REG_SZ, std::wstring(1500, L'x'), true);
    EXPECT_EQ(read(L"Long"), std::nullopt);
}

TEST(NothingRegistered, SaysTheToolIsUnavailable) {
    RecordingHost host;
    EXPECT_EQ(findSysInfo(host), "");
    startSysInfo(host);
    EXPECT_TRUE(host.started.empty());
    EXPECT_EQ(host.messages, std::vector<std::string>{kUnavailable});
}

TEST(SharedFolderWithoutProgram, SaysTheToolIsUnavailable) {
    RecordingHost host;
    EXPECT_TRUE(host.machineValue(R"(SOFTWARE\Microsoft\Shared Tools Location)", "MSINFO"));
    startSysInfo(host);
    EXPECT_TRUE(host.started.empty());
    EXPECT_EQ(host.messages, std::vector<std::string>{kUnavailable});
}

TEST(SharedFolderWithProgram, StartsTheProgramInTheFolder) {
    RecordingHost host;
    startSysInfo(host);
    EXPECT_EQ(host.started, std::vector<std::string>{kSharedProgram});
    EXPECT_TRUE(host.messages.empty());
}

TEST(MsinfoPathRegistered, StartsTheRegisteredProgram) {
    RecordingHost host;
    host.reallyStart = true;
    const std::wstring marker = wideText(kToolsProgram) + L".started";
    DeleteFileW(marker.c_str());
    startSysInfo(host);
    EXPECT_EQ(host.started, std::vector<std::string>{kToolsProgram});
    ASSERT_TRUE(host.messages.empty());
    EXPECT_TRUE(appearsWithin(marker, std::chrono::seconds(20)));
}

TEST(WindowsHost, StartsOnlyProgramsThatExistAndTellsFilesFromFolders) {
    RecordingHost host;
    host.reallyStart = true;
    EXPECT_FALSE(host.start(R"(C:\corvane-test\missing\msinfo32.exe)"));
    EXPECT_FALSE(host.fileExists(R"(C:\corvane-test\shared)"));  // a folder is not the program
    EXPECT_TRUE(host.fileExists(kSharedProgram));
}
