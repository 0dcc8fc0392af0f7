// How 系统信息 finds the system-information tool, with the registry, the
// files and the PATH played by a fake system, and how registry values read.
#include <gtest/gtest.h>

#include <array>
#include <span>

#include "support/fake_system_info.h"
#include "sysinfo/registry_value.h"
#include "sysinfo/sysinfo_lookup.h"

namespace corvane {
namespace {

using testing::FakeSystemInfo;
using Strings = std::vector<std::string>;

const std::string kMsinfo = R"(SOFTWARE\Microsoft\Shared Tools\MSINFO)";
const std::string kTools = R"(SOFTWARE\Microsoft\Shared Tools Location)";
const std::string kUnavailable = "此时系统信息不可用";

std::span<const std::byte> bytesOf(const std::u16string& text) {
    return std::as_bytes(std::span(text.data(), text.size()));
}

TEST(SysInfoLookup, RegistryPathComesFirst) {
    FakeSystemInfo system;
    system.registry[{kMsinfo, "PATH"}] = R"(C:\Tools\msinfo32.exe)";
    system.registry[{kTools, "MSINFO"}] = R"(C:\Shared\MSInfo)";
    system.files.insert(R"(C:\Shared\MSInfo\MSINFO32.EXE)");
    system.path["hardinfo"] = "/usr/bin/hardinfo";
    startSysInfo(system);
    EXPECT_EQ(system.started, Strings{R"(C:\Tools\msinfo32.exe)"});
    EXPECT_EQ(system.lookups, Strings{kMsinfo + " PATH"});  // no file check for this path
    EXPECT_TRUE(system.messages.empty());
}

TEST(SysInfoLookup, SharedToolsFolderNeedsTheProgramFile) {
    FakeSystemInfo system;
    system.registry[{kTools, "MSINFO"}] = R"(C:\Shared\MSInfo)";
    system.files.insert(R"(C:\Shared\MSInfo\MSINFO32.EXE)");
    startSysInfo(system);
    EXPECT_EQ(system.lookups, (Strings{kMsinfo + " PATH", kTools + " MSINFO",
                                       R"(file C:\Shared\MSInfo\MSINFO32.EXE)"}));
    EXPECT_EQ(system.started, Strings{R"(C:\Shared\MSInfo\MSINFO32.EXE)"});

    system.files.clear();
    system.started.clear();
    startSysInfo(system);
    EXPECT_TRUE(system.started.empty());
    EXPECT_EQ(system.messages, Strings{kUnavailable});
}

TEST(SysInfoLookup, WellKnownProgramOnThePath) {
    FakeSystemInfo system;
    system.path["gnome-system-monitor"] = "/usr/bin/gnome-system-monitor";
    system.path["hardinfo"] = "/usr/local/bin/hardinfo";
    EXPECT_EQ(findSysInfo(system), "/usr/local/bin/hardinfo");
    startSysInfo(system);
    EXPECT_EQ(system.started, Strings{"/usr/local/bin/hardinfo"});
}

TEST(SysInfoLookup, NothingFoundOrStartFailedGivesTheMessage) {
    FakeSystemInfo nothing;
    EXPECT_TRUE(findSysInfo(nothing).empty());
    startSysInfo(nothing);
    EXPECT_EQ(nothing.messages, Strings{kUnavailable});

    FakeSystemInfo failing;
    failing.registry[{kMsinfo, "PATH"}] = R"(C:\gone\msinfo32.exe)";
    failing.startFails = true;
    startSysInfo(failing);
    EXPECT_EQ(failing.started.size(), 1u);
    EXPECT_EQ(failing.messages, Strings{kUnavailable});

    FakeSystemInfo broken;
    broken.lookupThrows = true;
    startSysInfo(broken);
    EXPECT_EQ(broken.messages, Strings{kUnavailable});
}

TEST(RegistryValue, StringValuesKeepTheirLastCharacter) {
    const std::u16string stored = u"C:\\msinfo32.exe";
    std::u16string terminated = stored + u'\0';
    EXPECT_EQ(registryValueText(kRegSz, bytesOf(terminated), terminated.size() * 2), stored);
    EXPECT_EQ(registryValueText(kRegSz, bytesOf(stored), stored.size() * 2), stored);
    const std::u16string expandable = u"%SystemRoot%\\system32\\msinfo32.exe";
    EXPECT_EQ(registryValueText(kRegExpandSz, bytesOf(expandable), expandable.size() * 2),
              expandable);  // expanded by the Windows reader, not here
    EXPECT_EQ(registryValueText(kRegSz, bytesOf(stored), 0), std::u16string());
    EXPECT_EQ(registryValueText(kRegSz, bytesOf(stored), 5), u"C:");  // a torn last unit is dropped
    EXPECT_FALSE(registryValueText(7, bytesOf(stored), stored.size() * 2));  // a multi-string
}

TEST(RegistryValue, ReadsNeverPassTheBuffer) {
    const std::u16string buffer = u"ABCD";
    EXPECT_EQ(registryValueText(kRegSz, bytesOf(buffer), 4096), u"ABCD");
    EXPECT_EQ(registryValueText(kRegDword, bytesOf(buffer).first(2), 4), u"65");
}

TEST(RegistryValue, NumbersBecomeDecimalText) {
    const std::array<std::byte, 4> value = {std::byte{0x2a}, std::byte{0x01}, std::byte{0},
                                            std::byte{0x80}};
    EXPECT_EQ(registryValueText(kRegDword, value, 4), u"2147483946");
}

}  // namespace
}  // namespace corvane
