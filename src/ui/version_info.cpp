// CVersionInfo over GetFileVersionInfoSizeA, GetFileVersionInfoA and VerQueryValueA;
// the texts themselves come from the portable core.
//
// The three functions are looked up at run time in "version.dll" of the system
// directory: that library is not one the loader always takes from the system, so a
// static import would load a file of that name from the program's folder before any
// code of ours runs.
#include "ui/version_info.h"

#include "framework/system_library.h"
#include "view/version_text.h"

#include <windows.h>

namespace {

struct VersionFunctions {
    using SizeFunction = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoFunction = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFunction = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    SizeFunction getSize = nullptr;
    InfoFunction getInfo = nullptr;
    QueryFunction query = nullptr;

    bool Complete() const { return getSize != nullptr && getInfo != nullptr && query != nullptr; }
};

// Loaded once and kept for the run: the About box may open many times.
const VersionFunctions& Functions() {
    static const VersionFunctions s_functions = [] {
        VersionFunctions f;
        const HMODULE module = framework::LoadSystemLibrary("version.dll");
        f.getSize = framework::SystemFunction<VersionFunctions::SizeFunction>(
            module, "GetFileVersionInfoSizeA");
        f.getInfo = framework::SystemFunction<VersionFunctions::InfoFunction>(
            module, "GetFileVersionInfoA");
        f.query =
            framework::SystemFunction<VersionFunctions::QueryFunction>(module, "VerQueryValueA");
        return f;
    }();
    return s_functions;
}

// VerQueryValueA, or a failed query when the library is missing.
bool Query(const void* block, const char* subBlock, void** data, UINT* length) {
    const VersionFunctions& f = Functions();
    return f.query != nullptr && f.query(block, subBlock, data, length) != FALSE;
}

} // namespace

bool CVersionInfo::LoadFile(const std::string& path, int translationIndex) {
    Free();
    const VersionFunctions& f = Functions();
    if (!f.Complete()) {
        return false;
    }
    DWORD handle = 0;
    const DWORD size = f.getSize(path.c_str(), &handle);
    if (size == 0) {
        return false;
    }
    m_pBlock.reset(new unsigned char[size]);
    if (!f.getInfo(path.c_str(), 0, size, m_pBlock.get())) {
        m_pBlock.reset();
        return false;
    }
    SelectTranslation(translationIndex);
    return true;
}

void CVersionInfo::SelectTranslation(int index) {
    void* table = nullptr;
    UINT length = 0;
    const bool found = m_pBlock != nullptr &&
                       Query(m_pBlock.get(), "\\VarFileInfo\\Translation", &table, &length) &&
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
    if (!Query(m_pBlock.get(), "\\", &data, &length) || data == nullptr ||
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
    if (!Query(m_pBlock.get(), path.c_str(), &data, &length)) {
        return std::string();
    }
    return view::VersionStringValue(static_cast<const char*>(data), length);
}

void CVersionInfo::Free() {
    m_pBlock.reset();
    m_strPrefix.clear();
}
