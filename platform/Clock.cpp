#include "Clock.h"

#include <atomic>
#include <chrono>
#include <ctime>

namespace {

std::atomic<TClockSource> Source{nullptr};

// Days from 30 December 1899 to 1 January 1970.
constexpr double UnixEpochDays = 25569.0;

double LocalNow() {
    using namespace std::chrono;
    const auto Since = system_clock::now().time_since_epoch();
    const auto Ms = duration_cast<milliseconds>(Since).count();
    const std::time_t Seconds = std::time_t(Ms / 1000);
    std::tm Local{};
    localtime_r(&Seconds, &Local);
    // The local date and time of day, as the wall clock shows them.
    const double LocalSeconds = double(Seconds) + double(Local.tm_gmtoff);
    return UnixEpochDays + (LocalSeconds + double(Ms % 1000) / 1000.0) / 86400.0;
}

} // namespace

double Now() {
    const TClockSource Fake = Source.load();
    return Fake ? Fake() : LocalNow();
}

std::uint32_t UtcMillisecondsOfDay() {
    using namespace std::chrono;
    const auto Ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    return std::uint32_t(Ms % 86400000);
}

void SetClockSource(TClockSource NewSource) {
    Source.store(NewSource);
}
