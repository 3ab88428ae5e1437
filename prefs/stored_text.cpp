#include "prefs/stored_text.h"

#include "prefs/preferences_format.h"

#include <algorithm>

namespace prefs {
namespace {

bool IsControlCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7F;
}

} // namespace

std::string StorableField(std::string_view text) {
    std::string field(text);
    std::erase_if(field, [](char c) { return IsControlCharacter(c) || c == kFieldSeparator[0]; });
    return field;
}

std::string StorableRow(std::string_view row) {
    std::string stored(row);
    std::erase_if(stored, IsControlCharacter);
    return stored;
}

} // namespace prefs
