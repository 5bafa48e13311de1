#pragma once
// Integer minimum and maximum, and the extremes of non-empty arrays.

#include <cstdint>
#include <span>

inline std::int32_t Max(std::int32_t a, std::int32_t b) { return a > b ? a : b; }
inline std::int32_t Min(std::int32_t a, std::int32_t b) { return a < b ? a : b; }

// Each raises EInvalidArgument for an empty array: there is no extreme to give.
std::int32_t MaxInteger(std::span<const std::int32_t> values);
std::int32_t MinInteger(std::span<const std::int32_t> values);
std::int64_t MaxInt64(std::span<const std::int64_t> values);
std::int64_t MinInt64(std::span<const std::int64_t> values);
long double MaxFloat(std::span<const long double> values);
long double MinFloat(std::span<const long double> values);
// Date-times are day counts with the time as the fraction.
double MaxDateTime(std::span<const double> values);
double MinDateTime(std::span<const double> values);

inline void SwapInt(std::int16_t& a, std::int16_t& b) { std::int16_t t = a; a = b; b = t; }
inline void SwapLong(std::int32_t& a, std::int32_t& b) { std::int32_t t = a; a = b; b = t; }
inline void SwapInt64(std::int64_t& a, std::int64_t& b) { std::int64_t t = a; a = b; b = t; }
