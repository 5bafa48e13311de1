#pragma once
// Work that must wait until the message being handled now is done: a call
// posted here runs from the message loop, after whatever was posted before.

#include <functional>

class TControl;

// Runs the call from the message loop on behalf of the control; dropped
// when the control (or its window) is gone by then.
void PostCall(TControl& owner, std::function<void()> call);
