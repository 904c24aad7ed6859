// The key derived at the first open and kept with the database's copies:
// it opens its own file without the password's derivation, and never
// stands in the way of opening another file, or of the password deciding.
#include <filesystem>
#include <fstream>

#include "StoreTestHelpers.h"
#include "core/store/DatabaseKey.h"

namespace rumone::test {
namespace {

namespace fs = std::filesystem;

bool opens(DrawDatabaseRef database, const std::string& password = {})
{
    if (!password.empty())
        database.password = password;
    try {
        openKeyedDatabase(database, OpenAccess::ReadOnly);
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

TEST(DatabaseKey, TheKeyOfTheFirstOpenOpensItsFileAndNoOther)
{
    TempDir dir;
    // A path with the separators of the connection text in it.
    const std::string path = makeDatabase(dir.file("a;Data Source=b.mdb"), {{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}});
    const DrawDatabaseRef database = drawDatabaseAt(path);
    EXPECT_EQ(database.path, path);
    EXPECT_EQ(loadDrawHistory(database).completeDraws().size(), 2u);
    DatabaseSalt salt{};
    std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(salt.data()), salt.size());
    ASSERT_EQ(database.keys->find(path, salt), deriveRawKey(database.password, salt));

    // The kept key alone opens the file: a wrong password is never asked,
    // by any copy, for any kind of open.
    DrawDatabaseRef wrongPassword = database;
    wrongPassword.password = "000000";
    EXPECT_TRUE(opens(wrongPassword));
    EXPECT_EQ(loadDrawHistory(wrongPassword).completeDraws().size(), 2u);
    EXPECT_EQ(openDrawEditSet(wrongPassword).recordCount(), 2u);
    EXPECT_FALSE(opens(drawDatabaseAt(path), "000000")) << "keys are not shared between parses";

    // A kept key of the right salt that does not open the file: the
    // password decides.
    std::string badKey = *database.keys->find(path, salt);
    badKey[2] = badKey[2] == 'A' ? 'B' : 'A';
    database.keys->remember(path, salt, badKey);
    EXPECT_TRUE(opens(database));
    EXPECT_FALSE(opens(wrongPassword));

    // Another database put in the file's place (another salt): its own key
    // is derived from the password; a wrong one does not open it.
    fs::remove(path);
    makeDatabase(path, {{7, {0, 0, 0, 0}}});
    EXPECT_FALSE(opens(wrongPassword));
    EXPECT_EQ(loadDrawHistory(database).latestDrawNumber(), 7);
    EXPECT_TRUE(opens(wrongPassword));
}

}  // namespace
}  // namespace rumone::test
