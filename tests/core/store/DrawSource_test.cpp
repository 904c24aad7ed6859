// Reading draws from every source through one entry: the limits each kind
// of source is held to.
#include <gtest/gtest.h>

#include "core/store/DrawSource.h"

namespace rumone::test {
namespace {

// A line or a whole text over the limits is refused before it is read, the
// same for pasted text as for a file.
TEST(DrawSource, PastedTextIsHeldToTheLimitsOfAFile)
{
    const SourceLimits limits = sourceLimits(SourceKind::File);
    const std::string head = "回数,当せん番号\n1,1234\n";
    struct Case {
        std::string text;
        int line;  // -1: reads
    };
    const std::vector<Case> cases = {
        {head + std::string(limits.lineBytes, ' ') + "\n", -1},
        {head + std::string(limits.lineBytes + 1, ' ') + "\n", 3},
        {head + std::string(limits.totalBytes, '\n'), 0},
    };
    for (const SourceKind kind : {SourceKind::File, SourceKind::Pasted})
        for (const Case& c : cases) {
            SCOPED_TRACE(c.text.size());
            int line = -1;
            try {
                kind == SourceKind::File ? parseDrawSourceBytes(c.text) : parseDrawSource(c.text, kind);
            } catch (const DrawSourceError& e) {
                line = e.line();
                EXPECT_NE(e.reason().find("当選データではないようです"), std::string::npos) << e.reason();
            }
            EXPECT_EQ(line, c.line);
        }
}

}  // namespace
}  // namespace rumone::test
