// Registry keys of the mail client for the tests, and module paths.
#include "app_test_support.h"

namespace apptest {

namespace {

std::string KeyPath(const char* key) {
    return std::string("Software\\Pegasus Mail\\") + key;
}

std::string ModulePath() {
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

} // namespace

MailClientKeys::MailClientKeys() : m_mailbox(Save("Mailbox")), m_newmail(Save("Newmail")) {}

MailClientKeys::~MailClientKeys() {
    Restore("Mailbox", m_mailbox);
    Restore("Newmail", m_newmail);
}

MailClientKeys::Saved MailClientKeys::Save(const char* key) {
    Saved saved;
    HKEY h = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath(key).c_str(), 0, KEY_READ, &h) != 0) {
        return saved;
    }
    char data[4096];
    DWORD size = sizeof data;
    if (::RegQueryValueExA(h, "", nullptr, &saved.type, reinterpret_cast<BYTE*>(data), &size) ==
        0) {
        saved.present = true;
        saved.data.assign(data, size);
    }
    ::RegCloseKey(h);
    return saved;
}

void MailClientKeys::Restore(const char* key, const Saved& saved) {
    Remove(key);
    if (saved.present) {
        HKEY h = nullptr;
        ::RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, &h, nullptr);
        ::RegSetValueExA(h, "", 0, saved.type, reinterpret_cast<const BYTE*>(saved.data.data()),
                         static_cast<DWORD>(saved.data.size()));
        ::RegCloseKey(h);
    }
}

void MailClientKeys::Set(const char* key, DWORD type, const std::string& value) {
    HKEY h = nullptr;
    ASSERT_EQ(0, ::RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath(key).c_str(), 0, nullptr, 0,
                                   KEY_ALL_ACCESS, nullptr, &h, nullptr));
    ::RegSetValueExA(h, "", 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(h);
}

void MailClientKeys::Remove(const char* key) {
    ::RegDeleteKeyA(HKEY_CURRENT_USER, KeyPath(key).c_str());
}

std::string ModuleDirectory() {
    const std::string path = ModulePath();
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::string ModulePathWithExtension(const char* extension) {
    const std::string path = ModulePath();
    return path.substr(0, path.find_last_of('.')) + extension;
}

} // namespace apptest
