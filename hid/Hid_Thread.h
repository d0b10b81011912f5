#pragma once

#include "DeviceRecord.h"

#include <QThread>

#include <atomic>

class Widget;

// The program's single HID worker. It is a QThread for its meta-object only:
// it is never started, and its operations run on the caller's thread (the GUI
// thread), except the input listener, which runs on the global thread pool.
//
// This is the worker's skeleton: it holds the device list and the flags the
// main window reads. The transport and command sets come on top of it.
class Hid_Thread : public QThread
{
    Q_OBJECT
public:
    explicit Hid_Thread(QObject* parent = nullptr);
    ~Hid_Thread() override;

    Widget* owner = nullptr;
    DeviceList deviceList;
    qint32 currentIndex = 1;
    bool hidReady = true;
    // Written by the GUI thread (start, stop) and by the listener (device
    // gone), read by both: atomic, without a lock.
    std::atomic<bool> hidListenerRunning{false};

    // Clears hidListenerRunning if it is set; a running listener leaves its
    // loop at its next check.
    void stopListener();
};
