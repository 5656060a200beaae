#include "settings/RegKeys_win.h"

#include "platform/Handles_win.h"

#include <gtest/gtest.h>
#include <sddl.h>

namespace velt {
namespace {

using UniqueKey = Unique<HKEY, RegCloseKey>;

// A key of this test's own under HKEY_CURRENT_USER, removed afterwards.
class RegKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = L"Software\\VeltTests\\RegKeys-" + std::to_wstring(GetCurrentProcessId());
        RegDeleteTreeW(HKEY_CURRENT_USER, m_root.c_str());
    }
    void TearDown() override {
        // A key whose rights were taken away first gets them back, so that it can go.
        std::wstring denied = m_root + L"\\Denied\\" + kRunKey;
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, denied.c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
            UniqueKey owned(key);
            SetRights(owned.get(), L"D:P(A;;KA;;;WD)");
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, m_root.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\VeltTests"); // only when nothing else is in it
    }

    static bool SetRights(HKEY key, const wchar_t* sddl) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                  &descriptor, nullptr))
            return false;
        LONG result = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
        LocalFree(descriptor);
        return result == ERROR_SUCCESS;
    }

    // Sets a value of any type straight through the system.
    void RawSet(const std::wstring& name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, m_root.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        UniqueKey owned(key);
        ASSERT_EQ(RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
    }

    // What the system holds for a value: its type and its characters, as stored.
    std::pair<DWORD, std::wstring> RawGet(const std::wstring& subkey, const std::wstring& name) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return {REG_NONE, L"<missing>"};
        UniqueKey owned(key);
        // The size first: Wine adds a terminator to what it copies out, and counts it.
        DWORD type = 0, stored = 0;
        if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &stored) != ERROR_SUCCESS)
            return {REG_NONE, L"<missing>"};
        wchar_t data[2048] = {};
        DWORD size = sizeof(data);
        RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
        std::wstring text(data, stored / sizeof(wchar_t));
        // Windows stores text as given; Wine adds a terminator to text given without one.
        if (!text.empty() && text.back() == L'\0' && (type == REG_SZ || type == REG_EXPAND_SZ))
            text.pop_back();
        return {type, text};
    }

    std::wstring m_root;
};

TEST_F(RegKeysTest, SetStringCreatesTheKeyAndStoresText) {
    std::wstring key = m_root + L"\\Deep\\Er";
    EXPECT_TRUE(RegSetString(HKEY_CURRENT_USER, key, L"Velt Startup", L"C:\\Velt\\Velt.exe"));
    EXPECT_EQ(RawGet(key, L"Velt Startup"),
              (std::pair<DWORD, std::wstring>{REG_SZ, L"C:\\Velt\\Velt.exe"}));
    EXPECT_EQ(RegGetValue(HKEY_CURRENT_USER, key, L"Velt Startup"), L"C:\\Velt\\Velt.exe");

    // The empty text is stored as one space, which reads back as data.
    EXPECT_TRUE(RegSetString(HKEY_CURRENT_USER, key, L"Empty", L""));
    EXPECT_EQ(RawGet(key, L"Empty"), (std::pair<DWORD, std::wstring>{REG_SZ, L" "}));
    EXPECT_EQ(RegGetValue(HKEY_CURRENT_USER, key, L"Empty"), L" ");
}

TEST_F(RegKeysTest, GetValueReadsTextAndNumbersAndNothingElse) {
    RawSet(L"Expand", REG_EXPAND_SZ, L"%SystemRoot%\\x", 15 * sizeof(wchar_t));
    RawSet(L"Cut", REG_SZ, L"before\0after", 13 * sizeof(wchar_t));
    DWORD number = 1234, all = 0xFFFFFFFF;
    RawSet(L"Number", REG_DWORD, &number, sizeof(number));
    RawSet(L"Negative", REG_DWORD, &all, sizeof(all));
    const BYTE binary[] = {'A', 0, 'B', 0};
    RawSet(L"Binary", REG_BINARY, binary, sizeof(binary));
    RawSet(L"Multi", REG_MULTI_SZ, L"a\0b\0", 5 * sizeof(wchar_t));

    EXPECT_EQ(RegGetValue(HKEY_CURRENT_USER, m_root, L"Expand"), L"%SystemRoot%\\x");
    EXPECT_EQ(RegGetValue(HKEY_CURRENT_USER, m_root, L"Cut"), L"before");
    EXPECT_EQ(RegGetValue(HKEY_CURRENT_USER, m_root, L"Number"), L"1234");
    EXPECT_EQ(RegGetValue(HKEY_CURRENT_USER, m_root, L"Negative"), L"-1");
    EXPECT_EQ(RegGetValue(HKEY_CURRENT_USER, m_root, L"Binary"), L"");
    EXPECT_EQ(RegGetValue(HKEY_CURRENT_USER, m_root, L"Multi"), L"");
    EXPECT_EQ(RegGetValue(HKEY_CURRENT_USER, m_root, L"Missing"), L"");
    EXPECT_EQ(RegGetValue(HKEY_CURRENT_USER, m_root + L"\\Nowhere", L"Number"), L"");
}

TEST_F(RegKeysTest, DataLongerThanTheBufferReadsAsNothing) {
    std::wstring fits(1024, L'x'), longer(1025, L'y');
    ASSERT_TRUE(RegSetString(HKEY_CURRENT_USER, m_root, L"Fits", fits));
    ASSERT_TRUE(RegSetString(HKEY_CURRENT_USER, m_root, L"Longer", longer));
    EXPECT_EQ(RegGetValue(HKEY_CURRENT_USER, m_root, L"Fits"), fits);
    EXPECT_EQ(RegGetValue(HKEY_CURRENT_USER, m_root, L"Longer"), L"");
}

TEST_F(RegKeysTest, TheStartupValueGoesToTheUsersRunKeyWhenTheMachineKeyRefuses) {
    // Stand-ins for the two hives: "Machine" lets the program open its Run key for reading only,
    // as HKEY_LOCAL_MACHINE does for a user without administrator rights.
    std::wstring machinePath = m_root + L"\\Denied", userPath = m_root + L"\\User";
    std::wstring deniedRun = machinePath + L"\\" + kRunKey;
    HKEY run = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, deniedRun.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &run, nullptr),
              ERROR_SUCCESS);
    {
        UniqueKey owned(run);
        ASSERT_TRUE(SetRights(run, L"D:P(A;;KR;;;WD)"));
    }
    HKEY machine = nullptr, user = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, machinePath.c_str(), 0, nullptr, 0, KEY_READ,
                              nullptr, &machine, nullptr),
              ERROR_SUCCESS);
    UniqueKey machineKey(machine);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, userPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &user, nullptr),
              ERROR_SUCCESS);
    UniqueKey userKey(user);
    // The machine key really refuses the program's access.
    ASSERT_FALSE(RegSetString(machine, kRunKey, kStartupValueName, L"x"));

    SystemRunKeys keys(machine, user);
    EXPECT_FALSE(StartupIsOn(keys));
    WriteStartup(keys, StartupData(L"C:\\Velt", L"Velt", true));
    EXPECT_EQ(RawGet(userPath + L"\\" + kRunKey, kStartupValueName),
              (std::pair<DWORD, std::wstring>{REG_SZ, L"C:\\Velt\\Velt.exe"}));
    EXPECT_EQ(RawGet(deniedRun, kStartupValueName).second, L"<missing>");
    EXPECT_TRUE(StartupIsOn(keys));

    WriteStartup(keys, StartupData(L"C:\\Velt", L"Velt", false));
    EXPECT_EQ(RawGet(userPath + L"\\" + kRunKey, kStartupValueName).second, L"C:\\Velt\\VeltNR");
    EXPECT_FALSE(StartupIsOn(keys));
}

TEST_F(RegKeysTest, WithTheRightsTheValueGoesMachineWideOnly) {
    std::wstring machinePath = m_root + L"\\Machine", userPath = m_root + L"\\User";
    HKEY machine = nullptr, user = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, machinePath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &machine, nullptr),
              ERROR_SUCCESS);
    UniqueKey machineKey(machine);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, userPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &user, nullptr),
              ERROR_SUCCESS);
    UniqueKey userKey(user);
    SystemRunKeys keys(machine, user);
    WriteStartup(keys, StartupData(L"C:\\Velt", L"Velt", false));
    EXPECT_EQ(RawGet(machinePath + L"\\" + kRunKey, kStartupValueName).second, L"C:\\Velt\\VeltNR");
    EXPECT_EQ(RawGet(userPath + L"\\" + kRunKey, kStartupValueName).second, L"<missing>");
    EXPECT_FALSE(StartupIsOn(keys));
}

} // namespace
} // namespace velt
