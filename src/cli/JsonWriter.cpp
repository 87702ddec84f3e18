#include "JsonWriter.h"

#include <cstdio>

void JsonWriter::newline() {
    out << '\n';
    for (std::size_t i = 0; i < hasItems.size(); ++i)
        out << "  ";
}

void JsonWriter::beforeValue() {
    if (afterKey) {
        afterKey = false;
        return;
    }
    if (!hasItems.empty()) {
        if (hasItems.back())
            out << ',';
        hasItems.back() = true;
        newline();
    }
}

JsonWriter& JsonWriter::Key(std::string_view key) {
    beforeValue();
    writeString(key);
    out << ": ";
    afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::BeginObject(std::string_view key) {
    if (!key.empty())
        Key(key);
    beforeValue();
    out << '{';
    hasItems.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    const bool had = hasItems.back();
    hasItems.pop_back();
    if (had)
        newline();
    out << '}';
    if (hasItems.empty())
        out << '\n';
    return *this;
}

JsonWriter& JsonWriter::BeginArray(std::string_view key) {
    if (!key.empty())
        Key(key);
    beforeValue();
    out << '[';
    hasItems.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    const bool had = hasItems.back();
    hasItems.pop_back();
    if (had)
        newline();
    out << ']';
    return *this;
}

JsonWriter& JsonWriter::Value(std::int64_t number) {
    beforeValue();
    out << number;
    return *this;
}

JsonWriter& JsonWriter::Value(bool flag) {
    beforeValue();
    out << (flag ? "true" : "false");
    return *this;
}

JsonWriter& JsonWriter::Null() {
    beforeValue();
    out << "null";
    return *this;
}

JsonWriter& JsonWriter::Value(std::string_view text) {
    beforeValue();
    writeString(text);
    return *this;
}

void JsonWriter::writeString(std::string_view text) {
    out << '"';
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out << "\\\"";
            break;
        case '\\':
            out << "\\\\";
            break;
        case '\n':
            out << "\\n";
            break;
        case '\r':
            out << "\\r";
            break;
        case '\t':
            out << "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out << buf;
            } else {
                out << ch;
            }
        }
    }
    out << '"';
}
