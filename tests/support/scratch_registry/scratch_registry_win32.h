// A throw-away registry for one test: HKEY_CURRENT_USER is redirected for this process
// to a fresh key of its own, so the stores below work on their real paths
// ("Software\Morvapps\Foldtally\MainDlg", the legacy "SOFTWARE\Corvapps\...") in Wine's
// real registry without touching, or being disturbed by, what anyone else keeps there.
// Raw helpers read and write values with plain Reg* calls, bypassing the stores.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

// Where the program keeps its settings below HKEY_CURRENT_USER.
constexpr char kMainDlgKey[] = "Software\\Morvapps\\Foldtally\\MainDlg";

class ScratchRegistryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The real path of the scratch root below the real HKEY_CURRENT_USER.
    const std::string& ScratchPath() const { return m_strScratch; }

    // Below the (redirected) HKEY_CURRENT_USER.
    static bool KeyExists(const std::string& path);
    static void CreateKey(const std::string& path);
    static void SetRaw(const std::string& path, const std::string& name, DWORD type,
                       const std::string& bytes);
    // False when the value does not exist.
    static bool GetRaw(const std::string& path, const std::string& name, DWORD& type,
                       std::string& bytes);
    static bool ValueExists(const std::string& path, const std::string& name);

private:
    std::string m_strScratch;
    HKEY m_hRoot = nullptr;
};
