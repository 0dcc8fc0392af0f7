// The registry reader and 系统信息's lookup on Windows, against the real
// registry, the real file system and a real process start. Runs under wine
// from registry_with_wine.sh, which puts the values in the registry with
// `wine reg add` and runs one suite per registry state:
//   GetKeyValue, WindowsHost    HKLM\SOFTWARE\Corvane Test: Text (REG_SZ) and
//                               Number (REG_DWORD 0x8000012a)
//   NothingRegistered           neither MSINFO value
//   SharedFolderWithoutProgram  Shared Tools Location\MSINFO = C:\corvane-test\missing
//   SharedFolderWithProgram     ... = C:\corvane-test\shared, holding MSINFO32.EXE
//   MsinfoPathRegistered        that too, and MSINFO\PATH = C:\corvane-test\tools\msinfo32.exe
// Values reg.exe cannot store (a string without its terminating NUL, one
// longer than the reader's buffer) the tests write themselves.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "sysinfo/sysinfo_win.h"

using namespace corvane;

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

std::wstring read(const std::wstring& key, const std::wstring& value, bool expectFound) {
    std::wstring text = L"left over";
    EXPECT_EQ(getKeyValue(HKEY_LOCAL_MACHINE, key, value, text), expectFound);
    return text;
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
    EXPECT_EQ(read(kTestKey, L"Text", true), LR"(C:\Program Files\Tools\tool.exe)");
    EXPECT_EQ(read(kTestKey, L"Number", true), L"2147483946");
}

TEST(GetKeyValue, MissingKeyOrValueGivesEmptyText) {
    EXPECT_EQ(read(LR"(SOFTWARE\Corvane Test\No Such Key)", L"Text", false), L"");
    EXPECT_EQ(read(kTestKey, L"NoSuchValue", false), L"");
}

TEST(GetKeyValue, StringWithoutTerminatingNulKeepsItsLastCharacter) {
    const std::wstring text = LR"(C:\工具\msinfo32.exe)";
    storeValue(L"Unterminated", REG_SZ, text.data(),
               static_cast<DWORD>(text.size() * sizeof(wchar_t)));
    EXPECT_EQ(read(kTestKey, L"Unterminated", true), text);

    WindowsSystemInfoHost host;
    EXPECT_EQ(host.machineValue("SOFTWARE\\Corvane Test", "Unterminated"),
              "C:\\工具\\msinfo32.exe");
}

TEST(GetKeyValue, ValueLongerThanTheBufferIsAFailure) {
    const std::wstring text(1500, L'x');
    storeValue(L"Long", REG_SZ, text.c_str(),
               static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(read(kTestKey, L"Long", false), L"");
}

TEST(GetKeyValue, OtherTypesLeaveTheTextAsItWas) {
    const BYTE bytes[] = {1, 2, 3};
    storeValue(L"Binary", REG_BINARY, bytes, sizeof(bytes));
    EXPECT_EQ(read(kTestKey, L"Binary", true), L"left over");
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
    WindowsSystemInfoHost host;
    EXPECT_FALSE(host.start(R"(C:\corvane-test\missing\msinfo32.exe)"));
    EXPECT_FALSE(host.fileExists(R"(C:\corvane-test\shared)"));  // a folder is not the program
    EXPECT_TRUE(host.fileExists(kSharedProgram));
}
