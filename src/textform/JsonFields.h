#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <limits>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

using Json = nlohmann::ordered_json;

// Refusal of text-form input; the message starts with the JSON path of the offending value.
class TextFormError : public std::runtime_error {
public:
    explicit TextFormError(const std::string& what) : std::runtime_error(what) {}
};

// Parses JSON text, refusing what nlohmann would let through silently: a key given twice in one
// object, and nesting or a count of values far past what a layout needs. A syntax error or a
// limit passed says "line L, column C: what"; a repeated key names its path.
Json ParseStrictJson(std::string_view text);

// The path of a member and of an element, as messages show them: pages[2].objects[0].width.
std::string MemberPath(const std::string& path, const std::string& key);
std::string ElementPath(const std::string& path, std::size_t index);

// Checked conversions of one JSON value at `path`; each throws TextFormError naming the path.
std::int32_t IntAt(const Json& value, const std::string& path,
                   std::int64_t min = std::numeric_limits<std::int32_t>::min(),
                   std::int64_t max = std::numeric_limits<std::int32_t>::max());
bool BoolAt(const Json& value, const std::string& path);
// A string as UTF-16, refused when it holds a NUL (a stored text ends at its first NUL).
std::u16string TextAt(const Json& value, const std::string& path);
const std::string& StringAt(const Json& value, const std::string& path);
// An array of at least `least` and at most `most` elements.
const Json& ArrayAt(const Json& value, const std::string& path, std::size_t least, std::size_t most);

// One JSON object being read: each key is asked for by name, and Finish() refuses any key nobody
// asked for, so a misspelt key is an error instead of a silently lost value.
class JsonFields {
public:
    // Throws unless the value is an object.
    JsonFields(const Json& value, std::string path);

    const std::string& Path() const { return path; }
    std::string PathOf(const std::string& key) const { return MemberPath(path, key); }
    bool Has(const std::string& key) const;
    // The member; throws when it is missing.
    const Json& Member(const std::string& key);

    std::int32_t Int(const std::string& key, std::int64_t min = std::numeric_limits<std::int32_t>::min(),
                     std::int64_t max = std::numeric_limits<std::int32_t>::max());
    bool Bool(const std::string& key);
    std::u16string Text(const std::string& key);
    const std::string& String(const std::string& key);
    const Json& Array(const std::string& key, std::size_t least, std::size_t most);
    JsonFields Object(const std::string& key);

    void Finish() const;

private:
    const Json& value;
    std::string path;
    std::set<std::string> taken;
};
