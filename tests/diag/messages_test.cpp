// Each numbered message's help topic carries the message's own number as its anchor,
// on the page of its kind; messages without a topic give "".
#include "diag/messages.h"
#include "diag/trace.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MessagesTest, TopicAnchorIsTheMessagesOwnNumber) {
    for (uint32_t id = 2101; id <= 2113; ++id) {
        SCOPED_TRACE(id);
        const std::string topic = HelpTopicForMessage(id);
        if (id == 2102 || id == 2107) {
            EXPECT_EQ("", topic);
            continue;
        }
        EXPECT_EQ(FormatText("::/pages/ref_mld_fehlerm.htm#e%03u", id - 2101), topic);
    }
    for (uint32_t id = 2601; id <= 2607; ++id) {
        SCOPED_TRACE(id);
        EXPECT_EQ(FormatText("::/pages/ref_mld_warnungen.htm#w%u", id - 2100),
                  HelpTopicForMessage(id));
    }
}

TEST(MessagesTest, TheNoteOfThePortableCopyOpensItsSection) {
    EXPECT_STREQ("::/pages/speicherort.htm#portabel", HelpTopicForMessage(2060));
}

TEST(MessagesTest, OtherIdsHaveNoTopic) {
    for (uint32_t id : {0u, 2100u, 2114u, 2600u, 2608u, 57344u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(id);
        EXPECT_STREQ("", HelpTopicForMessage(id));
    }
}

} // namespace
