#include "history/DrawStore.h"

namespace rumone {

namespace {
const std::string kPasswordKey = "Jet OLEDB:Database Password=";
const std::string kSourceKey = ";Data Source=";
}  // namespace

std::string BuildConnectionString(const std::string& programFolder)
{
    // The password is built at run time from a number held in the program.
    const long number = 271828L + 2 * 100000L;  // six digits
    std::string s = "Provider=Microsoft.Jet.OLEDB.4.0;";
    s += kPasswordKey;
    s += std::to_string(number);
    s += kSourceKey;
    s += programFolder;
    s += "/";
    s += kDatabaseFileName;
    return s;
}

ConnectionInfo ParseConnectionString(const std::string& cs)
{
    ConnectionInfo info;
    const auto p = cs.find(kPasswordKey);
    if (p != std::string::npos) {
        const auto start = p + kPasswordKey.size();
        info.password = cs.substr(start, cs.find(';', start) - start);
    }
    const auto s = cs.find(kSourceKey);
    if (s != std::string::npos)
        info.path = cs.substr(s + kSourceKey.size());  // the rest: a path may hold ';'
    return info;
}

// --- placeholder until the SQLCipher store lands
DrawSnapshot OpenDrawSnapshot(const std::string& cs)
{
    throw StoreError(StoreError::Cause::Other, ParseConnectionString(cs).path, "未実装");
}

class DrawEditSet::Impl {
public:
    std::vector<EditRow> rows;
};
DrawEditSet::DrawEditSet(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
DrawEditSet::DrawEditSet(DrawEditSet&&) noexcept = default;
DrawEditSet& DrawEditSet::operator=(DrawEditSet&&) noexcept = default;
DrawEditSet::~DrawEditSet() = default;
const std::vector<EditRow>& DrawEditSet::Rows() const { return impl_->rows; }
void DrawEditSet::SetDigit(std::size_t, int, std::optional<int>) {}
void DrawEditSet::InsertRow(std::size_t) {}
void DrawEditSet::DeleteRow(std::size_t) {}
void DrawEditSet::ImportDraws(const std::vector<EditRow>&) {}
std::size_t DrawEditSet::CountExisting(const std::vector<EditRow>&) const { return 0; }
DrawEditSet OpenDrawEditSet(const std::string& cs)
{
    throw StoreError(StoreError::Cause::Other, ParseConnectionString(cs).path, "未実装");
}
void CreateDrawDatabase(const std::string&) {}

}  // namespace rumone
