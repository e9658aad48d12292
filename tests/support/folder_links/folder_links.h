// Folder links for the tests of the export's refusal: a POSIX symbolic link natively;
// under Wine a Unix symbolic link inside the prefix, which Wine shows to programs as a
// folder link, the "Z:" form of a path on drive C: and drive letters of its own.
#pragma once

#include <string>

namespace testsupport {

// Makes `link` a link to the folder `target` (both full paths of the platform).
// False where the platform does not let the test make one (Windows without the right).
bool MakeFolderLink(const std::string& link, const std::string& target);

// `path` spelled through Wine's drive "Z:", which shows the Unix root; empty when not
// under Wine.
std::string OtherDriveForm(const std::string& path);

// While one lives, a drive letter of its own leads to `folder`, as a SUBST or mapped
// drive does; under Wine a link in the prefix's "dosdevices". Letter() is empty when
// the platform does not let the test make one.
class DriveMapping {
public:
    explicit DriveMapping(const std::string& folder);
    ~DriveMapping();
    DriveMapping(const DriveMapping&) = delete;
    DriveMapping& operator=(const DriveMapping&) = delete;
    const std::string& Letter() const { return m_letter; } // "Q:"

private:
    std::string m_letter;
    std::string m_link;
};

} // namespace testsupport
