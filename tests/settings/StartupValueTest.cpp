#include "settings/StartupValue.h"

#include <gtest/gtest.h>

#include <map>

namespace velt {
namespace {

TEST(StartupData, OnNamesTheProgramAndOffPutsNrInPlaceOfExe) {
    EXPECT_EQ(StartupData(L"C:\\Program Files\\Velt", L"Velt", true),
              L"C:\\Program Files\\Velt\\Velt.exe");
    EXPECT_EQ(StartupData(L"C:\\Program Files\\Velt", L"Velt", false),
              L"C:\\Program Files\\Velt\\VeltNR");
    EXPECT_TRUE(StartupDataIsOn(StartupData(L"C:\\V", L"Velt", true)));
    EXPECT_FALSE(StartupDataIsOn(StartupData(L"C:\\V", L"Velt", false)));
}

TEST(StartupData, ReadsOnUnlessEmptyOrEndingInNr) {
    EXPECT_TRUE(StartupDataIsOn(L"C:\\Velt\\Velt.exe"));
    EXPECT_TRUE(StartupDataIsOn(L" "));                // what writing the empty text stores
    EXPECT_TRUE(StartupDataIsOn(L"C:\\Velt\\VeltNr")); // the test is case-sensitive
    EXPECT_TRUE(StartupDataIsOn(L"NR "));
    EXPECT_FALSE(StartupDataIsOn(L""));
    EXPECT_FALSE(StartupDataIsOn(L"NR"));
    EXPECT_FALSE(StartupDataIsOn(L"C:\\Velt\\VeltNR"));
}

// Run keys in memory; a scope can refuse writes, as a machine key does without the rights.
class FakeRunKeys final : public RunKeys {
public:
    bool Write(Scope scope, const std::wstring& data) override {
        writes.push_back(scope);
        if (scope == Scope::Machine && machineDenied) return false;
        values[scope] = data;
        return true;
    }
    std::wstring Read(Scope scope) override {
        auto it = values.find(scope);
        return it == values.end() ? std::wstring() : it->second;
    }
    bool machineDenied = false;
    std::map<Scope, std::wstring> values;
    std::vector<Scope> writes;
};

using Scope = RunKeys::Scope;

TEST(WriteStartup, GoesMachineWideWhenAllowedAndLeavesTheUserKeyAlone) {
    FakeRunKeys keys;
    WriteStartup(keys, L"C:\\Velt\\VeltNR"); // off on a machine that never had the value
    EXPECT_EQ(keys.values[Scope::Machine], L"C:\\Velt\\VeltNR");
    EXPECT_FALSE(keys.values.contains(Scope::User));
    EXPECT_FALSE(StartupIsOn(keys));
    WriteStartup(keys, L"C:\\Velt\\Velt.exe");
    EXPECT_TRUE(StartupIsOn(keys));
    EXPECT_EQ(keys.writes, (std::vector<Scope>{Scope::Machine, Scope::Machine}));
}

TEST(WriteStartup, FallsBackToTheUserKeyWhenTheMachineKeyRefuses) {
    FakeRunKeys keys;
    keys.machineDenied = true;
    WriteStartup(keys, L"C:\\Velt\\Velt.exe");
    EXPECT_FALSE(keys.values.contains(Scope::Machine));
    EXPECT_EQ(keys.values[Scope::User], L"C:\\Velt\\Velt.exe");
    EXPECT_TRUE(StartupIsOn(keys)); // the toggle shows what Windows will do

    WriteStartup(keys, L"C:\\Velt\\VeltNR");
    EXPECT_EQ(keys.values[Scope::User], L"C:\\Velt\\VeltNR"); // rewritten, never deleted
    EXPECT_FALSE(StartupIsOn(keys));
}

TEST(WriteStartup, AUserValueLeftFromARefusedWriteFollowsLaterChanges) {
    FakeRunKeys keys;
    keys.machineDenied = true;
    WriteStartup(keys, L"C:\\Velt\\Velt.exe");
    keys.machineDenied = false; // the same user later runs with the rights
    WriteStartup(keys, L"C:\\Velt\\VeltNR");
    EXPECT_EQ(keys.values[Scope::Machine], L"C:\\Velt\\VeltNR");
    EXPECT_EQ(keys.values[Scope::User], L"C:\\Velt\\VeltNR");
    EXPECT_FALSE(StartupIsOn(keys));
}

TEST(StartupIsOn, EitherKeyThatStartsTheProgramCounts) {
    FakeRunKeys keys;
    EXPECT_FALSE(StartupIsOn(keys)); // a missing value reads as off
    keys.values[Scope::Machine] = L"C:\\Velt\\VeltNR";
    keys.values[Scope::User] = L"C:\\Velt\\Velt.exe";
    EXPECT_TRUE(StartupIsOn(keys));
    keys.values[Scope::Machine] = L"C:\\Velt\\Velt.exe";
    keys.values[Scope::User] = L"C:\\Velt\\VeltNR";
    EXPECT_TRUE(StartupIsOn(keys));
}

} // namespace
} // namespace velt
