#include "framework/design_record.h"

#include "framework/exceptions.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <type_traits>

namespace fw {

// A property's type is the index of its value's alternative in the variant.
static_assert(
    std::is_same_v<
        std::variant_alternative_t<static_cast<std::size_t>(PropertyType::Integer), PropertyValue>,
        std::int32_t>);
static_assert(
    std::is_same_v<
        std::variant_alternative_t<static_cast<std::size_t>(PropertyType::Boolean), PropertyValue>,
        bool>);
static_assert(
    std::is_same_v<
        std::variant_alternative_t<static_cast<std::size_t>(PropertyType::Text), PropertyValue>,
        std::string>);
static_assert(
    std::is_same_v<
        std::variant_alternative_t<static_cast<std::size_t>(PropertyType::Color), PropertyValue>,
        Color>);

namespace {

constexpr char kNameEnd = ' ';
constexpr std::size_t kCountSize = 4; // bytes of an integer or a text's byte count
constexpr std::size_t kColorSize = 3;

void PutUint32(std::string& out, std::uint32_t value) {
    out.push_back(static_cast<char>((value >> 24) & 0xFF));
    out.push_back(static_cast<char>((value >> 16) & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
    out.push_back(static_cast<char>(value & 0xFF));
}

std::uint32_t GetUint32(std::string_view bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < kCountSize; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

// A name fit for an error message: a corrupted record may hold any bytes, so
// unprintable ones are shown as '?' and a runaway name is shortened.
std::string Printable(std::string_view name) {
    constexpr std::size_t kLongest = 40;
    std::string shown;
    for (char c : name.substr(0, kLongest)) {
        shown.push_back(c >= 0x20 && c < 0x7F ? c : '?');
    }
    if (name.size() > kLongest) {
        shown += "...";
    }
    return shown;
}

// Reads a record from the front, checking every length against what is left
// before it takes a single byte.
class RecordReader {
public:
    explicit RecordReader(std::string_view record)
        : rest_(record) {}

    bool AtEnd() const { return rest_.empty(); }

    std::string_view Name() {
        const std::size_t end = rest_.find(kNameEnd);
        if (end == std::string_view::npos) {
            throw OutOfBoundsException("design record ends inside the name '" + Printable(rest_) +
                                       "'");
        }
        std::string_view name = rest_.substr(0, end);
        rest_.remove_prefix(end + 1);
        return name;
    }

    std::string_view Take(std::size_t count, std::string_view name) {
        if (count > rest_.size()) {
            throw OutOfBoundsException("design record ends inside the value of '" +
                                       Printable(name) + "'");
        }
        std::string_view taken = rest_.substr(0, count);
        rest_.remove_prefix(count);
        return taken;
    }

private:
    std::string_view rest_;
};

PropertyValue ReadValue(RecordReader& reader, std::string_view name, PropertyType type) {
    switch (type) {
    case PropertyType::Integer:
        // The unsigned bits reinterpreted as two's complement, defined since C++20.
        return static_cast<std::int32_t>(GetUint32(reader.Take(kCountSize, name)));
    case PropertyType::Boolean: {
        const unsigned char byte = static_cast<unsigned char>(reader.Take(1, name)[0]);
        if (byte > 1) {
            throw RuntimeException("design record gives '" + Printable(name) +
                                   "' the Boolean byte " + std::to_string(byte));
        }
        return byte == 1;
    }
    case PropertyType::Text: {
        // The count is taken as unsigned: a "negative" count is then simply
        // longer than any record and fails the bounds check.
        const std::uint32_t count = GetUint32(reader.Take(kCountSize, name));
        return std::string(reader.Take(count, name));
    }
    case PropertyType::Color: {
        std::string_view rgb = reader.Take(kColorSize, name);
        return Color{static_cast<std::uint8_t>(rgb[0]), static_cast<std::uint8_t>(rgb[1]),
                     static_cast<std::uint8_t>(rgb[2])};
    }
    }
    throw std::logic_error("unknown property type");
}

void WriteValue(std::string& out, const Property& property) {
    if (const auto* integer = std::get_if<std::int32_t>(&property.value)) {
        PutUint32(out, static_cast<std::uint32_t>(*integer));
    } else if (const auto* boolean = std::get_if<bool>(&property.value)) {
        out.push_back(*boolean ? 1 : 0);
    } else if (const auto* text = std::get_if<std::string>(&property.value)) {
        if (text->size() > std::numeric_limits<std::int32_t>::max()) {
            throw std::invalid_argument("text of '" + property.name + "' too long for a record");
        }
        PutUint32(out, static_cast<std::uint32_t>(text->size()));
        out += *text;
    } else {
        const Color& color = std::get<Color>(property.value);
        out.push_back(static_cast<char>(color.red));
        out.push_back(static_cast<char>(color.green));
        out.push_back(static_cast<char>(color.blue));
    }
}

} // namespace

std::string EncodeDesignRecord(const std::vector<Property>& properties) {
    std::string out;
    for (const Property& property : properties) {
        const std::optional<PropertyType> type = TypeOfProperty(property.name);
        if (!type) {
            throw std::invalid_argument("unknown design property '" + property.name + "'");
        }
        if (static_cast<std::size_t>(*type) != property.value.index()) {
            throw std::invalid_argument("design property '" + property.name +
                                        "' given a value of the wrong type");
        }
        out += property.name;
        out.push_back(kNameEnd);
        WriteValue(out, property);
    }
    return out;
}

std::vector<Property> DecodeDesignRecord(std::string_view record) {
    std::vector<Property> properties;
    RecordReader reader(record);
    while (!reader.AtEnd()) {
        const std::string_view name = reader.Name();
        const std::optional<PropertyType> type = TypeOfProperty(name);
        if (!type) {
            throw RuntimeException("unknown design property '" + Printable(name) + "'");
        }
        PropertyValue value = ReadValue(reader, name, *type);
        properties.push_back(Property{std::string(name), std::move(value)});
    }
    return properties;
}

} // namespace fw
