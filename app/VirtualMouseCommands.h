#pragma once

#include "CommandDispatcher.h"

#include <functional>

class Hid_Thread;
class VirtualMouse;

// The command line's "virtual." operations: virtual.pressDpiButton([stage]),
// virtual.unplug(), virtual.plug() and virtual.state(). GUI thread.
namespace VirtualMouseCommands {

// Drives mouse, which must outlive the handler. pressDpiButton without a stage
// presses to the next stage; unplug returns once the listener on hid has
// stopped (at most 2 s); plug runs recheck (the device check) when the
// listener is not running.
PrefixHandler handler(VirtualMouse& mouse, Hid_Thread& hid, std::function<void()> recheck);

// The same listing without a mouse: every call fails with "needs
// --virtual-mouse".
PrefixHandler unavailable();

} // namespace VirtualMouseCommands
