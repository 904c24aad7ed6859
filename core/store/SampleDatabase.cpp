#include "core/store/SampleDatabase.h"

#include <sys/stat.h>

#include "core/store/DrawDatabase.h"

namespace rumone {

BuildOutcome createDrawDatabaseWith(const std::string& path, const std::vector<EditRow>& draws)
{
    // A link that points nowhere counts as no file, as it does for every
    // reader of the database.
    struct stat st {};
    if (stat(path.c_str(), &st) == 0)
        return BuildOutcome::AlreadyThere;
    return buildThenLink(path, [&](const std::string& temp) {
        writeEmptyDrawDatabase(temp);
        openDrawEditSet(drawDatabaseAt(temp)).importDraws(draws);
    });
}

}  // namespace rumone
