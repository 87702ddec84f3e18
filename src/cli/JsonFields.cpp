#include "JsonFields.h"

#include "Utf8.h"

#include <algorithm>
#include <vector>

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& what) {
    throw TextFormError((path.empty() ? std::string("the top level") : path) + ": " + what);
}

std::string found(const Json& value) {
    if (value.is_number())
        return "the number " + value.dump();
    if (value.is_null())
        return "null";
    const std::string type = value.type_name();
    return (type == "array" || type == "object" ? "an " : "a ") + type;
}

// Line and column (both from 1) of the byte before `offset`, the one nlohmann stopped at.
std::string lineAndColumn(const std::string& text, std::size_t offset) {
    const std::size_t end = std::min(offset > 0 ? offset - 1 : 0, text.size());
    std::size_t line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(end - lineStart + 1);
}

// nlohmann's own text after its prefix ("[json.exception.parse_error.101] parse error at ...: ").
std::string parseReason(const std::string& what) {
    const std::size_t at = what.find("parse error");
    const std::size_t colon = at == std::string::npos ? std::string::npos : what.find(": ", at);
    return colon == std::string::npos ? what : what.substr(colon + 2);
}

} // namespace

std::string MemberPath(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}

std::string ElementPath(const std::string& path, std::size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

Json ParseStrictJson(const std::string& text) {
    // Where the parser is, so a repeated key can be named by its path.
    struct Frame {
        bool object;
        std::string path;
        std::set<std::string> keys;
        std::string key;
        std::size_t count = 0;
    };
    std::vector<Frame> frames;
    const auto childPath = [&frames]() -> std::string {
        if (frames.empty())
            return {};
        Frame& top = frames.back();
        return top.object ? MemberPath(top.path, top.key) : ElementPath(top.path, top.count++);
    };
    const Json::parser_callback_t track = [&](int, Json::parse_event_t event, Json& parsed) {
        switch (event) {
        case Json::parse_event_t::object_start:
        case Json::parse_event_t::array_start: {
            std::string path = childPath();
            frames.push_back({event == Json::parse_event_t::object_start, std::move(path), {}, {}, 0});
            break;
        }
        case Json::parse_event_t::object_end:
        case Json::parse_event_t::array_end:
            frames.pop_back();
            break;
        case Json::parse_event_t::key: {
            Frame& top = frames.back();
            top.key = parsed.get<std::string>();
            if (!top.keys.insert(top.key).second)
                fail(top.path, "the key \"" + top.key + "\" appears twice");
            break;
        }
        case Json::parse_event_t::value:
            if (!frames.empty() && !frames.back().object)
                ++frames.back().count;
            break;
        }
        return true;
    };
    try {
        return Json::parse(text, track);
    } catch (const Json::parse_error& e) {
        throw TextFormError(lineAndColumn(text, e.byte) + ": " + parseReason(e.what()));
    } catch (const Json::exception& e) {
        throw TextFormError(e.what());
    }
}

std::int32_t IntAt(const Json& value, const std::string& path, std::int64_t min, std::int64_t max) {
    if (!value.is_number_integer())
        fail(path, "expected an integer, found " + found(value));
    std::int64_t number = 0;
    if (value.is_number_unsigned()) {
        const auto u = value.get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            fail(path, value.dump() + " is out of range (" + std::to_string(min) + ".." + std::to_string(max) + ")");
        number = static_cast<std::int64_t>(u);
    } else {
        number = value.get<std::int64_t>();
    }
    if (number < min || number > max)
        fail(path, value.dump() + " is out of range (" + std::to_string(min) + ".." + std::to_string(max) + ")");
    return static_cast<std::int32_t>(number);
}

bool BoolAt(const Json& value, const std::string& path) {
    if (!value.is_boolean())
        fail(path, "expected true or false, found " + found(value));
    return value.get<bool>();
}

const std::string& StringAt(const Json& value, const std::string& path) {
    if (!value.is_string())
        fail(path, "expected a string, found " + found(value));
    return value.get_ref<const std::string&>();
}

std::u16string TextAt(const Json& value, const std::string& path) {
    auto text = FromUtf8(StringAt(value, path));
    if (!text)
        fail(path, "the string is not valid UTF-8");
    if (text->find(u'\0') != std::u16string::npos)
        fail(path, "a NUL character would end the text early");
    return std::move(*text);
}

const Json& ArrayAt(const Json& value, const std::string& path, std::size_t least, std::size_t most) {
    if (!value.is_array())
        fail(path, "expected an array, found " + found(value));
    if (value.size() < least || value.size() > most) {
        const std::string count = std::to_string(value.size()) + (value.size() == 1 ? " element" : " elements");
        if (least == most)
            fail(path, "holds " + count + "; it must hold exactly " + std::to_string(least));
        fail(path, "holds " + count + "; it may hold at most " + std::to_string(most));
    }
    return value;
}

JsonFields::JsonFields(const Json& value_, std::string path_) : value(value_), path(std::move(path_)) {
    if (!value.is_object())
        fail(path, "expected an object, found " + found(value));
}

bool JsonFields::Has(const std::string& key) const {
    return value.contains(key);
}

const Json& JsonFields::Member(const std::string& key) {
    const auto it = value.find(key);
    if (it == value.end())
        fail(path, "the key \"" + key + "\" is missing");
    taken.insert(key);
    return *it;
}

std::int32_t JsonFields::Int(const std::string& key, std::int64_t min, std::int64_t max) {
    return IntAt(Member(key), PathOf(key), min, max);
}

bool JsonFields::Bool(const std::string& key) {
    return BoolAt(Member(key), PathOf(key));
}

std::u16string JsonFields::Text(const std::string& key) {
    return TextAt(Member(key), PathOf(key));
}

const std::string& JsonFields::String(const std::string& key) {
    return StringAt(Member(key), PathOf(key));
}

const Json& JsonFields::Array(const std::string& key, std::size_t least, std::size_t most) {
    return ArrayAt(Member(key), PathOf(key), least, most);
}

JsonFields JsonFields::Object(const std::string& key) {
    return JsonFields(Member(key), PathOf(key));
}

void JsonFields::Finish() const {
    for (const auto& member : value.items()) {
        if (taken.count(member.key()) == 0)
            fail(path, "unknown key \"" + member.key() + "\"");
    }
}
