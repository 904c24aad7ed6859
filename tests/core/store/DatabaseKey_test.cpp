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
