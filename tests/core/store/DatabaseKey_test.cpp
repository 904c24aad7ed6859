// The key derived at start-up and carried by the connection text: it opens
// its own file without the password's derivation, and never stands in the
// way of opening another file, or of the password deciding.
#include <filesystem>

#include "StoreTestHelpers.h"
#include "core/store/DatabaseKey.h"

namespace rumone::test {
namespace {

namespace fs = std::filesystem;

bool opens(const ConnectionInfo& info)
{
    try {
        openKeyedDatabase(info, OpenAccess::ReadOnly);
        return true;
    } catch (const StoreError& e) {
        EXPECT_EQ(e.cause(), StoreError::Cause::NotADatabase) << e.what();
        return false;
    }
}

std::string hexOf(const unsigned char* bytes, std::size_t size)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < size; ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 0xf];
    }
    return hex;
}

// RFC 6070's vectors, and the lengths the database key uses (a password
// longer than a hash block, 64,000 rounds, 32 bytes over two blocks).
TEST(DatabaseKey, Pbkdf2HmacSha1GivesTheStandardsAnswers)
{
    struct Case {
        std::string password, salt;
        int rounds;
        std::size_t size;
        const char* expected;
    };
    std::string counting;
    for (int i = 0; i < 16; ++i)
        counting += static_cast<char>(i);
    const Case cases[] = {
        {"password", "salt", 1, 20, "0c60c80f961f0e71f3a9b524af6012062fe037a6"},
        {"password", "salt", 4096, 20, "4b007901b765489abead49d926f721d065a429c1"},
        {"passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 25,
         "3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038"},
        {std::string("pass\0word", 9), std::string("sa\0lt", 5), 4096, 16, "56fa6aa75548099dcc37d7f03425e0c3"},
        {std::string(70, 'p'), counting, 64000, 32, "d8632d01232e25b2f3c561ab1351efaea2e7344c64ae6e721ffbd8e81ac8e656"},
    };
    for (const Case& c : cases) {
        unsigned char out[32] = {};
        pbkdf2HmacSha1(c.password, reinterpret_cast<const unsigned char*>(c.salt.data()), c.salt.size(), c.rounds, out,
                       c.size);
        EXPECT_EQ(hexOf(out, c.size), c.expected) << c.password.size() << " " << c.rounds;
    }
}

TEST(DatabaseKey, TheKeyOfTheLoadOpensItsFileAndNoOther)
{
    TempDir dir;
    // A path with the separators of the connection text in it.
    const std::string path = makeDatabase(dir.file("a;Data Source=b.mdb"), {{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}});
    const std::string plain = connectionStringForFile(path);
    const LoadedHistory loaded = loadDrawHistoryKeyed(plain);
    EXPECT_EQ(loaded.history.completeDraws().size(), 2u);

    const ConnectionInfo keyed = parseConnectionString(loaded.connectionString);
    const ConnectionInfo original = parseConnectionString(plain);
    EXPECT_EQ(keyed.path, path);
    EXPECT_EQ(keyed.password, original.password);
    ASSERT_TRUE(saltOfRawKey(keyed.rawKey).has_value()) << keyed.rawKey;
    EXPECT_EQ(connectionStringWithKey(loaded.connectionString, keyed.rawKey), loaded.connectionString)
        << "a second key replaces the first";

    // The key alone opens the file: a wrong password is never asked.
    ConnectionInfo wrongPassword = keyed;
    wrongPassword.password = "000000";
    EXPECT_TRUE(opens(wrongPassword));
    EXPECT_EQ(loadDrawHistory(loaded.connectionString).completeDraws().size(), 2u);
    EXPECT_EQ(openDrawEditSet(loaded.connectionString).recordCount(), 2u);

    // A key of the right salt that does not open the file: the password decides.
    ConnectionInfo badKey = keyed;
    badKey.rawKey[2] = badKey.rawKey[2] == 'A' ? 'B' : 'A';
    EXPECT_TRUE(opens(badKey));
    badKey.password = "000000";
    EXPECT_FALSE(opens(badKey));

    // Another database put in the file's place (another salt): the key is
    // not used; the password opens it, a wrong one does not.
    fs::remove(path);
    makeDatabase(path, {{7, {0, 0, 0, 0}}});
    EXPECT_TRUE(opens(keyed));
    EXPECT_FALSE(opens(wrongPassword));
    EXPECT_EQ(loadDrawHistory(loaded.connectionString).latestDrawNumber(), 7);
}

}  // namespace
}  // namespace rumone::test
