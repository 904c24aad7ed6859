// A disk that fills up at many levels of free space, on a small tmpfs:
// an import, an export and the creation of a database either complete or
// fail with a clear message, and the files that were there stay as they
// were. Needs root (for the mount); skipped with a message otherwise.
#include <sys/mount.h>
#include <sys/stat.h>

#include <iostream>

#include "ReliabilityHelpers.h"
#include "core/store/DrawCsv.h"
#include "core/store/SafeFile.h"

namespace rumone::test {
namespace {

constexpr const char* kTmpfsSize = "size=1536k";

// A small tmpfs mounted on a fresh folder, unmounted by the destructor.
class SmallDisk {
public:
    SmallDisk() : folder_(dir_.file("disk"))
    {
        mkdir(folder_.c_str(), 0755);
        mounted_ = geteuid() == 0 && mount("tmpfs", folder_.c_str(), "tmpfs", 0, kTmpfsSize) == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }
    std::string file(const std::string& name) const { return folder_ + "/" + name; }

    // Fills the disk, then frees `bytes` of it again.
    void leaveFree(std::size_t bytes)
    {
        const int fd = open(file("filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const std::string block(4096, '\0');
        std::size_t written = 0;
        while (true) {
            const ssize_t n = write(fd, block.data(), block.size());
            if (n <= 0)
                break;
            written += static_cast<std::size_t>(n);
        }
        if (ftruncate(fd, static_cast<off_t>(written > bytes ? written - bytes : 0)) != 0)
            ADD_FAILURE() << "cannot shrink the filler";
        close(fd);
    }
    void empty() { ::unlink(file("filler").c_str()); }

private:
    TempDir dir_;
    std::string folder_;
    bool mounted_ = false;
};

std::vector<Row> rowsFrom(int first, int last, int digit)
{
    std::vector<Row> rows;
    for (int n = first; n <= last; ++n)
        rows.push_back({n, {digit, n % 10, n / 10 % 10, n / 100 % 10}});
    return rows;
}

int leftovers(const SmallDisk& disk, const std::string& prefix)
{
    int n = 0;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(disk.file(""), ec)) {
        const std::string name = e.path().filename().string();
        if (name.rfind(prefix + ".tmp-", 0) == 0 || name.rfind(prefix + ".new-", 0) == 0 ||
            name.find("-journal") != std::string::npos)
            ++n;
    }
    return n;
}

TEST(FullDisk, WritesCompleteOrFailClearlyAtEveryLevelOfFreeSpace)
{
    SmallDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "needs root to mount a small tmpfs (run the tests as root to include the full-disk cases)";

    const std::string db = makeDatabase(disk.file("Rumone.mdb"), rowsFrom(1, 300, 1));
    const std::string oldBytes = readBytes(db);
    const DrawDatabaseRef cs = drawDatabaseAt(db);
    const std::vector<EditRow> extra = editRowsOf(rowsFrom(200, 3000, 7));
    const std::string csv = disk.file("keep.csv");
    writeBytes(csv, "keep me\n");
    const std::string csvText = writeDrawCsv(editRowsOf(rowsFrom(1, 3000, 2)));

    int levels = 0, failures = 0, completions = 0, lost = 0;
    for (std::size_t kb : {0, 4, 8, 12, 16, 24, 32, 40, 48, 64, 80, 96, 128, 160, 192, 256, 320, 384}) {
        SCOPED_TRACE(std::to_string(kb) + " KiB free");
        ++levels;
        disk.leaveFree(kb * 1024);

        try {  // the import: all or nothing
            openDrawEditSet(cs).importDraws(extra);
            ++completions;
        } catch (const StoreError& e) {
            ++failures;
            EXPECT_EQ(std::string(e.what()).find("SQLite コード"), std::string::npos) << e.what();
        }
        const std::size_t rows = openDrawSnapshot(cs).recordCount();
        EXPECT_TRUE(rows == 300 || rows == 3000) << rows;
        lost += rows != 300 && rows != 3000;
        EXPECT_EQ(checkDatabaseIntegrity(cs), std::vector<std::string>{"ok"});

        try {  // the export: the old file or the whole new one
            replaceFileWith(csv, csvText);
            ++completions;
            writeBytes(csv, "keep me\n");
        } catch (const FileWriteError&) {
            ++failures;
            EXPECT_EQ(readBytes(csv), "keep me\n");
        }

        try {  // a new database: whole or not there
            createDrawDatabase(disk.file("new.mdb"));
            ++completions;
            EXPECT_EQ(openDrawSnapshot(drawDatabaseAt(disk.file("new.mdb"))).recordCount(), 0u);
        } catch (const StoreError& e) {
            ++failures;
            EXPECT_NE(access(disk.file("new.mdb").c_str(), F_OK), 0);
            EXPECT_EQ(std::string(e.what()).find("SQLite コード"), std::string::npos) << e.what();
        }
        EXPECT_EQ(leftovers(disk, "keep.csv") + leftovers(disk, "new.mdb"), 0) << "temporary files left";

        disk.empty();
        ::unlink(disk.file("new.mdb").c_str());
        writeBytes(db, oldBytes);
    }
    EXPECT_EQ(lost, 0);
    EXPECT_GT(failures, 0) << "the disk never filled up";
    EXPECT_GT(completions, 0) << "nothing ever fitted";
    std::cout << "[ figures  ] full disk: " << levels << " free-space levels, " << failures << " refused writes, "
              << completions << " completed, " << lost << " draws lost\n";
}

}  // namespace
}  // namespace rumone::test
