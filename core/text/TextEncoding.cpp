#include "core/text/TextEncoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace rumone {

namespace {

// One iconv conversion descriptor, closed on destruction.
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~IconvHandle()
    {
        if (valid())
            iconv_close(cd_);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

Conversion convert(const char* to, const char* from, std::string_view in)
{
    Conversion result;
    IconvHandle cd(to, from);
    if (!cd.valid()) {
        result.badOffset = 0;
        return result;
    }
    // CP932 to UTF-8 at most triples a byte (half-width katakana); the
    // other way never grows.
    std::string out(in.size() * 3 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    if (iconv(cd.get(), &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1) ||
        iconv(cd.get(), nullptr, nullptr, &dst, &dstLeft) == static_cast<std::size_t>(-1)) {
        result.badOffset = static_cast<std::size_t>(src - in.data());
        return result;
    }
    out.resize(out.size() - dstLeft);
    result.text = std::move(out);
    return result;
}

}  // namespace

std::optional<std::size_t> firstInvalidUtf8(std::string_view bytes)
{
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0)
                low = 0xA0;  // no overlong forms
            if (c == 0xED)
                high = 0x9F;  // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0)
                low = 0x90;
            if (c == 0xF4)
                high = 0x8F;  // nothing above U+10FFFF
        } else {
            return i;
        }
        if (i + length > n || s[i + 1] < low || s[i + 1] > high)
            return i;
        for (std::size_t k = 2; k < length; ++k)
            if (s[i + k] < 0x80 || s[i + k] > 0xBF)
                return i;
        i += length;
    }
    return std::nullopt;
}

bool isAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

Conversion cp932ToUtf8(std::string_view bytes)
{
    return convert("UTF-8", "CP932", bytes);
}

Conversion utf8ToCp932(std::string_view utf8)
{
    return convert("CP932", "UTF-8", utf8);
}

DecodedText decodeUtf8OrCp932(std::string_view bytes)
{
    DecodedText decoded;
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        decoded.encoding = TextEncoding::Utf8WithBom;
        const std::string_view body = bytes.substr(kUtf8Bom.size());
        if (const auto bad = firstInvalidUtf8(body))
            decoded.badOffset = *bad + kUtf8Bom.size();
        else
            decoded.text = std::string(body);
        return decoded;
    }
    const std::optional<std::size_t> utf8Bad = firstInvalidUtf8(bytes);
    if (!utf8Bad) {
        decoded.text = std::string(bytes);
        return decoded;
    }
    decoded.encoding = TextEncoding::Cp932;
    Conversion c = cp932ToUtf8(bytes);
    decoded.text = std::move(c.text);
    // Neither: the reading that gets further is the likelier one (UTF-8
    // with one stray byte, say), so its first bad byte is the one named.
    if (c.badOffset)
        decoded.badOffset = std::max(*c.badOffset, *utf8Bad);
    return decoded;
}

int lineOfOffset(std::string_view bytes, std::size_t offset)
{
    const std::string_view before = bytes.substr(0, std::min(offset, bytes.size()));
    return 1 + static_cast<int>(std::count(before.begin(), before.end(), '\n'));
}

}  // namespace rumone
