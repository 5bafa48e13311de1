#pragma once
// The handlers that menu items, toolbar buttons, popups and controls name but
// that are not written yet. Their items and buttons show disabled and leave
// their shortcuts to the focused control. Whoever writes one of them removes
// its name from the list; a test keeps the list and the registered handlers
// apart, so the list only shrinks, and it ends empty.

#include <span>
#include <string_view>

std::span<const char* const> HandlersNotBuilt();
bool IsHandlerNotBuilt(std::string_view name);
