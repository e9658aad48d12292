// CVersionInfo over GetFileVersionInfoSizeA, GetFileVersionInfoA and VerQueryValueA;
// the texts themselves come from the portable core.
#include "ui/version_info.h"

#include "view/version_text.h"

#include <windows.h>

bool CVersionInfo::LoadFile(const std::string& path, int translationIndex) {
    Free();
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0) {
        return false;
    }
    m_pBlock.reset(new unsigned char[size]);
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, m_pBlock.get())) {
        m_pBlock.reset();
        return false;
    }
    SelectTranslation(translationIndex);
    return true;
}

void CVersionInfo::SelectTranslation(int index) {
    void* table = nullptr;
    UINT length = 0;
    const bool found =
        m_pBlock != nullptr &&
        ::VerQueryValueA(m_pBlock.get(), "\\VarFileInfo\\Translation", &table, &length) &&
        table != nullptr;
    m_strPrefix = view::StringTablePrefix(
        view::ChooseTranslation(found ? table : nullptr, found ? length : 0, index));
}

bool CVersionInfo::GetFixedVersion(uint16_t& major, uint16_t& minor, uint16_t& revision,
                                   uint16_t& build) const {
    if (m_pBlock == nullptr) {
        return false;
    }
    void* data = nullptr;
    UINT length = 0;
    // A value shorter than the structure (only a damaged file has one) would be read
    // past its end: it counts as missing, like a value of length 0.
    if (!::VerQueryValueA(m_pBlock.get(), "\\", &data, &length) || data == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return false;
    }
    const VS_FIXEDFILEINFO* fixed = static_cast<const VS_FIXEDFILEINFO*>(data);
    const view::FileVersion v =
        view::SplitFileVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
    major = v.major;
    minor = v.minor;
    revision = v.revision;
    build = v.build;
    return true;
}

std::string CVersionInfo::GetVersionText() const {
    view::FileVersion v;
    if (!GetFixedVersion(v.major, v.minor, v.revision, v.build)) {
        return std::string();
    }
    return view::FormatVersionText(v);
}

std::string CVersionInfo::QueryString(const std::string& name) const {
    if (m_pBlock == nullptr) {
        return std::string();
    }
    void* data = nullptr;
    UINT length = 0;
    const std::string path = m_strPrefix + name;
    if (!::VerQueryValueA(m_pBlock.get(), path.c_str(), &data, &length)) {
        return std::string();
    }
    return view::VersionStringValue(static_cast<const char*>(data), length);
}

void CVersionInfo::Free() {
    m_pBlock.reset();
    m_strPrefix.clear();
}
