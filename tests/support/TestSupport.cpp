#include "support/TestSupport.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/grid/GridDump.h"
#include "core/store/SampleDatabase.h"

namespace rumone::test {

namespace {

DbValue digitValue(int d)
{
    return d < 0 ? DbValue::null() : DbValue::fromInt(d);
}

}  // namespace

DrawHistory historyOf(const std::vector<Row>& rows)
{
    std::vector<DrawRecord> records;
    records.reserve(rows.size());
    for (const Row& r : rows) {
        DrawRecord rec;
        rec.number = DbValue::fromInt(r.number);
        for (int p = 0; p < 4; ++p)
            rec.digits[p] = digitValue(r.digits[p]);
        records.push_back(rec);
    }
    return DrawHistory::fromRecords(records);
}

DrawHistory historyOf(std::initializer_list<Row> rows)
{
    return historyOf(std::vector<Row>(rows));
}

DrawHistory randomHistory(int count, unsigned seed)
{
    std::vector<DrawRecord> records;
    for (const EditRow& r : sampleDraws(count, seed))
        records.push_back({r.number, r.digits});
    return DrawHistory::fromRecords(records);
}

EditRow editRowOf(const Row& r)
{
    EditRow e;
    e.number = DbValue::fromInt(r.number);
    for (int p = 0; p < 4; ++p)
        e.digits[p] = digitValue(r.digits[p]);
    return e;
}

std::vector<EditRow> editRowsOf(const std::vector<Row>& rows)
{
    std::vector<EditRow> out;
    for (const Row& r : rows)
        out.push_back(editRowOf(r));
    return out;
}

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string realDrawsPath()
{
    return std::string(RUMONE_DATA_DIR) + "/draws.csv";
}

std::optional<std::vector<Row>> realDraws()
{
    std::ifstream in(realDrawsPath());
    if (!in)
        return std::nullopt;
    std::vector<Row> rows;
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        std::vector<std::string> f;
        std::stringstream ss(line);
        std::string field;
        while (std::getline(ss, field, ','))
            f.push_back(field);
        if (f.size() < 6)
            continue;
        Row r{std::stoi(f[0]), {}};
        for (int p = 0; p < 4; ++p)
            r.digits[p] = f[2 + p].empty() ? -1 : std::stoi(f[2 + p]);
        rows.push_back(r);
    }
    return rows;
}

std::string colourOf(const OptColour& c)
{
    return dumpColour(c);
}

std::string backOf(const ResultGrid& g, int col, int row)
{
    return dumpColour(g.style(col, row).back);
}

std::string textColourOf(const ResultGrid& g, int col, int row)
{
    return dumpColour(g.style(col, row).text);
}

std::vector<std::string> rowTexts(const ResultGrid& g, int row)
{
    std::vector<std::string> texts;
    for (int c = 1; c <= g.columns(); ++c)
        texts.push_back(g.getText(c, row));
    return texts;
}

EnvForTest::EnvForTest(const char* name, const char* value) : name_(name)
{
    if (const char* now = std::getenv(name))
        earlier_ = now;
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
    tzset();
}

EnvForTest::~EnvForTest()
{
    if (earlier_)
        setenv(name_.c_str(), earlier_->c_str(), 1);
    else
        unsetenv(name_.c_str());
    tzset();
}

TempDir::TempDir()
{
    std::string tmpl = (std::filesystem::temp_directory_path() / "rumone-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempDir::~TempDir()
{
    std::error_code ec;
    // Make everything writable again so that read-only test folders go too.
    for (auto& e : std::filesystem::recursive_directory_iterator(path_, ec))
        std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ec);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

}  // namespace rumone::test
