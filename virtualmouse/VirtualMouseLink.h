#pragma once

#include "HidBackend.h"

#include <QByteArray>
#include <QtGlobal>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <vector>

class VirtualMouse;

// One open interface of a virtual mouse, as a handle of VirtualHidBackend
// holds it. Every open event handle gets its own copy of each event report,
// as with hidraw, and events that arrive while nothing is open are lost. (The
// command interface's bulk reports wait in the mouse instead.)
struct VirtualMouseEndpoint
{
    HidRole role = HidRole::Command;
    quint64 session = 0; // the plug session the handle was opened in
    bool nonBlocking = false;
    std::deque<QByteArray> input;

    // hidraw keeps 64 reports per open file and drops newer ones while full.
    static constexpr std::size_t maxQueuedReports = 64;
};

// The part of a virtual mouse that its open handles share with it. Handles
// hold it by shared_ptr, so a handle that outlives its mouse, or a reader
// blocked while the mouse is destroyed, only finds mouse == nullptr and fails
// instead of touching freed memory.
//
// mutex guards everything here and all state of the mouse itself.
struct VirtualMouseLink
{
    std::mutex mutex;
    std::condition_variable inputArrived; // also signalled on unplug and destruction
    VirtualMouse* mouse = nullptr;
    bool plugged = true;
    // Bumped on every unplug: a handle from an earlier session stays dead after
    // the mouse is plugged in again, like a hidraw file of a removed device.
    quint64 session = 0;
    std::vector<VirtualMouseEndpoint*> endpoints;

    bool isLive(const VirtualMouseEndpoint& endpoint) const { return mouse && plugged && endpoint.session == session; }
};
