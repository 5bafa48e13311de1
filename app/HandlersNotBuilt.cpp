#include "HandlersNotBuilt.h"

#include <algorithm>
#include <array>

namespace {
// Every handler the tables name is written.
constexpr std::array<const char*, 0> NotBuilt{};
}

std::span<const char* const> HandlersNotBuilt() { return NotBuilt; }

bool IsHandlerNotBuilt(std::string_view name)
{
    return std::any_of(NotBuilt.begin(), NotBuilt.end(), [name](const char* entry) { return name == entry; });
}
