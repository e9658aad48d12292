// CVersionInfo: reads a module's version resource through the platform's version
// functions, so the About box shows what the program file itself says about its name,
// version and legal notice instead of texts compiled into the dialog.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class CVersionInfo {
public:
    CVersionInfo() = default;
    ~CVersionInfo() { Free(); }
    CVersionInfo(const CVersionInfo&) = delete;
    CVersionInfo& operator=(const CVersionInfo&) = delete;

    // Reads the whole version resource of the file at `path` and selects translation
    // `translationIndex`. False when the file has none or it cannot be read; whatever
    // was loaded before is released in every case.
    [[nodiscard]] bool LoadFile(const std::string& path, int translationIndex);
    // Chooses the string table that QueryString reads: pair `index` of the translation
    // table, else its first pair, else language 0 with code page 1200.
    void SelectTranslation(int index);
    // The fixed file version's four parts; false without a block or fixed information.
    bool GetFixedVersion(uint16_t& major, uint16_t& minor, uint16_t& revision,
                         uint16_t& build) const;
    // "v1.02c Build 0004" and the like; empty without a fixed version.
    std::string GetVersionText() const;
    // The named string of the selected translation; empty when there is none.
    std::string QueryString(const std::string& name) const;
    // Releases the block and forgets the translation.
    void Free();

    bool IsLoaded() const { return m_pBlock != nullptr; }
    const std::string& GetPrefix() const { return m_strPrefix; }

private:
    std::unique_ptr<unsigned char[]> m_pBlock;
    std::string m_strPrefix;
};
