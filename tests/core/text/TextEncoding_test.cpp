// Deciding how a file's bytes are encoded, and where they cannot be read.
#include <gtest/gtest.h>

#include <climits>

#include "core/text/TextEncoding.h"
#include "core/text/TextParts.h"

namespace rumone {
namespace {

// "回数" in CP932 and in UTF-8.
const std::string kKaisuCp932 = "\x89\xf1\x90\x94";
const std::string kKaisuUtf8 = "回数";

TEST(TextEncoding, DecidesByTheBytesAndNamesTheLineItCannotRead)
{
    struct Case {
        std::string bytes;
        TextEncoding encoding;
        std::string text;  // "" with badLine set
        int badLine = 0;
    };
    const std::vector<Case> cases = {
        {"a,b\n", TextEncoding::Utf8, "a,b\n"},
        {std::string(kUtf8Bom) + kKaisuUtf8 + "\n", TextEncoding::Utf8WithBom, kKaisuUtf8 + "\n"},
        {kKaisuUtf8 + "\n1\n", TextEncoding::Utf8, kKaisuUtf8 + "\n1\n"},
        {kKaisuCp932 + "\r\n1\r\n", TextEncoding::Cp932, kKaisuUtf8 + "\r\n1\r\n"},
        {"\xb6\xb2\n", TextEncoding::Cp932, "ｶｲ\n"},  // half-width katakana, one byte each
        // Neither: a CP932 lead byte with no trail byte at the end of line 3.
        {kKaisuCp932 + "\n1\n2\x81", TextEncoding::Cp932, "", 3},
        // UTF-8 with a stray byte on line 3: that line, not the first
        // UTF-8 character that CP932 cannot read.
        {kKaisuUtf8 + "\n1\n2\x82\n", TextEncoding::Cp932, "", 3},
        // A byte order mark promises UTF-8; CP932 after it is not read.
        {std::string(kUtf8Bom) + "a\n" + kKaisuCp932, TextEncoding::Utf8WithBom, "", 2},
    };
    for (const Case& c : cases) {
        const DecodedText d = decodeUtf8OrCp932(c.bytes);
        EXPECT_EQ(d.encoding, c.encoding) << c.bytes;
        if (c.badLine == 0) {
            EXPECT_TRUE(d.ok()) << c.bytes;
            EXPECT_EQ(d.text, c.text);
        } else {
            ASSERT_FALSE(d.ok()) << c.bytes;
            EXPECT_EQ(lineOfOffset(c.bytes, *d.badOffset), c.badLine) << c.bytes;
        }
    }
}

TEST(TextEncoding, Utf8MustBeWellFormed)
{
    EXPECT_TRUE(isValidUtf8("abc 回数 \xF0\x9F\x8E\xB2"));
    for (std::string bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE5\x9B", "\x80"})
        EXPECT_FALSE(isValidUtf8("ok" + bad)) << bad;
    EXPECT_EQ(firstInvalidUtf8("回\xFF"), std::optional<std::size_t>(3));
}

TEST(TextEncoding, Cp932RoundTripsAndRefusesWhatItCannotHold)
{
    const Conversion out = utf8ToCp932("第1数字,①,ｶ");
    ASSERT_TRUE(out.ok());
    EXPECT_EQ(cp932ToUtf8(out.text).text, "第1数字,①,ｶ");
    const Conversion refused = utf8ToCp932("a\n😀");
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(*refused.badOffset, 2u);
}

// The line, blank and letter-case rules that the options file, the CSV
// reader and the help index share.
TEST(TextParts, LinesBlanksAndLetterCase)
{
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(splitLines(""), Lines{});
    EXPECT_EQ(splitLines("a\r\n\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(splitLines("a\n"), (Lines{"a"}));
    EXPECT_EQ(splitLines("a\r\r\n\r"), (Lines{"a\r", ""}));  // one CR at the end of a line goes

    EXPECT_EQ(trim(" \t 5 \t"), "5");
    EXPECT_EQ(trim(" \t "), "");
    EXPECT_EQ(trim("\r5\n", " \t"), "\r5\n");
    EXPECT_EQ(trim("\r5\n", "\r\n"), "5");

    EXPECT_TRUE(equalsIgnoringAsciiCase("TrUe", "true"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("true", "tru"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("\xEF\xBC\xB4", "\xEF\xBD\x94"));  // full-width T and t differ
}

// The grouped text, kept in its own buffer or made as a string, at the
// edges where a comma comes or goes and at both ends of the range.
TEST(TextParts, GroupedDigitsAtEveryEdge)
{
    const std::pair<long long, const char*> cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {-1000, "-1,000"},
        {986400, "986,400"},
        {1234567, "1,234,567"},
        {LLONG_MAX, "9,223,372,036,854,775,807"},
        {LLONG_MIN, "-9,223,372,036,854,775,808"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(GroupedDigits(value).text(), text) << value;
        EXPECT_EQ(groupedDigits(value), text) << value;
    }
}

}  // namespace
}  // namespace rumone
