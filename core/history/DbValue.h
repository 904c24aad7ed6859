// A value as the draw database delivers it: SQLite's dynamic types.
#pragma once

#include <string>
#include <string_view>

namespace rumone {

struct DbValue {
    enum class Type { Null, Integer, Real, Text, Blob };
    Type type = Type::Null;
    long long integer = 0;
    double real = 0.0;
    std::string text;  // Text and Blob

    static DbValue null() { return {}; }
    static DbValue fromInt(long long v) { return {Type::Integer, v, 0.0, {}}; }
    static DbValue fromReal(double v) { return {Type::Real, 0, v, {}}; }
    static DbValue fromText(std::string v) { return {Type::Text, 0, 0.0, std::move(v)}; }
    bool isNull() const { return type == Type::Null; }
};

// `text` for a message: control bytes (below 0x20, and 0x7f) shown as
// \xNN, so that a NUL or an escape sequence read from a file never reaches
// the user's screen raw.
std::string printableText(std::string_view text);

// A stored value as text: an integer in decimal, a real in at most 15
// significant digits ("5" for 5.0, "0.1"), a text or blob as it is, ""
// for NULL.
std::string valueText(const DbValue& value);

}  // namespace rumone
