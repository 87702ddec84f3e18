#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// Writes indented JSON to a stream. Keys and values are given in order; commas and nesting are
// kept track of here. Strings are UTF-8 and escaped as JSON requires.
class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out(out) {}

    JsonWriter& BeginObject(std::string_view key = {});
    JsonWriter& EndObject();
    JsonWriter& BeginArray(std::string_view key = {});
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view key);
    JsonWriter& Value(std::int64_t number);
    JsonWriter& Value(bool flag);
    JsonWriter& Value(std::string_view text);
    JsonWriter& Null();

    template <typename T> JsonWriter& Field(std::string_view key, const T& value) {
        Key(key);
        if constexpr (std::is_same_v<T, bool>)
            return Value(value);
        else if constexpr (std::is_integral_v<T>)
            return Value(static_cast<std::int64_t>(value));
        else
            return Value(std::string_view(value));
    }

private:
    void beforeValue();
    void writeString(std::string_view text);
    void newline();

    std::ostream& out;
    std::vector<bool> hasItems; // per open container
    bool afterKey = false;
};
