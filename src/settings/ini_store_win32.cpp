// The INI backend of the settings store over the Win32 private-profile functions. The
// text forms and their decoding live in ini_values.cpp, shared with every platform.
#include "settings/ini_store_win32.h"

#include "diag/path_parts.h"
#include "settings/ini_values.h"

#include <windows.h>

#include <cstring>

void IniFile::SetPath(const std::string& path) {
    m_strPath = path.empty() ? path : PathParts(path).GetFullPath();
}

void IniFile::SetBufferSize(size_t size) {
    m_buffer.assign(size < 2 ? 2 : size, '\0');
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& def) {
    const DWORD size = static_cast<DWORD>(m_buffer.size());
    DWORD got = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), m_buffer.data(),
                                         size, m_strPath.c_str());
    // The platform terminates what it cut; terminating once more costs nothing and
    // keeps the text inside the buffer whatever it reported.
    if (got > size - 1) {
        got = size - 1;
    }
    m_buffer[got] = '\0';
    return std::string(m_buffer.data(), strnlen(m_buffer.data(), got));
}

bool IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& text) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), text.c_str(),
                                      m_strPath.c_str()) != FALSE;
}

bool IniFile::DeleteKey(const std::string& section, const std::string& key) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, m_strPath.c_str()) !=
           FALSE;
}

bool IniFile::DeleteSection(const std::string& section) {
    return WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, m_strPath.c_str()) !=
           FALSE;
}

bool IniSettingsStore::Open(const std::string& section) {
    if (IsOpen()) {
        Close();
    }
    m_strSection = section;
    return true;
}

std::string IniSettingsStore::ReadString(const std::string& name, const std::string& def) {
    return m_file.ReadString(m_strSection, name, def);
}

bool IniSettingsStore::ReadBool(const std::string& name, bool def) {
    return IniTextToBool(ReadString(name, ""), def);
}

int32_t IniSettingsStore::ReadInt(const std::string& name, int32_t def) {
    return IniTextToInt(ReadString(name, ""), def);
}

void IniSettingsStore::ReadIntArray(const std::string& name, size_t count, const int32_t* def,
                                    int32_t* dest) {
    const std::string defaultText = IniIntArrayText(def, count);
    IniTextToIntArray(ReadString(name, defaultText), defaultText, count, dest);
}

void IniSettingsStore::ReadBinary(const std::string& name, size_t length, const void* def,
                                  void* dest) {
    IniTextToBinary(ReadString(name, IniBinaryText(def, length)), length, def, dest);
}

bool IniSettingsStore::WriteString(const std::string& name, const std::string& text) {
    return m_file.WriteString(m_strSection, name, text);
}

bool IniSettingsStore::WriteBool(const std::string& name, bool value) {
    return WriteString(name, IniBoolText(value));
}

bool IniSettingsStore::WriteInt(const std::string& name, int32_t value) {
    return WriteString(name, IniIntText(value));
}

bool IniSettingsStore::WriteIntArray(const std::string& name, size_t count, const int32_t* values) {
    return WriteString(name, IniIntArrayText(values, count));
}

bool IniSettingsStore::WriteBinary(const std::string& name, size_t length, const void* bytes) {
    return WriteString(name, IniBinaryText(bytes, length));
}

bool IniSettingsStore::DeleteValue(const std::string& name) {
    return m_file.DeleteKey(m_strSection, name);
}

bool IniSettingsStore::DeleteSection(const std::string& section) {
    return m_file.DeleteSection(section);
}
