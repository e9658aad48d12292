// Topics of the compiled help file to files of its HTML form.
#include "diag/help_pages.h"

#include <cstring>

const char kHelpStartPage[] = "start.htm";

std::string HelpFileForTopic(const char* topic) {
    static const char kPrefix[] = "::/";
    if (topic == nullptr || std::strncmp(topic, kPrefix, sizeof kPrefix - 1) != 0) {
        return kHelpStartPage;
    }
    std::string page = topic + sizeof kPrefix - 1;
    std::string anchor;
    const std::string::size_type hash = page.find('#');
    if (hash != std::string::npos) {
        anchor = page.substr(hash + 1);
        page.erase(hash);
    }
    if (page.empty()) {
        return kHelpStartPage;
    }
    if (!anchor.empty()) {
        const std::string::size_type dot = page.rfind('.');
        const std::string::size_type slash = page.rfind('/');
        const bool hasExtension =
            dot != std::string::npos && (slash == std::string::npos || dot > slash);
        page.insert(hasExtension ? dot : page.size(), "." + anchor);
    }
    for (char& c : page) {
        if (c == '/') {
            c = '\\';
        }
    }
    return page;
}
