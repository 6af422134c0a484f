// The request the date and time dialog hands the elevated helper: written
// and read back, anything else refused, and the chosen time moved on by the
// time the elevation prompt stood.
#include "platform/TimeRequest.h"

#include <gtest/gtest.h>

namespace morix::platform {
namespace {

TEST(TimeRequest, ReadsBackWhatItWroteAndNothingElse) {
    const TimeRequest request{{2027, 1, 5, 9, 4, 3}, 123456789012ULL};
    EXPECT_EQ(FormatTimeRequest(request), "2027-01-05 09:04:03 123456789012");
    EXPECT_EQ(ParseTimeRequest(FormatTimeRequest(request)), request);
    EXPECT_EQ(ParseTimeRequest("2028-02-29 23:59:59 0"), (TimeRequest{{2028, 2, 29, 23, 59, 59}, 0}));
    EXPECT_EQ(ParseTimeRequest("2026-12-10 00:00:00 18446744073709551615")->chosenAtMs, UINT64_MAX);
    const char* refused[] = {
        "",
        "2027-01-05 09:04:03",                   // no tick count
        "2027-01-05 09:04:03 ",                  // an empty one
        "2027-01-05 09:04:03 12x",               // not a number
        "2027-01-05 09:04:03 18446744073709551616",  // over 64 bits
        "2027-01-05 09:04:03 1 2",               // more after it
        "2027-1-05 09:04:03 1",                  // digits missing
        "2027-01-05T09:04:03 1",                 // another separator
        " 2027-01-05 09:04:03 1",                // anything before
        "2027-02-29 10:00:00 1",                 // no such day
        "2027-13-01 10:00:00 1",
        "2027-00-10 10:00:00 1",
        "2027-04-31 10:00:00 1",
        "1600-12-31 10:00:00 1",                 // before the system's first year
        "2027-01-05 24:00:00 1",
        "2027-01-05 23:60:00 1",
        "2027-01-05 23:59:60 1",
        "-027-01-05 23:59:59 1",
    };
    for (const char* text : refused) EXPECT_EQ(ParseTimeRequest(text), std::nullopt) << text;
}

TEST(TimeRequest, TheChosenTimeMovesOnByTheTimeThePromptStood) {
    struct Case {
        LocalTime chosen;
        std::uint64_t passedMs;
        LocalTime set;
        int milliseconds;
    } cases[] = {
        {{2027, 1, 5, 9, 4, 3}, 0, {2027, 1, 5, 9, 4, 3}, 0},
        {{2027, 1, 5, 9, 4, 3}, 7250, {2027, 1, 5, 9, 4, 10}, 250},
        {{2026, 12, 31, 23, 59, 58}, 2500, {2027, 1, 1, 0, 0, 0}, 500},
        {{2028, 2, 28, 23, 59, 59}, 1000, {2028, 2, 29, 0, 0, 0}, 0},
        {{2027, 2, 28, 23, 59, 59}, 1000, {2027, 3, 1, 0, 0, 0}, 0},
        {{2027, 1, 5, 9, 4, 3}, RequestLifetimeMs, {2027, 1, 6, 9, 4, 3}, 0},
    };
    for (const Case& c : cases) {
        const std::optional<TimeToSet> set = TimeToSetAt({c.chosen, 5000}, 5000 + c.passedMs);
        ASSERT_TRUE(set.has_value()) << c.passedMs;
        EXPECT_EQ(*set, (TimeToSet{c.set, c.milliseconds})) << c.passedMs;
    }
    // A tick count before the choice: no time passed.
    EXPECT_EQ(TimeToSetAt({{2027, 1, 5, 9, 4, 3}, 5000}, 4000), (TimeToSet{{2027, 1, 5, 9, 4, 3}, 0}));
    // A request nobody waits for any more sets nothing.
    EXPECT_EQ(TimeToSetAt({{2027, 1, 5, 9, 4, 3}, 5000}, 5001 + RequestLifetimeMs), std::nullopt);
}

}  // namespace
}  // namespace morix::platform
