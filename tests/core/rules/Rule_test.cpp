#include "core/rules/Rule.h"

#include <gtest/gtest.h>

namespace rumone {
namespace {

struct Printed {
    const char* text;
    const char* canonical;
};

TEST(Rule, ReadsAndPrintsOneCanonicalForm)
{
    const Printed cases[] = {
        {"", "type=straight"},
        {"type=box sum=14-22 kinds=single recent=3", "sum=14-22 kinds=single recent=3 type=box"},
        {"kinds=quad,single,double", "kinds=single,double,quad type=straight"},
        {"pos2=7,0,3 pos1=0-4,9", "pos1=0-4,9 pos2=0,3,7 type=straight"},
        {"pos3=8,9 pos4=1,2,3", "pos3=8,9 pos4=1-3 type=straight"},
        {"low=2  even=0-4 sum=9", "sum=9 even=0-4 low=2 type=straight"},
        {"method=連発 recent=20", "recent=20 method=連発 reflect=0 type=straight"},
        {"reflect=3 method=一発", "method=一発 reflect=3 type=straight"},
    };
    for (const Printed& c : cases) {
        const RuleParse read = parseRule(c.text);
        ASSERT_TRUE(read.rule) << c.text << ": " << read.problem;
        EXPECT_EQ(ruleText(*read.rule), c.canonical) << c.text;
        EXPECT_EQ(ruleText(*parseRule(c.canonical).rule), c.canonical);
    }
}

TEST(Rule, RefusesWhatItCannotRead)
{
    for (const char* text : {"sum=3-37", "sum=9-4", "even=5", "kinds=pair", "pos5=1", "pos1=", "pos1=1,,2", "recent=0",
                             "recent=21", "method=周期8", "type=set", "sum", "colour=red", "sum=1-3 sum=4-5",
                             "low=1-2x", "reflect=2", "method=一発 reflect=11"}) {
        const RuleParse read = parseRule(text);
        EXPECT_FALSE(read.rule) << text;
        EXPECT_FALSE(read.problem.empty()) << text;
    }
}

}  // namespace
}  // namespace rumone
