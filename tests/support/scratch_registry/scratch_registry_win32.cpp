// The per-test registry redirection and the raw value helpers.
#include "scratch_registry_win32.h"

#include "settings/registry_key_win32.h"

#include <vector>

namespace {
constexpr char kScratchParent[] = "Software\\FoldtallyTests";
} // namespace

void ScratchRegistryTest::SetUp() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_strScratch = std::string(kScratchParent) + "\\" + std::to_string(GetCurrentProcessId()) +
                   "-" + info->test_suite_name() + "." + info->name();
    DeleteTree(HKEY_CURRENT_USER, m_strScratch); // left over from a run that crashed
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, m_strScratch.c_str(), 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &m_hRoot, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CURRENT_USER, m_hRoot));
}

void ScratchRegistryTest::TearDown() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    if (m_hRoot != nullptr) {
        RegCloseKey(m_hRoot);
        m_hRoot = nullptr;
    }
    EXPECT_EQ(ERROR_SUCCESS, DeleteTree(HKEY_CURRENT_USER, m_strScratch));
    RegDeleteKeyA(HKEY_CURRENT_USER, kScratchParent); // only goes when no other test uses it
}

bool ScratchRegistryTest::KeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

void ScratchRegistryTest::CreateKey(const std::string& path) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr))
        << path;
    RegCloseKey(key);
}

void ScratchRegistryTest::SetRaw(const std::string& path, const std::string& name, DWORD type,
                                 const std::string& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name.c_str(), 0, type,
                                            reinterpret_cast<const BYTE*>(bytes.data()),
                                            static_cast<DWORD>(bytes.size())));
    RegCloseKey(key);
}

bool ScratchRegistryTest::GetRaw(const std::string& path, const std::string& name, DWORD& type,
                                 std::string& bytes) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    DWORD size = 0;
    LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
        std::vector<char> buffer(size + 1);
        rc = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(buffer.data()), &size);
        bytes.assign(buffer.data(), size);
    }
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool ScratchRegistryTest::ValueExists(const std::string& path, const std::string& name) {
    DWORD type = 0;
    std::string bytes;
    return GetRaw(path, name, type, bytes);
}
