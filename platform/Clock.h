// The clocks: the local wall clock as a date-time value (days since 30 December 1899, the
// fraction the time of day, millisecond resolution) and the milliseconds of the day in
// coordinated universal time.
#pragma once

#include <cstdint>

double Now();
std::uint32_t UtcMillisecondsOfDay();

// Replaces the local wall clock, for tests; nullptr puts the real one back.
using TClockSource = double (*)();
void SetClockSource(TClockSource Source);
