// Byte images of headers and hierarchy lines.
#include "folder_formats.h"

#include <cstring>

namespace mailgen {

namespace {

void PutField(std::string& header, size_t offset, size_t field, const std::string& text) {
    const size_t n = text.size() < field ? text.size() : field;
    header.replace(offset, n, text, 0, n);
    if (n < field) {
        header[offset + n] = '\0';
    }
}

} // namespace

std::string PmmHeader(const std::string& name, const std::string& id, char filler) {
    std::string header(kPmmHeaderSize, '\0');
    std::memset(&header[kPmmNameField], filler, kPmmIdOffset - kPmmNameField);
    PutField(header, kPmmNameOffset, kPmmNameField, name);
    PutField(header, kPmmIdOffset, kPmmIdField, id);
    return header;
}

std::string PmgHeader(const std::string& name, const std::string& id) {
    std::string header(kPmgHeaderSize, '\0');
    PutField(header, kPmgNameOffset, kPmgNameField, name);
    PutField(header, kPmgIdOffset, kPmgIdField, id);
    return header;
}

std::string QuoteField(const std::string& value) {
    std::string quoted = "\"";
    for (char c : value) {
        if (c == '"' || c == '\\') {
            quoted.push_back('\\');
        }
        quoted.push_back(c);
    }
    quoted.push_back('"');
    return quoted;
}

std::string HierarchyLine(int type, int number, const std::string& id, const std::string& parentId,
                          const std::string& name) {
    return std::to_string(type) + "," + std::to_string(number) + "," + QuoteField(id) + "," +
           QuoteField(parentId) + "," + QuoteField(name);
}

} // namespace mailgen
