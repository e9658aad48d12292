// CAppBase: start-up strings, the modal run, the settings store and numbered messages.
#include "app/app_base.h"

#include "diag/path_parts.h"
#include "framework/system_library.h"
#include "resource.h"
#include "settings/change_tracking_store.h"
#include "settings/ini_store_win32.h"
#include "settings/memory_overlay_store.h"
#include "settings/registry_key_win32.h"
#include "settings/registry_store_win32.h"
#include "view/stored_values.h"

#include <cstdio>
#include <cstring>

namespace {

const DWORD kModulePathBuffer = 260;

bool IsReadOnly(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// What the platform says about the INI file at `path` and its folder. Opening for
// writing changes neither the file's contents nor its time.
settings::SettingsFileFacts LookAtSettingsFile(const std::string& path) {
    settings::SettingsFileFacts facts;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    facts.exists =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    facts.fileReadOnly = facts.exists && IsReadOnly(attributes);
    if (facts.exists) {
        HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        facts.opensForWriting = file != INVALID_HANDLE_VALUE;
        if (facts.opensForWriting) {
            ::CloseHandle(file);
        }
    }
    const PathParts parts(path);
    const std::string folder = parts.GetDrive() + parts.GetDirectory();
    facts.folderReadOnly = IsReadOnly(::GetFileAttributesA(folder.c_str()));
    facts.folderAttributeBinds = framework::RunningUnderWine();
    return facts;
}

} // namespace

CAppBase::CAppBase() = default;

CAppBase::~CAppBase() {
    // The store goes first: it may still hold an open registry key.
    m_pSettingsStore.reset();
}

BOOL CAppBase::InitInstance() {
    ParseCommandLine(m_cmdInfo);
    const bool ok = SetStrings();
    CreateIniStore();
    return ok ? TRUE : FALSE;
}

bool CAppBase::SetStrings() {
    char buffer[kModulePathBuffer];
    const DWORD length = ::GetModuleFileNameA(m_hInstance, buffer, kModulePathBuffer);
    // A name that fills the whole buffer was cut; it still counts as obtained, so a
    // program in a deep folder starts (its settings are in the registry) and only the
    // files derived from the name, the help among them, may not be found. Some systems
    // leave a cut name unterminated, others end it one character early.
    const bool obtained = length > 0;
    m_strModulePath = obtained ? std::string(buffer, ::strnlen(buffer, length)) : std::string();
    if (obtained) {
        PathParts parts(m_strModulePath);
        parts.SetExtension(".ini");
        m_strIniPath = parts.GetFullPath();
        m_strRegistryKey = "Morvapps\\" + GetTitle();
    }
    m_strAppTitle = GetTitle();
    OnModulePaths();
    return obtained;
}

INT_PTR CAppBase::RunModal(CDialog& dialog) {
    struct Restore {
        CDialog*& current;
        CDialog* previous;
        ~Restore() { current = previous; }
    } restore{m_pModalDlg, m_pModalDlg};
    m_pModalDlg = &dialog;
    return dialog.DoModal();
}

void CAppBase::SetHelpCallback(MessageHelpCallback callback, void* context) {
    m_pfnHelpCallback = callback;
    m_pHelpContext = context;
}

void CAppBase::CreateIniStore() {
    m_pSettingsStore.reset();
    std::unique_ptr<IniSettingsStore> store(new IniSettingsStore());
    store->File().SetPath(m_strIniPath);
    store->File().SetBufferSize(IniFile::kDefaultBufferSize);
    m_pSettingsStore = std::make_unique<ChangeTrackingStore>(std::move(store));
}

void CAppBase::CreateRegistryStore() {
    m_pSettingsStore.reset();
    std::unique_ptr<RegistrySettingsStore> store(new RegistrySettingsStore());
    store->SetStoreKey(m_strRegistryKey.c_str());
    // Another copy of the program may be open on the same values: only what this run
    // changes is written back.
    m_pSettingsStore = std::make_unique<ChangeTrackingStore>(std::move(store));
}

LanguageChoice CAppBase::StoredLanguageChoice() const {
    int32_t stored = 0;
    if (settings::ChooseSettingsHome(LookAtSettingsFile(m_strIniPath)) ==
        settings::SettingsHome::kRegistry) {
        RegistryKey key;
        if (!m_strRegistryKey.empty() &&
            key.Open(HKEY_CURRENT_USER,
                     "Software\\" + m_strRegistryKey + "\\" + settings_names::kSection,
                     KEY_READ) == ERROR_SUCCESS) {
            static_cast<void>(key.QueryInt(stored_names::kLanguage, stored));
        }
    } else {
        IniSettingsStore file;
        file.File().SetPath(m_strIniPath);
        file.File().SetBufferSize(IniFile::kDefaultBufferSize);
        if (file.Open(settings_names::kSection)) {
            stored = file.ReadInt(stored_names::kLanguage, 0);
        }
    }
    return LanguageChoiceFromStored(stored);
}

void CAppBase::ChooseSettingsStore() {
    const settings::SettingsFileFacts facts = LookAtSettingsFile(m_strIniPath);
    m_settingsHome = settings::ChooseSettingsHome(facts);
    switch (m_settingsHome) {
    case settings::SettingsHome::kRegistry:
        CreateRegistryStore();
        break;
    case settings::SettingsHome::kIniFile:
        CreateIniStore();
        break;
    case settings::SettingsHome::kIniFileInMemory: {
        std::unique_ptr<IniSettingsStore> file(new IniSettingsStore());
        file->File().SetPath(m_strIniPath);
        file->File().SetBufferSize(IniFile::kDefaultBufferSize);
        m_pSettingsStore.reset();
        m_pSettingsStore = std::make_unique<MemoryOverlayStore>(std::move(file));
        Error(IDS_ERROR_010);
        break;
    }
    }
}

bool CAppBase::SaveSettingsPortable(const std::function<bool(SettingsStore& file)>& save) {
    if (IsSettingsPortable() || m_strIniPath.empty()) {
        return false;
    }
    if (!settings::MayCreateSettingsFile(LookAtSettingsFile(m_strIniPath))) {
        Error(IDS_ERROR_010);
        return false;
    }
    std::unique_ptr<IniSettingsStore> file(new IniSettingsStore());
    file->File().SetPath(m_strIniPath);
    file->File().SetBufferSize(IniFile::kDefaultBufferSize);
    const bool written = save(*file) && LookAtSettingsFile(m_strIniPath).exists;
    if (!written) {
        // Half a file would make the next start portable with half the settings; the
        // file was not there before, so nothing of anyone else's goes with it.
        ::DeleteFileA(m_strIniPath.c_str());
        Error(IDS_ERROR_010);
        return false;
    }
    m_pSettingsStore.reset();
    m_pSettingsStore = std::make_unique<ChangeTrackingStore>(std::move(file));
    m_settingsHome = settings::SettingsHome::kIniFile;
    Inform(IDS_PORTABLE_SAVED, m_strIniPath.c_str());
    return true;
}

void CAppBase::Inform(uint32_t id, ...) {
    va_list args;
    va_start(args, id);
    ShowNumbered(id, args, m_strAppTitle.c_str(), kIconInformation);
    va_end(args);
}

void CAppBase::Warning(uint32_t id, ...) {
    va_list args;
    va_start(args, id);
    ShowNumbered(id, args, LoadResourceString(IDS_CAPTION_WARNING).c_str(), kIconWarning);
    va_end(args);
}

void CAppBase::Error(uint32_t id, ...) {
    va_list args;
    va_start(args, id);
    ShowNumbered(id, args, LoadResourceString(IDS_CAPTION_ERROR).c_str(), kIconError);
    va_end(args);
}

void CAppBase::ShowNumbered(uint32_t id, va_list args, const char* caption, int iconKind) {
    m_nLastMessageId = id;
    const std::string format = LoadResourceString(id);
    ShowMessage(format.c_str(), args, caption, iconKind);
}

INT_PTR CAppBase::ShowMessage(const char* format, va_list args, const char* caption, int iconKind) {
    char text[kMessageBufferSize] = {};
    if (format != nullptr) {
        va_list copy;
        va_copy(copy, args);
        std::vsnprintf(text, sizeof text, format, copy);
        va_end(copy);
    }
    // Some C libraries leave a cut text unterminated.
    text[sizeof text - 1] = '\0';
    HWND parent = m_pModalDlg != nullptr ? m_pModalDlg->GetSafeHwnd() : nullptr;
    CMessageDlg box(parent, text, caption, iconKind);
    if (m_pfnHelpCallback != nullptr) {
        box.SetHelpCallback(m_pfnHelpCallback, m_nLastMessageId, m_pHelpContext);
    }
    return RunModal(box);
}
