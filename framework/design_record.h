#pragma once

#include "framework/color.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace fw {

// One design value: an integer, a Boolean, a text or a colour.
using PropertyValue = std::variant<std::int32_t, bool, std::string, Color>;

struct Property {
    std::string name;
    PropertyValue value;

    friend bool operator==(const Property& a, const Property& b) {
        return a.name == b.name && a.value == b.value;
    }
};

enum class PropertyType { Integer, Boolean, Text, Color };

// The type that every record gives the property of this name, or none for a
// name the framework does not know. One name has one type in every kind.
std::optional<PropertyType> TypeOfProperty(std::string_view name);

// A design property record is a byte string of entries with no separator and
// no terminator: the property's ASCII name, one blank, and the value:
//   integer  4 bytes, big-endian two's complement
//   Boolean  1 byte, 0 or 1
//   text     4-byte big-endian byte count, then that many bytes of UTF-8
//   colour   3 bytes: red, green, blue
// Encoding throws std::invalid_argument for an unknown name or a value whose
// type is not the name's type.
std::string EncodeDesignRecord(const std::vector<Property>& properties);

// Decoding throws OutOfBoundsException for a record that ends inside an entry
// and RuntimeException for an unknown name; it never reads past the record.
std::vector<Property> DecodeDesignRecord(std::string_view record);

} // namespace fw
