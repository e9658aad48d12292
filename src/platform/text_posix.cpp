// The program's texts stay Windows-1252 outside Windows: the report tool converts them
// itself.
#include "platform/text.h"

namespace platform {

std::string SystemText(const std::string& text) {
    return text;
}

} // namespace platform
