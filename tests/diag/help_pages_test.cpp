// Topics of the compiled help file name the file of the HTML form that shows them: the
// page itself, or the jump page beside it for a page and anchor; anything else opens the
// start page.
#include "diag/help_pages.h"

#include <gtest/gtest.h>

namespace {

struct TopicCase {
    const char* topic;
    const char* file;
};

TEST(HelpPagesTest, TopicsNameThePageOrTheJumpPageToTheirAnchor) {
    const TopicCase cases[] = {
        {"::/pages/ref_dlg_main.htm", "pages\\ref_dlg_main.htm"},
        {"::/pages/ref_mld_fehlerm.htm#e002", "pages\\ref_mld_fehlerm.e002.htm"},
        {"::/start.htm", "start.htm"},
        {"::/start.htm#oben", "start.oben.htm"},
        {"::/a/b/c.htm#x-1", "a\\b\\c.x-1.htm"},
        // Without an extension the anchor still gets a file of its own.
        {"::/pages/ohne#x", "pages\\ohne.x"},
        {"::/pages.d/ohne#x", "pages.d\\ohne.x"},
        // An empty anchor is the page itself.
        {"::/pages/a.htm#", "pages\\a.htm"},
        {nullptr, "start.htm"},
        {"", "start.htm"},
        {"::/", "start.htm"},
        {"::/#x", "start.htm"},
        {"pages/a.htm", "start.htm"},
        {"C:\\hilfe\\a.htm", "start.htm"},
    };
    for (const TopicCase& c : cases) {
        SCOPED_TRACE(c.topic != nullptr ? c.topic : "(none)");
        EXPECT_EQ(c.file, HelpFileForTopic(c.topic));
    }
}

} // namespace
