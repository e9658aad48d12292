// The help topic table of the numbered messages.
#include "diag/messages.h"

namespace {

struct MessageTopic {
    uint32_t messageId;
    const char* topic;
};

// Searched from the first row; 2102 (shown in the platform's own box) and 2107 have
// no topic of their own.
const MessageTopic kTopics[] = {
    {2101, "::/pages/ref_mld_fehlerm.htm#e000"},   {2103, "::/pages/ref_mld_fehlerm.htm#e002"},
    {2104, "::/pages/ref_mld_fehlerm.htm#e003"},   {2105, "::/pages/ref_mld_fehlerm.htm#e004"},
    {2106, "::/pages/ref_mld_fehlerm.htm#e005"},   {2601, "::/pages/ref_mld_warnungen.htm#w501"},
    {2602, "::/pages/ref_mld_warnungen.htm#w502"}, {2603, "::/pages/ref_mld_warnungen.htm#w503"},
    {2604, "::/pages/ref_mld_warnungen.htm#w504"}, {2108, "::/pages/ref_mld_fehlerm.htm#e007"},
    {2109, "::/pages/ref_mld_fehlerm.htm#e008"},   {2110, "::/pages/ref_mld_fehlerm.htm#e009"},
    {2111, "::/pages/ref_mld_fehlerm.htm#e010"},   {2112, "::/pages/ref_mld_fehlerm.htm#e011"},
    {2113, "::/pages/ref_mld_fehlerm.htm#e012"},   {2060, "::/pages/speicherort.htm#portabel"},
    {2605, "::/pages/ref_mld_warnungen.htm#w505"}, {2606, "::/pages/ref_mld_warnungen.htm#w506"},
    {2607, "::/pages/ref_mld_warnungen.htm#w507"},
};

} // namespace

const char* HelpTopicForMessage(uint32_t messageId) {
    for (const MessageTopic& row : kTopics) {
        if (row.messageId == messageId) {
            return row.topic;
        }
    }
    return "";
}
