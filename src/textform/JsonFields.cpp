#include "JsonFields.h"

#include "layout/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
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
std::string lineAndColumn(std::string_view text, std::size_t offset) {
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

// A layout needs fewer than 10 levels and holds about 100 000 values at most; deeper or larger
// input would only cost memory and time.
constexpr std::size_t kDepthLimit = 32;
constexpr std::size_t kValueLimit = std::size_t{1} << 20;

// Hands the parser the text and notes how far it has read, which its events do not tell.
class ReadingPoint {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    ReadingPoint(const char* at, const char** reached) : at(at), reached(reached) {}
    reference operator*() const { return *at; }
    ReadingPoint& operator++() {
        *reached = ++at;
        return *this;
    }
    bool operator==(const ReadingPoint& other) const { return at == other.at; }

private:
    const char* at;
    const char** reached;
};

// Builds the value as nlohmann's parser does, refusing a key given twice in one object, nesting
// deeper than kDepthLimit and more than kValueLimit values. Each member costs the same however
// many its object or array holds, and a path is spelt out only for a message.
class StrictBuilder : public nlohmann::json_sax<Json> {
public:
    explicit StrictBuilder(std::string_view text) : text(text), reached(text.data()) { frames.reserve(kDepthLimit); }

    Json Parse() {
        const char* const end = text.data() + text.size();
        (void)Json::sax_parse(ReadingPoint(text.data(), &reached), ReadingPoint(end, &reached), this);
        return std::move(root);
    }

    bool null() override { return add(nullptr); }
    bool boolean(bool value) override { return add(value); }
    bool number_integer(number_integer_t value) override { return add(value); }
    bool number_unsigned(number_unsigned_t value) override { return add(value); }
    bool number_float(number_float_t value, const string_t&) override { return add(value); }
    bool string(string_t& value) override { return add(std::move(value)); }
    bool binary(binary_t& value) override { return add(Json::binary(std::move(value))); }
    bool start_object(std::size_t) override { return open(Json::object()); }
    bool start_array(std::size_t) override { return open(Json::array()); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool key(string_t& key) override {
        Frame& top = frames.back();
        // The member goes in unsearched; the key index finds a repeat in constant time.
        top.members->emplace_back(std::move(key), nullptr);
        if (!top.keys.AddLast(*top.members))
            fail(pathOf(frames.size() - 1), "the key \"" + top.members->back().first + "\" appears twice");
        return true;
    }

    // nlohmann reports a number past a double's range as out_of_range, and quotes what it read as
    // raw bytes, which a terminal would take as its own.
    bool parse_error(std::size_t position, const std::string&, const Json::exception& e) override {
        const std::string reason = dynamic_cast<const Json::out_of_range*>(&e) != nullptr
                                       ? "number out of range"
                                       : EscapeForTerminal(parseReason(e.what()));
        throw TextFormError(lineAndColumn(text, position) + ": " + reason);
    }

private:
    using Members = Json::object_t;

    // The members of one object by the hash of their key: open addressing, at most half full, so a
    // key costs the same however many came before it.
    class KeyIndex {
    public:
        // False when the last member repeats an earlier key.
        bool AddLast(const Members& members) {
            if ((count + 1) * 2 > slots.size())
                grow();
            const std::string& key = members.back().first;
            const auto hash = static_cast<std::uint32_t>(std::hash<std::string>{}(key));
            std::size_t at = hash & (slots.size() - 1);
            for (; slots[at].number != 0; at = (at + 1) & (slots.size() - 1)) {
                if (slots[at].hash == hash && (members.begin() + (slots[at].number - 1))->first == key)
                    return false;
            }
            slots[at] = {hash, static_cast<std::uint32_t>(members.size())};
            ++count;
            return true;
        }

    private:
        struct Slot {
            std::uint32_t hash = 0;
            std::uint32_t number = 0; // the member's index + 1; 0 for a free slot
        };

        void grow() {
            std::vector<Slot> old(std::max<std::size_t>(16, slots.size() * 2));
            old.swap(slots);
            for (const Slot& slot : old) {
                if (slot.number == 0)
                    continue;
                std::size_t at = slot.hash & (slots.size() - 1);
                while (slots[at].number != 0)
                    at = (at + 1) & (slots.size() - 1);
                slots[at] = slot;
            }
        }

        std::vector<Slot> slots;
        std::size_t count = 0;
    };
    struct Frame {
        Json* value;
        Members* members; // null for an array
        KeyIndex keys;
    };

    // Puts a value where the parser is: the top level, the end of an array or the member just keyed.
    Json* place(Json&& value) {
        if (++values > kValueLimit)
            refuse("more than " + std::to_string(kValueLimit) + " values");
        if (frames.empty()) {
            root = std::move(value);
            return &root;
        }
        const Frame& top = frames.back();
        if (top.members != nullptr)
            return &(top.members->back().second = std::move(value));
        auto& elements = top.value->get_ref<Json::array_t&>();
        elements.push_back(std::move(value));
        return &elements.back();
    }

    bool add(Json&& value) {
        place(std::move(value));
        return true;
    }

    bool open(Json&& value) {
        if (frames.size() == kDepthLimit)
            refuse("nested deeper than " + std::to_string(kDepthLimit) + " levels");
        Json* at = place(std::move(value));
        Members* members = at->is_object() ? &at->get_ref<Members&>() : nullptr;
        frames.push_back({at, members, {}});
        return true;
    }

    // Refuses the input at the last character the parser read.
    [[noreturn]] void refuse(const std::string& what) const {
        throw TextFormError(lineAndColumn(text, static_cast<std::size_t>(reached - text.data())) + ": " + what);
    }

    bool close() {
        frames.pop_back();
        return true;
    }

    // The path of the value frames[depth] builds.
    std::string pathOf(std::size_t depth) const {
        std::string path;
        for (std::size_t i = 0; i < depth; ++i) {
            const Frame& outer = frames[i];
            path = outer.members != nullptr ? MemberPath(path, outer.members->back().first)
                                            : ElementPath(path, outer.value->size() - 1);
        }
        return path;
    }

    std::string_view text;
    const char* reached;
    Json root;
    std::vector<Frame> frames;
    std::size_t values = 0;
};

} // namespace

std::string MemberPath(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}

std::string ElementPath(const std::string& path, std::size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

Json ParseStrictJson(std::string_view text) {
    return StrictBuilder(text).Parse();
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
