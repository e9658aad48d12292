// Taking a file path apart and putting it together again, by the Windows rules on every
// platform so both split alike: the drive up to the colon, the directory up to and
// including the last '\' or '/', the extension from the last point of the name.
#pragma once

#include <string>
#include <vector>

class PathParts {
public:
    explicit PathParts(const std::string& path);

    // Replaces the extension; `extension` includes its point (".ini", ".PMG").
    void SetExtension(const std::string& extension) { m_strExtension = extension; }

    const std::string& GetDrive() const { return m_strDrive; }
    const std::string& GetDirectory() const { return m_strDirectory; }
    const std::string& GetBaseName() const { return m_strBaseName; }
    const std::string& GetExtension() const { return m_strExtension; }

    // The parts joined again, without making anything absolute.
    std::string Join() const;

    // The parts joined and made absolute against the current directory. When the full
    // path cannot be formed, or would not fit the 259-byte result of the platform's
    // full-path rule, the joined path is returned as it stands.
    std::string GetFullPath() const;

    // GetFullPath for a path as it stands: what GetFullPath gives for the parts of
    // `path`, which join to `path` again.
    static std::string FullPathOf(const std::string& path);

private:
    std::string m_strDrive;
    std::string m_strDirectory;
    std::string m_strBaseName;
    std::string m_strExtension;
};

// Cuts `text` at every `separator` into `pieces` (emptied first), keeping empty pieces,
// also the one after a trailing separator. With maxCount -1 every piece is stored,
// otherwise at most maxCount. Returns the number of separators + 1.
int SplitString(const std::string& text, char separator, int maxCount,
                std::vector<std::string>& pieces);
