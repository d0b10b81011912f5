#pragma once

#include <functional>

class Hid_Thread;
class ViewCore;

// The device check shared by the tray program and the command line: a fresh
// read of apConfig.bin's entries, enumeration of their interfaces (a later
// match overwrites an earlier one), the worker's list replaced, and the
// entries tried in file order with the handshake. On the first that answers:
// "Device Connect", the link freed, announce() (the tray's balloon), the
// listener started and the command set's unit told (command set 560 reads
// its profile blocks). Otherwise "Device DisConnect". Returns whether a
// device was connected (the session records it). GUI thread.
namespace DeviceCheck {

bool run(Hid_Thread& hid, ViewCore& view, const std::function<void()>& announce);

} // namespace DeviceCheck
