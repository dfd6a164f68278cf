#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "LocalSolarTime.h"
#include "SolarException.h"

namespace {

std::string Sunrise(const CCivilDate& date, double lat, double lon, float offset, int dst) {
    return FormatSolarTime(LocalSunrise(date, lat, lon, offset, dst));
}

std::string Sunset(const CCivilDate& date, double lat, double lon, float offset, int dst) {
    return FormatSolarTime(LocalSunset(date, lat, lon, offset, dst));
}

TEST(NoCrossing, SunUpAllDayNearTheSolsticesJustInsideThePolarCircle) {
    // Within 66.4 degrees no search is run: the text stands alone.
    for (double lat : {65.9, 66.0, 66.1, 66.2, 66.3, 66.4}) {
        SCOPED_TRACE(lat);
        EXPECT_EQ(Sunrise({2007, 6, 21}, lat, 150, 9, 0), "No sunrise: the Sun is up all day");
        EXPECT_EQ(Sunset({2007, 6, 21}, lat, 150, 9, 0), "No sunset: the Sun is up all day");
        if (lat > 65.95) {
            EXPECT_EQ(Sunrise({2007, 12, 21}, -lat, -140, -9, 0),
                      "No sunrise: the Sun is up all day");
            EXPECT_EQ(Sunset({2007, 12, 21}, -lat, -140, -9, 0),
                      "No sunset: the Sun is up all day");
        }
        // Solar noon is always a time.
        EXPECT_TRUE(LocalSolarNoon(CCivilDate{2007, 6, 21}, 150, 9, 0).HasTime());
    }
    // The declination series reaches a little less far south than north: at 65.9 S the Sun
    // still sets at the December solstice.
    EXPECT_TRUE(LocalSunrise(CCivilDate{2007, 12, 21}, -65.9, -140, -9, 0).HasTime());
    // The run of days without a sunrise at 65.9 N ends on both sides.
    EXPECT_EQ(Sunrise({2007, 6, 19}, 65.9, 150, 9, 0), "Tuesday, June 19, 2007,  01:09:38");
    EXPECT_EQ(Sunrise({2007, 6, 20}, 65.9, 150, 9, 0), "No sunrise: the Sun is up all day");
    EXPECT_EQ(Sunrise({2007, 6, 23}, 65.9, 150, 9, 0), "No sunrise: the Sun is up all day");
    EXPECT_EQ(Sunrise({2007, 6, 24}, 65.9, 150, 9, 0), "Sunday, June 24, 2007,  01:04:14");
}

TEST(NoCrossing, PolarSearchNamesTheNearestDayWithTheEvent) {
    struct Row {
        CCivilDate date;
        double lat, lon;
        float offset;
        bool sunrise;
        const char* text;
    };
    const Row rows[] = {
        // Midnight Sun: searched backward to the last sunrise and sunset.
        {{2007, 6, 21},
         70,
         147.72,
         9,
         true,
         "No sunrise: the Sun is up all day (last sunrise Wednesday, May 16, 2007,  01:19:47)"},
        {{2007, 6, 21},
         70,
         147.72,
         9,
         false,
         "No sunset: the Sun is up all day (last sunset Thursday, May 17, 2007,  00:14:07)"},
        // Polar night: searched forward, into the next year.
        {{2007, 12, 21},
         70,
         147.72,
         9,
         true,
         "No sunrise: the Sun is down all day (next sunrise Friday, January 18, 2008,  "
         "12:30:28)"},
        // Southern summer: backward from January into the previous year.
        {{2007, 1, 10},
         -70,
         -140,
         -9,
         true,
         "No sunrise: the Sun is up all day (last sunrise Friday, November 17, 2006,  "
         "23:46:07)"},
        // Southern winter: forward.
        {{2007, 6, 21},
         -70,
         147.72,
         9,
         true,
         "No sunrise: the Sun is down all day (next sunrise Friday, July 20, 2007,  12:42:09)"},
        // Just past the limit the search runs; exactly at it, it does not (see above).
        {{2007, 6, 21},
         66.41,
         150,
         9,
         true,
         "No sunrise: the Sun is up all day (last sunrise Saturday, June 09, 2007,  01:08:03)"},
        // A polar day that has the event shows it as anywhere else.
        {{2007, 4, 1}, 70, 150, 9, true, "Sunday, April 01, 2007,  06:06:27"},
        // At the pole no day of the year crosses the horizon: one pass, then the text alone.
        {{2007, 6, 21}, 90, 0, 0, true, "No sunrise: the Sun is up all day"},
        {{2007, 12, 21}, 90, 0, 0, false, "No sunset: the Sun is down all day"},
        {{2008, 12, 31}, -90, 0, 0, true, "No sunrise: the Sun is up all day"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.sunrise ? Sunrise(r.date, r.lat, r.lon, r.offset, 0)
                            : Sunset(r.date, r.lat, r.lon, r.offset, 0),
                  r.text);
    }
    const CSolarResult r = LocalSunrise(CCivilDate{2007, 12, 21}, 70, 147.72, 9, 0);
    EXPECT_EQ(r.outcome, SolarOutcome::DownAllDay);
    EXPECT_EQ(r.nearest, NearestEvent::Next);
    EXPECT_EQ(r.nearestTime.date, (CCivilDate{2008, 1, 18}));
}

template <typename F>
void ExpectError(F&& f, CSolarException::Cause cause, const std::string& message) {
    try {
        f();
        ADD_FAILURE() << "no exception for: " << message;
    } catch (const CException& e) {  // the engine's errors share the program's one root
        const auto* solar = dynamic_cast<const CSolarException*>(&e);
        ASSERT_NE(solar, nullptr) << e.GetErrorMessage();
        EXPECT_EQ(solar->GetCause(), cause);
        EXPECT_EQ(e.GetErrorMessage(), message);
        EXPECT_EQ(std::string(e.what()), message);
    }
}

TEST(SolarErrors, InputThatIsNotAFiniteNumber) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const float finf = std::numeric_limits<float>::infinity();
    struct Row {
        double lat, lon;
        float offset;
    };
    const Row rows[] = {
        {nan, 87.63, 6},
        {inf, 87.63, 6},
        {-inf, 87.63, 6},
        {41.88, nan, 6},
        {41.88, inf, 6},
        {41.88, -inf, 6},
        {41.88, 87.63, std::nanf("")},
        {41.88, 87.63, finf},
        {41.88, 87.63, -finf},
        {1e308, 87.63, 6},      // too large to turn into radians
        {41.88, 1e300, 6},      // minutes beyond a 32-bit count
        {41.88, 87.63, 1e10f},  // local hours beyond a 32-bit count
        {80, 1e300, 6},         // the polar search path
    };
    const CCivilDate date{2007, 6, 21};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.lat << ", " << r.lon << ", " << r.offset);
        ExpectError([&] { LocalSunrise(date, r.lat, r.lon, r.offset, 1); },
                    CSolarException::Cause::NonFiniteInput, kNonFiniteInputMessage);
        ExpectError([&] { LocalSunset(date, r.lat, r.lon, r.offset, 0); },
                    CSolarException::Cause::NonFiniteInput, kNonFiniteInputMessage);
        if (!std::isfinite(r.lon) || !std::isfinite(r.offset) || std::fabs(r.lon) > 1e10 ||
            std::fabs(r.offset) > 1e9) {
            ExpectError([&] { LocalSolarNoon(date, r.lon, r.offset, 0); },
                        CSolarException::Cause::NonFiniteInput, kNonFiniteInputMessage);
        }
    }
    ExpectError([] { SolarNoonMinutesUtc(1, 1e12); }, CSolarException::Cause::NonFiniteInput,
                kNonFiniteInputMessage);
    ExpectError([nan] { SunriseMinutesUtc(1, nan, 0); }, CSolarException::Cause::NonFiniteInput,
                kNonFiniteInputMessage);
    // Large but convertible inputs still compute.
    EXPECT_NO_THROW(LocalSunrise(date, 41.88, 1e6, 6, 0));
    EXPECT_NO_THROW(LocalSolarNoon(date, -1e6, -1e6, 0));
}

TEST(SolarErrors, AnyDoubleInputComputesOrThrows) {
    // Special values and random bit patterns; under the sanitizers this also shows that no
    // input reaches an undefined conversion.
    std::vector<double> values = {0.0,
                                  -0.0,
                                  1e-310,
                                  66.4,
                                  -66.4,
                                  90,
                                  180,
                                  -180,
                                  1e9,
                                  -1e9,
                                  3e10,
                                  1e15,
                                  std::numeric_limits<double>::max(),
                                  std::numeric_limits<double>::lowest(),
                                  std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN()};
    std::uint64_t bits = 0x9E3779B97F4A7C15u;
    for (int i = 0; i < 24; ++i) {
        bits ^= bits << 13;
        bits ^= bits >> 7;
        bits ^= bits << 17;
        double v = 0;
        std::memcpy(&v, &bits, sizeof v);
        values.push_back(v);
    }
    const CCivilDate date{2007, 6, 21};
    int computed = 0;
    for (double lat : values) {
        for (double lon : values) {
            const float offset = std::isfinite(lon) && std::fabs(lon) < 1e30
                                     ? static_cast<float>(lon / 15)
                                     : std::numeric_limits<float>::quiet_NaN();
            try {
                const std::string text = FormatSolarTime(LocalSunrise(date, lat, lon, offset, 1)) +
                                         FormatSolarTime(LocalSunset(date, lat, lon, offset, 1)) +
                                         FormatSolarTime(LocalSolarNoon(date, lon, offset, 1));
                EXPECT_FALSE(text.empty());
                ++computed;
            } catch (const CSolarException& e) {
                EXPECT_EQ(e.GetCause(), CSolarException::Cause::NonFiniteInput);
            }
        }
    }
    EXPECT_GT(computed, 0);
}

TEST(SolarErrors, DatesOutsideTheSupportedCalendar) {
    const auto bad = CSolarException::Cause::BadDate;
    ExpectError(
        [] {
            LocalSunrise(CCivilDate{1899, 12, 31}, 41.88, 87.63, 6, 0);
        },
        bad, "Cannot compute: the date must lie in the years 1900 to 9999");
    ExpectError(
        [] {
            LocalSolarNoon(CCivilDate{10000, 1, 1}, 87.63, 6, 0);
        },
        bad, "Cannot compute: the date must lie in the years 1900 to 9999");
    ExpectError(
        [] {
            LocalSunset(CCivilDate{2007, 2, 29}, 41.88, 87.63, 6, 0);
        },
        bad, "Cannot compute: the date is not a valid calendar date");
    ExpectError([] { LocalSunrise(CTime(std::numeric_limits<std::int64_t>::max()), 1, 1, 1, 0); },
                bad, "Cannot compute: the date cannot be read as a calendar date");
    // The first and last supported days compute, and may carry just outside the range.
    EXPECT_EQ(FormatSolarTime(LocalSunrise(CCivilDate{1900, 1, 1}, 13.44, -144.79, -10, 0)),
              "Monday, January 01, 1900,  06:43:11");
    EXPECT_EQ(FormatSolarTime(LocalSunset(CCivilDate{9999, 12, 31}, 64.84, 147.72, -2, 0)),
              "Saturday, January 01, 10000,  01:53:39");
}

}  // namespace
