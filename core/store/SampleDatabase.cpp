#include "core/store/SampleDatabase.h"

#include <sys/stat.h>

#include <algorithm>
#include <random>

#include "core/store/DrawDatabase.h"
#include "core/store/DrawImport.h"

namespace rumone {

BuildOutcome createDrawDatabaseWith(const std::string& path, const std::vector<EditRow>& draws,
                                    const DrawDetailsList& details)
{
    // A link that points nowhere counts as no file, as it does for every
    // reader of the database.
    struct stat st {};
    if (stat(path.c_str(), &st) == 0)
        return BuildOutcome::AlreadyThere;
    return buildThenLink(path, [&](const std::string& temp) {
        writeEmptyDrawDatabase(temp);
        DrawEditSet set = openDrawEditSet(drawDatabaseAt(temp));
        set.importDraws(draws);
        if (!details.empty())
            set.importPreviewed(previewImport({}, details, set.rows(), {}));
    });
}

std::vector<EditRow> sampleDraws(long long count, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> digit(0, 9);
    std::vector<EditRow> draws;
    draws.reserve(static_cast<std::size_t>(std::max(count, 0LL)));
    for (long long n = 1; n <= count; ++n) {
        EditRow r;
        r.number = DbValue::fromInt(n);
        for (DbValue& d : r.digits)
            d = DbValue::fromInt(digit(gen));
        draws.push_back(std::move(r));
    }
    return draws;
}

}  // namespace rumone
