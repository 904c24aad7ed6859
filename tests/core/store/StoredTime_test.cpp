// Stored times: the UTC form and the older local form read as the same
// moment, anything else is refused, and a moment is shown in local time.
#include <gtest/gtest.h>

#include "core/store/StoredTime.h"
#include "support/TestSupport.h"

namespace rumone::test {
namespace {

TEST(StoredTime, BothFormsReadAsTheMomentTheyNameAndOthersAreRefused)
{
    const EnvForTest tokyo("TZ", "Asia/Tokyo");
    const StoredTime moment{std::chrono::seconds{1796809803}};  // 2026-12-09 09:50:03 UTC
    struct Case {
        const char* text;
        std::optional<StoredTime> read;
    };
    const Case cases[] = {
        {"2026-12-09T09:50:03Z", moment},       {"2026-12-09 18:50:03", moment},  // an older version's local text
        {"2026-12-09T09:50:03", std::nullopt},  {"2026-12-09 18:50", std::nullopt},
        {"2026-02-30T09:50:03Z", std::nullopt}, {"2026-12-09T24:00:00Z", std::nullopt},
        {"2026-12-09T09:5a:03Z", std::nullopt}, {"", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseStoredTime(c.text), c.read) << c.text;
    EXPECT_EQ(storedTimeText(moment), "2026-12-09T09:50:03Z");
    EXPECT_EQ(localTimeText(moment), "2026-12-09 18:50:03");
}

}  // namespace
}  // namespace rumone::test
