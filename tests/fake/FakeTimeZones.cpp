#include "tests/fake/FakeTimeZones.h"

#include "tests/fake/FakeSystem.h"

#include <chrono>

namespace morix::test {

namespace {

using namespace std::chrono;

constexpr int Sunday = 0;

sys_seconds Instant(int y, int mo, int d, int h, int mi, int s) {
    return sys_days{year{y} / month{unsigned(mo)} / day{unsigned(d)}} + hours{h} + minutes{mi} + seconds{s};
}

// The local wall-clock moment of a change in the year, as if it were UTC.
sys_seconds ChangeMoment(int y, const FakeChange& c) {
    const year_month ym = year{y} / month{unsigned(c.month)};
    const weekday wd{unsigned(c.weekday)};
    const sys_days day = c.week >= 5 ? sys_days{ym / wd[last]} : sys_days{ym / wd[unsigned(c.week)]};
    return day + hours{c.hour};
}

bool InDaylight(const FakeZone& z, sys_seconds utc) {
    if (z.daylightBias == 0) return false;
    const int y = int(year_month_day{floor<days>(utc - minutes{z.bias})}.year());
    const sys_seconds start = ChangeMoment(y, z.daylightStart) + minutes{z.bias};
    const sys_seconds end = ChangeMoment(y, z.daylightEnd) + minutes{z.bias + z.daylightBias};
    // South of the equator the summer spans the new year.
    return start < end ? (utc >= start && utc < end) : (utc >= start || utc < end);
}

class FakeTimeZone final : public platform::TimeZone {
public:
    explicit FakeTimeZone(FakeZone zone) : zone_(std::move(zone)) {}
    platform::LocalTime At(platform::UtcSeconds instant) const override { return ZoneTimeAt(zone_, instant); }

private:
    FakeZone zone_;
};

}  // namespace

std::vector<FakeZone> RealZones() {
    return {
        {"Hawaiian Standard Time", "(UTC-10:00) ハワイ", 600, 0, {}, {}},
        {"Eastern Standard Time", "(UTC-05:00) 東部標準時 (米国およびカナダ)", 300, -60, {3, 2, Sunday, 2},
         {11, 1, Sunday, 2}},
        {"GMT Standard Time", "(UTC+00:00) ダブリン、エジンバラ、リスボン、ロンドン", 0, -60, {3, 5, Sunday, 1},
         {10, 5, Sunday, 2}},
        {"W. Europe Standard Time", "(UTC+01:00) アムステルダム、ベルリン、ベルン、ローマ、ストックホルム、ウィーン", -60,
         -60, {3, 5, Sunday, 2}, {10, 5, Sunday, 3}},
        {"India Standard Time", "(UTC+05:30) チェンナイ、コルカタ、ムンバイ、ニューデリー", -330, 0, {}, {}},
        {"Nepal Standard Time", "(UTC+05:45) カトマンズ", -345, 0, {}, {}},
        {"Tokyo Standard Time", "(UTC+09:00) 大阪、札幌、東京", -540, 0, {}, {}},
        {"AUS Eastern Standard Time", "(UTC+10:00) キャンベラ、メルボルン、シドニー", -600, -60, {10, 1, Sunday, 2},
         {4, 1, Sunday, 3}},
    };
}

platform::LocalTime ZoneTimeAt(const FakeZone& zone, platform::UtcSeconds instant) {
    const sys_seconds utc{seconds{instant}};
    const int bias = zone.bias + (InDaylight(zone, utc) ? zone.daylightBias : 0);
    const sys_seconds local = utc - minutes{bias};
    const sys_days date = floor<days>(local);
    const year_month_day ymd{date};
    const hh_mm_ss<seconds> time{local - date};
    return {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())), int(time.hours().count()),
            int(time.minutes().count()), int(time.seconds().count())};
}

std::vector<platform::ZoneName> FakeTimeZones::List() const {
    std::vector<platform::ZoneName> names;
    for (const FakeZone& z : zones) names.push_back({z.key, z.displayName});
    return names;
}

std::unique_ptr<platform::TimeZone> FakeTimeZones::Find(std::string_view key) const {
    ++finds;
    for (const FakeZone& z : zones)
        if (z.key == key) return std::make_unique<FakeTimeZone>(z);
    return nullptr;
}

platform::UtcSeconds FakeTimeZones::Now() const {
    const platform::LocalTime t = clock_.Now();
    const sys_seconds wall = Instant(t.year, t.month, t.day, t.hour, t.minute, t.second);
    for (const FakeZone& z : zones) {
        if (z.key != localZone) continue;
        sys_seconds utc = wall + minutes{z.bias};
        if (InDaylight(z, utc + minutes{z.daylightBias})) utc += minutes{z.daylightBias};
        return utc.time_since_epoch().count();
    }
    return wall.time_since_epoch().count();
}

}  // namespace morix::test
