// The help's HTML form: the same pages as the compiled help file, as plain files in a
// folder beside the program, for systems whose help viewer cannot show pages (Wine
// without its HTML engine). A topic of the compiled file names the file that shows it.
#pragma once

#include <string>

// The page that opens when help is asked for without a topic, as in the compiled file.
extern const char kHelpStartPage[];

// The file of the HTML form that shows `topic` (a page after "::/", an anchor after
// "#"), relative to the form's folder and with backslashes: the page itself; for a page
// and anchor the jump page "<page>.<anchor>.htm" that the build writes beside it, which
// opens the page at the anchor (Wine's hand-off to the host's browser takes a file but
// damages a file URL with an anchor). No topic, an empty one or one that is not "::/" and a page
// gives the start page.
std::string HelpFileForTopic(const char* topic);
