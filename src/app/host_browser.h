// Under Wine: the host's web browser through Wine's winebrowser, which hands a file to
// the desktop's browser. Wine's own help viewer shows an empty page pane where Wine's
// HTML engine is not installed, so the help's HTML form is opened there instead.
#pragma once

#include <string>

// Starts winebrowser of the system directory with the file at `path` and waits for it
// to hand the file on. True when it reported a browser started (or was still busy at the
// end of the wait); false when it could not be started or found no browser.
bool OpenInHostBrowser(const std::string& path);
