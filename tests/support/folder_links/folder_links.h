// Folder links for the tests of the export's refusal: a POSIX symbolic link natively;
// under Wine a Unix symbolic link inside the prefix, which Wine shows to programs as a
// folder link, and the "Z:" form of a path on drive C:.
#pragma once

#include <string>

namespace testsupport {

// Makes `link` a link to the folder `target` (both full paths of the platform).
// False where the platform does not let the test make one (Windows without the right).
bool MakeFolderLink(const std::string& link, const std::string& target);

// `path` spelled through Wine's drive "Z:", which shows the Unix root; empty when not
// under Wine.
std::string OtherDriveForm(const std::string& path);

} // namespace testsupport
