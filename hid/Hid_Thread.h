#pragma once

#include "CommandQueue.h"
#include "CommandRow.h"
#include "DeviceRecord.h"
#include "DeviceTraits.h"
#include "HidCodec.h"

#include <QSet>
#include <QThread>

#include <array>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class Clock;
class HidBackend;
class HidHandle;

// The secrecy key in use: bytes 1..6 hold the code of the device entry checked
// last (bytes 0 and 7 stay 0). Written by chkDeviceIsEnCode, read by the
// transport; GUI thread only.
extern HidCodec::SecrecyKey secrecyKey;

// The program's single HID worker.
//
// Every command claims the link (hidReady), builds its 9-byte feature report,
// exchanges it on the command interface of deviceList[currentIndex] and frees
// the link. The command interface is reopened before every transport call and
// closed at the end of each exchange. Command slots return nothing; get
// commands fill their reference parameters. Failures are silent except for the
// busy line ("cmd Failed XX") of a command that could not claim the link.
//
// The commands run on whichever thread calls them, one at a time. Until
// startWriter() that is the caller's (the command line, the test rigs); the
// tray window starts the writer, a thread of this object's own that runs the
// operations posted to it (post) in order, so the window keeps drawing while
// the mouse is written. Whoever needs the link at once (a read the pages wait
// for, the device check) uses call(), which runs on the calling thread once
// everything posted before has gone out, the writer waiting meanwhile. Between
// operations the link's state (the list, the handles, the buffers) belongs to
// whichever of the two runs; the mutex hands it over.
//
// The input listener runs on a thread of its own and uses only the event
// interface. All fixed delays go through the injected Clock.
class Hid_Thread : public QThread
{
    Q_OBJECT
public:
    explicit Hid_Thread(QObject* parent = nullptr);
    ~Hid_Thread() override;

    DeviceList deviceList;
    qint32 currentIndex = 1;
    HidHandle* primaryHandle = nullptr;
    // Set again by the pages (clearHidBusy) on the GUI thread while the writer
    // may claim it: atomic.
    std::atomic<bool> hidReady{true};
    // Written by the GUI thread (start, stop) and by the listener (device
    // gone), read by both: atomic, without a lock.
    std::atomic<bool> hidListenerRunning{false};
    // Waits until the listener's loop has ended (it ends by itself when the
    // device is gone, or at its next check after stopListener). GUI thread.
    void waitForListener()
    {
        if (m_listenerThread.joinable())
            m_listenerThread.join();
    }
    HidCodec::FeatureReport sendBuffer{};
    HidCodec::FeatureReport replyBuffer{};
    std::array<uchar, 256> bulkBuffer{};

    // The transport (not owned; must outlive the worker; not to be changed
    // while the listener runs). Until one is set
    // there is no device: enumeration is empty and every open fails.
    void setBackend(HidBackend* backend);
    HidBackend* backend() const { return m_backend; }
    // The clock for the fixed delays (not owned). Clock::system() by default.
    void setClock(Clock* clock);
    // The device traits read by the view core: the command set picks the
    // listener's keyboard option bits, the gun flag stops the per-index
    // commands after index 1. Command set 553 without flags until set.
    void setTraits(const DeviceTraits& traits) { m_traits = traits; }
    const DeviceTraits& traits() const { return m_traits; }

    // What the listener reports, delivered on the GUI thread in the order the
    // listener produced it (queued through this object).
    struct ListenerSink
    {
        std::function<void(int stage)> dpiEvent; // a DPI event report with its stage code
        std::function<void()> deviceGone;        // the event interface can no longer be opened
    };
    void setListenerSink(ListenerSink sink) { m_sink = std::move(sink); }
    // The scrambling constant shared with the firmware.
    void setScrambleTable(const HidCodec::ScrambleTable& table) { m_scrambleTable = table; }
    const HidCodec::ScrambleTable& scrambleTable() const { return m_scrambleTable; }

    // Sets the listener bits of the keyboard option (command set 560: 0x08 in
    // the first byte; otherwise 0x48 in the fourth), opens the event
    // interface of entry index and runs listenLoop on a thread of its own.
    // A loop still running is stopped and waited for first (it is bounded by
    // its 500 ms read). An entry without an event interface gets no loop and
    // leaves hidListenerRunning clear. GUI thread.
    void startListener(uint index);
    // Clears hidListenerRunning; a running listener leaves its loop at its
    // next check.
    void stopListener();
    // Reads DPI event reports from the event interface of entry index while
    // hidListenerRunning is set, keeping the interface open across reads and
    // reopening it only after a read error; a failed (re)open is the device
    // gone. Takes over handle (nullptr: opens path itself) and closes it on
    // leaving. Runs on the listener's thread; uses only the event interface,
    // its own copy of the path and the flag.
    void listenLoop(uint index, const QString& path, HidHandle* handle);

    // An operation for the writer: one or more commands sent in a row.
    using Operation = std::function<void()>;
    // Queues operation for the writer (see CommandQueue for key), or runs it
    // at once while there is no writer. GUI thread.
    void post(const QString& key, Operation operation);
    // Runs operation on the calling thread once everything posted before it
    // has run; the writer waits until it returns. GUI thread.
    void call(const Operation& operation);
    // From now on post() queues for the writer thread.
    void startWriter();
    // The writer sends what is queued, then ends (at destruction too); post()
    // runs operations at once again.
    void finishWriter();
    // Drops the operations that wait (the one running finishes), with a debug
    // line saying why and how many.
    void dropQueued(const char* why);
    // Whether operations are queued or running, as last told on the GUI
    // thread; handler hears each change: true as soon as one is posted,
    // false after the last has run or was dropped. (A callback rather than a
    // signal: the worker's meta-object stays as the command line knows it.)
    bool writing() const { return m_writingShown; }
    void setWritingHandler(std::function<void(bool writing)> handler) { m_writingHandler = std::move(handler); }

    // Read timeout of one listener pass.
    static constexpr int listenerReadTimeoutMs = 500;
    // Pause before reopening the event interface after a second read error
    // in a row.
    static constexpr int listenerRetryMs = 100;
    // Bulk reads of a query give up after this long, so a silent device
    // cannot hold the GUI thread.
    static constexpr int bulkReadTimeoutMs = 1000;

public Q_SLOTS:
    uchar hidCS(uchar* cmd);
    bool chkDeviceIsEnCode(int index);
    void USBDataEncryption(uchar* FIFOBuf, uchar* SecrecyCode);
    void USBDataDecipher(uchar* FIFOBuf, uchar* SecrecyCode);

    void hid553_00H_GetSecrecyCode(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4);
    void hid553_83H_GetKeyboardoption(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4);
    void hid560_81H_GetKeyboardoption(uchar& byte1, uchar& byte2);
    void hid560_82H_GetCurrentProfile(uchar& byte1);
    void hid560_84H_GetCurrentDPI(uchar& byte1, uchar& byte2);
    void hid553_8BH_GetCurrentDPI(uchar& byte1);
    void hid553_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void hid553_04H_SetGunData(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void hid560_01H_SetKeyboardoption(uchar byte1, uchar byte2);
    void hid553_01H_SetReportRate(uchar rate);
    void hid560_03H_SetReportRate(uchar rate);
    void hid560_04H_SetCurrentDPI(uchar stage);
    void hid553_0BH_SetCurrentDPI(uchar stage);
    void hid553_12H_SetKeyMatrix(uchar* src64, uchar indexAddOne);
    void hid560_0DH_SetKeyMatrix(uchar* src64, uchar indexAddOne);
    void hid560_0CH_setProfile(uchar* src128, uchar profileData);
    void hid560_8CH_readProfile(uchar* src128, uchar profileNo);
    void hid560_02H_SetCurrentProfile(uchar profile);
    void hid553_13H_SetMacroKey(uchar macroId, uchar* src128);
    void hid560_0FH_SetMacroKey(uchar macroId, uchar* src128);
    void hid553_11H_SetDPISet(uchar dpiStage, uchar* src8);
    void hid553_02H_SetCurrentKeyMatrix(uchar currentKeyMatrix);
    void hid553_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2);
    void hid553_0CH_SetFixLEDColor(uchar* src3);
    void hid553_10H_SetLED8StageColor(uchar type, uchar* src24);

private:
    // The writer thread's loop: runs what is posted until finishWriter.
    void writeLoop();

    struct ListenerEvent
    {
        enum Kind { Dpi, DeviceGone } kind;
        int stage;
        uint index;
    };
    // Listener thread: queues an effect for the GUI thread, in order.
    void postListenerEvent(const ListenerEvent& event);
    // GUI thread: carries out the queued effects.
    Q_INVOKABLE void deliverListenerEvents();
    // GUI thread: tells the writing handler false once nothing is queued or
    // running.
    Q_INVOKABLE void noteWriterIdle();
    // Whether the current entry's command interface is gone (a failed open
    // empties its path): what waits is for a mouse that is not there.
    bool linkGone() const;

    HidHandle* openPrimary(int index);
    // The event interface, in blocking mode; nullptr when it cannot be opened.
    HidHandle* openEventInterface(const QByteArray& path);
    void closePrimary();
    bool waitReady();
    void settlePause();
    bool sendFrame(int payloadLength, bool settle);
    bool queryFrame(int readLength);
    // Opens the command interface, scrambles sendBuffer when the entry wants
    // it and sends it; false on any failure (the caller ends the exchange).
    bool sendRequest();
    // Closes the interface and frees the link; returns ok.
    bool endExchange(bool ok);
    // A get row: the request, one reply, values taken from reply bytes 2..
    // in order (the row's keepOnFailure: a failed exchange leaves them as
    // they were, else they become 0). False when nothing was exchanged.
    bool runGet(const CommandRow& row, std::initializer_list<uchar> arguments, std::initializer_list<uchar*> values);

    // The 00H exchange; true when the reply was read.
    bool getSecrecyCode(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4);
    // Claims the link, or writes the busy line and returns false.
    bool claim(const char* busyLine);
    // A set row: claim, frame, the row's payload taken from payload,
    // exchange, the row's pauses.
    void runSet(const CommandRow& row, std::initializer_list<uchar> arguments, const uchar* payload = nullptr);
    // A per-index row: index bytes 1..4, or only 1 with the gun flag.
    void runPerIndex(const CommandRow& row, uchar value);
    // A read row: the row's payload read into dest, all or nothing.
    void runRead(const CommandRow& row, uchar argument, uchar* dest);
    int reportLengthOf(const DeviceRecord& record) const;
    void reportDenied(const QString& path);
    bool currentIsEncoded() const;

    HidBackend* m_backend;
    Clock* m_clock;
    DeviceTraits m_traits;
    ListenerSink m_sink;
    QSet<QString> m_deniedReported;
    // The writer's queue, and who has the link: the writer running an
    // operation, or a call() on the GUI thread.
    std::mutex m_queueMutex;
    std::condition_variable m_queueChanged;
    CommandQueue m_queue;
    bool m_running = false;
    bool m_calling = false;
    bool m_stopping = false;
    // Operations posted and not yet run or dropped.
    std::atomic<int> m_pending{0};
    bool m_writingShown = false;
    std::function<void(bool)> m_writingHandler;
    // Whether the writer thread was started (GUI thread only). A std::thread:
    // its join is what the thread sanitizer sees as the end of its work.
    bool m_writer = false;
    std::thread m_writerThread;
    std::thread m_listenerThread;
    // The command byte of the block being sent, for the debug line of one
    // broken off.
    uint m_blockCommand = 0;
    std::mutex m_eventsMutex;
    std::deque<ListenerEvent> m_events;
    HidCodec::ScrambleTable m_scrambleTable = HidCodec::defaultScrambleTable;
};
