// The numbered messages' help topics: which page and anchor of the compiled help file
// explains a message. The texts themselves live in the string table.
#pragma once

#include <cstdint>

// The topic of message `messageId` ("::/pages/...htm#anchor"), or "" for a message
// without one (its help opens the help file's start page).
const char* HelpTopicForMessage(uint32_t messageId);
