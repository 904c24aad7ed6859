// The options file "ルモーネ.ini": CP932 bytes, CR LF, ten lines in index
// order on writing; tolerant, order-free reading.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/predict/Prediction.h"
#include "core/predict/PredictionOptions.h"
#include "core/store/SafeFile.h"
#include "support/TestSupport.h"

namespace rumone {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::writeBytes;

// The CP932 bytes of the ten keys followed by "=".
const char* const kKeyBytes[kOptionCount] = {
    "\x95\x70\x93\x78\x95\xaa\x90\xcd"
    "Opt=",
    "\x8a\xd4\x8a\x75\x95\xaa\x90\xcd"
    "Opt=",
    "\x8f\x6f\x8c\xbb\x89\xf1\x90\x94\x95\xaa\x90\xcd"
    "Opt=",
    "\x83\x6f\x83\x89\x83\x63\x83\x4c\x95\xaa\x90\xcd"
    "Opt=",
    "\x88\xf8\x82\xc1\x92\xa3\x82\xe8\x95\xaa\x90\xcd"
    "Opt=",
    "\x98\x41\x94\xd4\x94\xf2\x82\xd1\x90\xce\x95\xaa\x90\xcd"
    "Opt=",
    "\x90\x94\x8e\x9a\x8d\x87\x8c\x76\x95\xaa\x90\xcd"
    "Opt=",
    "\x91\x67\x8d\x87\x82\xb9\x83\x70\x83\x5e\x81\x5b\x83\x93\x95\xaa\x90\xcd"
    "Opt=",
    "\x35\x95\xaa\x8a\x84\x8c\x58\x8c\xfc\x95\xaa\x90\xcd"
    "Opt=",
    "\x95\xaa\x8a\x84\x83\x66\x81\x5b\x83\x5e\x95\xaa\x90\xcd"
    "Opt=",
};
// "頻度分析" in CP932, to build keys of another width or case.
const std::string kHindoBunseki = "\x95\x70\x93\x78\x95\xaa\x90\xcd";

std::string key(int i)
{
    return kKeyBytes[i];
}

PredictionOptions read(const std::string& path, PredictionOptions start = {})
{
    readOptionsFile(start, path);
    return start;
}

PredictionOptions withFlags(std::initializer_list<int> set)
{
    PredictionOptions o;
    for (int i : set)
        o.flags[static_cast<size_t>(i)] = true;
    return o;
}

TEST(PredictionOptionsTest, TablesAndReflectCount)
{
    EXPECT_STREQ(kOptionKeys[8], "5分割傾向分析Opt");
    EXPECT_STREQ(kOptionCaptions[8], "■4分割傾向分析");
    EXPECT_STREQ(kOptionCaptions[0], "■頻度分析（出現頻度分析、回数出現分析）");
    Prediction prediction;
    EXPECT_EQ(prediction.countReflectedOptions(), 0);
    for (int i : {0, 4, 9})
        prediction.setFlag(i, true);
    EXPECT_EQ(prediction.countReflectedOptions(), 3);
}

TEST(PredictionOptionsTest, WritesTenCp932LinesInIndexOrderAndReadsThemBack)
{
    test::TempDir dir;
    const std::string path = dir.file(kOptionsFileName);
    const PredictionOptions written = withFlags({0, 2, 3, 8});
    ASSERT_TRUE(writeOptionsFile(written, path));

    std::string expected;
    for (int i = 0; i < kOptionCount; ++i)
        expected += key(i) + (written.flags[static_cast<size_t>(i)] ? "True" : "False") + "\r\n";
    EXPECT_EQ(readBytes(path), expected);
    EXPECT_EQ(read(path).flags, written.flags);

    // The same switches again: the file already holds them and is left as
    // it is (the same file, not a copy put in its place).
    struct stat before {
    }, after{};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    ASSERT_TRUE(writeOptionsFile(written, path));
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);

    // Writing again replaces the old content and leaves no other file.
    ASSERT_TRUE(writeOptionsFile(withFlags({1}), path));
    EXPECT_EQ(read(path).flags, withFlags({1}).flags);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

// An editor that saved the file as UTF-8 (with or without a byte order
// mark) must not cost the user the settings; the file is written back as
// CP932.
TEST(PredictionOptionsTest, AFileSavedAsUtf8KeepsItsSettings)
{
    test::TempDir dir;
    const std::string path = dir.file(kOptionsFileName);
    for (const std::string mark : {"", "\xEF\xBB\xBF"}) {
        writeBytes(path, mark + std::string(kOptionKeys[1]) + "=True\n" + kOptionKeys[7] + "=True\n");
        const PredictionOptions options = read(path);
        EXPECT_EQ(options.flags, withFlags({1, 7}).flags) << "mark: " << mark.size();
        ASSERT_TRUE(writeOptionsFile(options, path));
        EXPECT_EQ(readBytes(path).substr(0, key(0).size() + 7), key(0) + "False\r\n");
        EXPECT_EQ(read(path).flags, withFlags({1, 7}).flags);
    }
}

TEST(PredictionOptionsTest, ReadsLinesInAnyOrderAndLastOccurrenceWins)
{
    test::TempDir dir;
    const std::string path = dir.file(kOptionsFileName);
    writeBytes(path, key(9) + "True\r\n" + key(3) + "True\r\n" + "unknown=True\r\n" + key(5) + "True\r\n" + key(5) +
                         "False\r\n" + key(0) + "False\r\n" + key(0) + "True");
    EXPECT_EQ(read(path).flags, withFlags({0, 3, 9}).flags);

    // Rewriting what was read gives the ten lines in index order.
    ASSERT_TRUE(writeOptionsFile(read(path), path));
    EXPECT_EQ(readBytes(path).substr(0, key(0).size() + 6), key(0) + "True\r\n");
}

TEST(PredictionOptionsTest, ConvertsValuesCaseFreeAndNumbers)
{
    test::TempDir dir;
    const std::string path = dir.file(kOptionsFileName);
    writeBytes(path, key(0) + "true\r\n" + key(1) + "FALSE\r\n" + key(2) + "-1\r\n" + key(3) + "0\r\n" + key(4) +
                         "2.5\r\n" + key(5) + "0.0\r\n");
    const PredictionOptions start = withFlags({1, 3, 5});
    EXPECT_EQ(read(path, start).flags, withFlags({0, 2, 4}).flags);
}

TEST(PredictionOptionsTest, KeysAreWidthAndCaseSensitive)
{
    test::TempDir dir;
    const std::string path = dir.file(kOptionsFileName);
    // Full-width "Ｏｐｔ", lower-case "opt", a trailing blank in the key.
    writeBytes(path, kHindoBunseki + "\x82\x6e\x82\x90\x82\x94=True\r\n" + kHindoBunseki + "opt=True\r\n" +
                         kHindoBunseki + "Opt =True\r\n");
    EXPECT_EQ(read(path).flags, PredictionOptions{}.flags);
}

TEST(PredictionOptionsTest, SecondEqualsSignEndsTheValue)
{
    test::TempDir dir;
    const std::string path = dir.file(kOptionsFileName);
    writeBytes(path, key(0) + "True=False\r\n" + key(1) + "False=True\r\n" + key(2) + "=True\r\n");
    // Key 2 has an empty value: the line is skipped and the flag kept.
    EXPECT_EQ(read(path, withFlags({1, 2})).flags, withFlags({0, 2}).flags);
}

TEST(PredictionOptionsTest, SkipsUnusableLinesAndKeepsFlags)
{
    test::TempDir dir;
    const std::string path = dir.file(kOptionsFileName);
    const std::string invalidCp932 = key(2) + "True=\xff";  // 0xFF is no CP932 byte
    writeBytes(path, "\r\n" + key(0).substr(0, key(0).size() - 1) + "\r\n" + key(1) + "yes\r\n" + invalidCp932 +
                         "\r\n" + key(3) + "\r\n\n" + key(6) + "True\n" + key(7) + "1");
    EXPECT_EQ(read(path, withFlags({0, 1})).flags, withFlags({0, 1, 6, 7}).flags);
}

TEST(PredictionOptionsTest, MissingOrUnreadableFileChangesNothing)
{
    test::TempDir dir;
    const PredictionOptions start = withFlags({2, 7});
    EXPECT_EQ(read(dir.file("absent.ini"), start).flags, start.flags);
    EXPECT_EQ(read(dir.path(), start).flags, start.flags);  // a folder, not a file
    // A pipe with no writer: reading must not wait for one.
    const std::string pipe = dir.file("pipe.ini");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(read(pipe, start).flags, start.flags);
    // Far more than ten lines: no options file, however it begins.
    const std::string huge = dir.file("huge.ini");
    writeBytes(huge, key(0) + "False\r\n" + std::string(2u << 20, '\n'));
    EXPECT_EQ(read(huge, withFlags({0})).flags, withFlags({0}).flags);
}

TEST(PredictionOptionsTest, FailedWriteReturnsFalseAndKeepsOldFile)
{
    test::TempDir dir;
    EXPECT_FALSE(writeOptionsFile(withFlags({0}), dir.file("no-such-folder/") + kOptionsFileName));

    // The target is a folder: the rename fails and nothing is left behind.
    const std::string folder = dir.file("folder");
    fs::create_directory(folder);
    writeBytes(folder + "/inside", "x");
    EXPECT_FALSE(writeOptionsFile(withFlags({0}), folder));
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

    // An existing file whose name leaves no room for a temporary name
    // beside it: even root cannot create one, and the old file stays.
    const std::string longName = dir.file(std::string(250, 'a'));
    writeBytes(longName, "old content");
    EXPECT_FALSE(writeOptionsFile(withFlags({0}), longName));
    EXPECT_EQ(readBytes(longName), "old content");
}

// A read-only file is the user's way of keeping the switches: it is left
// as it is. A linked file is replaced where the link points; the link stays.
TEST(PredictionOptionsTest, ReadOnlyFileIsKeptAndLinkedFileIsReplacedBehindTheLink)
{
    test::TempDir dir;
    const std::string readOnly = dir.file(kOptionsFileName);
    writeBytes(readOnly, key(0) + "True\r\n");
    ::chmod(readOnly.c_str(), 0444);
    EXPECT_TRUE(optionsFileIsReadOnly(readOnly));
    EXPECT_FALSE(writeOptionsFile(withFlags({}), readOnly));
    EXPECT_EQ(readBytes(readOnly), key(0) + "True\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(readOnly.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);

    const std::string target = dir.file("real.ini");
    const std::string link = dir.file("linked.ini");
    writeBytes(target, key(0) + "False\r\n");
    ASSERT_EQ(::symlink("real.ini", link.c_str()), 0);
    EXPECT_FALSE(optionsFileIsReadOnly(link));
    EXPECT_TRUE(writeOptionsFile(withFlags({0}), link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(read(target).flags[0]);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);  // no temporary left
}

// Temporaries a killed write left beside the file go at the next start
// once they are a minute old; a fresh one and unrelated names stay.
TEST(PredictionOptionsTest, StaleTemporariesBesideTheFileAreRemoved)
{
    test::TempDir dir;
    const std::string path = dir.file("ルモーネ.ini");
    struct Leftover {
        const char* name;
        bool old;
        bool removed;
    };
    const Leftover leftovers[] = {
        {"ルモーネ.ini.tmp-a1B2c3", true, true},   {"ルモーネ.ini.tmp0123abcd", true, true},
        {"ルモーネ.ini.tmp-a1B2c4", false, false}, {"ルモーネ.ini.tmp-a1B2", true, false},
        {"ルモーネ.ini.bak", true, false},         {"other.ini.tmp-a1B2c3", true, false},
    };
    for (const Leftover& l : leftovers) {
        std::ofstream(dir.file(l.name)) << "x";
        if (l.old)
            std::filesystem::last_write_time(dir.file(l.name),
                                             std::filesystem::file_time_type::clock::now() - std::chrono::minutes(2));
    }
    removeStaleTemporaries(path);
    for (const Leftover& l : leftovers)
        EXPECT_EQ(std::filesystem::exists(dir.file(l.name)), !l.removed) << l.name;
}

}  // namespace
}  // namespace rumone
