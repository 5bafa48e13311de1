#include "MinMax.h"

#include "Exceptions.h"

#include <algorithm>

namespace {

template <class T>
std::span<const T> NonEmpty(std::span<const T> values)
{
    if (values.empty())
        throw EInvalidArgument("Array is empty");
    return values;
}

} // namespace

std::int32_t MaxInteger(std::span<const std::int32_t> values) { return std::ranges::max(NonEmpty(values)); }
std::int32_t MinInteger(std::span<const std::int32_t> values) { return std::ranges::min(NonEmpty(values)); }
std::int64_t MaxInt64(std::span<const std::int64_t> values) { return std::ranges::max(NonEmpty(values)); }
std::int64_t MinInt64(std::span<const std::int64_t> values) { return std::ranges::min(NonEmpty(values)); }
long double MaxFloat(std::span<const long double> values) { return std::ranges::max(NonEmpty(values)); }
long double MinFloat(std::span<const long double> values) { return std::ranges::min(NonEmpty(values)); }
double MaxDateTime(std::span<const double> values) { return std::ranges::max(NonEmpty(values)); }
double MinDateTime(std::span<const double> values) { return std::ranges::min(NonEmpty(values)); }
