// A value as the draw database delivers it: SQLite's dynamic types.
#pragma once

#include <string>

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

}  // namespace rumone
