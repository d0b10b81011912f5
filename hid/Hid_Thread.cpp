#include "Hid_Thread.h"

#include "Clock.h"
#include "Commands553.h"
#include "Commands560.h"
#include "HidBackend.h"
#include "HidLog.h"

#include <QDateTime>
#include <QRandomGenerator>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

HidCodec::SecrecyKey secrecyKey{};

namespace {

void logBusy(const char* line)
{
    qDebug("%s", line);
}

} // namespace

Hid_Thread::Hid_Thread(QObject* parent)
    : QThread(parent)
    , m_backend(&NullHidBackend::instance())
    , m_clock(&Clock::system())
{
}

Hid_Thread::~Hid_Thread()
{
    finishWriter();
    stopListener();
    // The listener is bounded by its 500 ms read; it must be out of the loop
    // before the handles and the list go away.
    waitForListener();
    closePrimary();
}

void Hid_Thread::setBackend(HidBackend* backend)
{
    closePrimary();
    m_backend = backend ? backend : &NullHidBackend::instance();
}

void Hid_Thread::setClock(Clock* clock)
{
    m_clock = clock ? clock : &Clock::system();
}

// ---------------------------------------------------------------------------
// The writer

void Hid_Thread::post(const QString& key, Operation operation)
{
    if (!m_writer) {
        operation();
        return;
    }
    ++m_pending;
    int superseded = 0;
    {
        std::lock_guard lock(m_queueMutex);
        superseded = m_queue.push({key, std::move(operation)});
    }
    m_queueChanged.notify_all();
    if (superseded) {
        m_pending -= superseded;
        qCDebug(skarnHid) << "operation" << key << "superseded before it was sent";
    }
    if (!m_writingShown) {
        m_writingShown = true;
        if (m_writingHandler)
            m_writingHandler(true);
    }
}

void Hid_Thread::call(const Operation& operation)
{
    if (!m_writer) {
        operation();
        return;
    }
    if (m_calling) {
        // Called from within a call: the writer waits for the outer one, so
        // what was posted meanwhile goes out here first, in order.
        for (;;) {
            std::optional<CommandQueue::Entry> entry;
            {
                std::lock_guard lock(m_queueMutex);
                entry = m_queue.pop();
            }
            if (!entry)
                break;
            entry->run();
            --m_pending;
        }
        operation();
        return;
    }
    {
        std::unique_lock lock(m_queueMutex);
        m_queueChanged.wait(lock, [this] { return m_queue.empty() && !m_running; });
        m_calling = true;
    }
    operation();
    {
        std::lock_guard lock(m_queueMutex);
        m_calling = false;
    }
    m_queueChanged.notify_all();
    noteWriterIdle();
}

void Hid_Thread::startWriter()
{
    if (m_writer)
        return;
    m_writer = true;
    m_writerThread = std::thread([this] { writeLoop(); });
}

void Hid_Thread::finishWriter()
{
    if (!m_writer)
        return;
    {
        std::lock_guard lock(m_queueMutex);
        m_stopping = true;
    }
    m_queueChanged.notify_all();
    m_writerThread.join();
    m_stopping = false;
    m_writer = false;
    noteWriterIdle();
}

void Hid_Thread::dropQueued(const char* why)
{
    int dropped = 0;
    {
        std::lock_guard lock(m_queueMutex);
        dropped = m_queue.clear();
        m_pending -= dropped;
    }
    if (dropped == 0)
        return;
    qCDebug(skarnHid).nospace() << why << ": " << dropped << " queued operations dropped";
    noteWriterIdle();
}

void Hid_Thread::noteWriterIdle()
{
    if (m_pending == 0 && m_writingShown) {
        m_writingShown = false;
        if (m_writingHandler)
            m_writingHandler(false);
    }
}

bool Hid_Thread::linkGone() const
{
    return currentIndex < 0 || currentIndex >= deviceList.size() || deviceList.at(currentIndex).primaryPath.isEmpty();
}

void Hid_Thread::writeLoop()
{
    for (;;) {
        Operation operation;
        {
            std::unique_lock lock(m_queueMutex);
            m_queueChanged.wait(lock,
                                [this] { return (!m_calling && !m_queue.empty()) || (m_stopping && m_queue.empty()); });
            std::optional<CommandQueue::Entry> entry = m_queue.pop();
            if (!entry)
                return;
            operation = std::move(entry->run);
            m_running = true;
        }
        operation();
        // A command that found the mouse gone emptied its path: what waits
        // would only fail one command after another.
        const bool gone = linkGone();
        int dropped = 0;
        bool idle = false;
        {
            // Counted down before the link is free, so that a call() that
            // follows sees nothing pending.
            std::lock_guard lock(m_queueMutex);
            if (gone)
                dropped = m_queue.clear();
            if (dropped)
                qCDebug(skarnHid).nospace() << "no mouse to send to: " << dropped << " queued operations dropped";
            idle = (m_pending -= 1 + dropped) == 0;
            m_running = false;
        }
        m_queueChanged.notify_all();
        if (idle)
            QMetaObject::invokeMethod(this, "noteWriterIdle", Qt::QueuedConnection);
    }
}

void Hid_Thread::stopListener()
{
    hidListenerRunning = false;
}

void Hid_Thread::startListener(uint index)
{
    stopListener();
    // Only one loop may use the event interface.
    waitForListener();

    switch (m_traits.commandSet) {
    case CommandSet::Set560: {
        uchar b1 = 0, b2 = 0;
        hid560_81H_GetKeyboardoption(b1, b2);
        b1 |= Commands560::listenerOptionBits;
        hid560_01H_SetKeyboardoption(b1, b2);
        break;
    }
    case CommandSet::Set553: {
        uchar b1 = 0, b2 = 0, b3 = 0, b4 = 0;
        hid553_83H_GetKeyboardoption(b1, b2, b3, b4);
        b4 |= Commands553::listenerOptionBits;
        hid553_03H_SetKeyboardoption(b1, b2, b3, b4);
        break;
    }
    }

    // The loop works on its own copy of the path: the GUI thread may change
    // the list (a failed command open empties a path) while the loop runs.
    const QString path =
        qsizetype(index) < deviceList.size() ? deviceList.at(qsizetype(index)).secondaryPath : QString();
    if (path.isEmpty()) {
        // Nothing to listen to. The flag stays clear, so that the next device
        // change still starts a check (the mouse is found again after an
        // unplug).
        qCDebug(skarnHid) << "device entry" << index << "has no event interface: no listener";
        return;
    }
    hidListenerRunning = true;
    // Opened here rather than in the loop, so that a DPI press is seen from
    // the moment this returns; the loop owns the handle from then on.
    HidHandle* handle = openEventInterface(path.toLatin1());
    m_listenerThread = std::thread(&Hid_Thread::listenLoop, this, index, path, handle);
}

HidHandle* Hid_Thread::openEventInterface(const QByteArray& path)
{
    HidHandle* handle = m_backend->open(path, HidRole::Event);
    if (handle)
        m_backend->setNonBlocking(handle, false);
    return handle;
}

void Hid_Thread::listenLoop(uint index, const QString& path, HidHandle* handle)
{
    const QByteArray devicePath = path.toLatin1();
    // The event interface stays open across reads: reports queue up in it
    // while a pass hands an event over, so no press is lost between reads.
    // It is reopened only after a read error, and a device that has gone
    // fails that reopen. The read timeout bounds how long a stop waits.
    bool lastReadFailed = false;
    while (hidListenerRunning) {
        if (!handle) {
            handle = path.isEmpty() ? nullptr : openEventInterface(devicePath);
            if (!handle) {
                // The flag is down before the line is out: whoever sees the
                // line (a test, a device change right after it) sees no
                // listener running.
                hidListenerRunning = false;
                qDebug("Device removed");
                postListenerEvent({ListenerEvent::DeviceGone, 0, index});
                return;
            }
        }
        uchar report[4] = {};
        const int n = m_backend->readTimeout(handle, report, sizeof report, listenerReadTimeoutMs);
        if (n == 4 && report[0] == 0x06 && report[1] == 0x07)
            postListenerEvent({ListenerEvent::Dpi, report[3], index});
        if (n < 0) {
            m_backend->close(handle);
            handle = nullptr;
            // A node that opens but fails every read would otherwise turn
            // this loop into a busy one.
            if (lastReadFailed)
                std::this_thread::sleep_for(std::chrono::milliseconds(listenerRetryMs));
        }
        lastReadFailed = n < 0;
    }
    if (handle)
        m_backend->close(handle);
}

// ---------------------------------------------------------------------------
// Transport

int Hid_Thread::reportLengthOf(const DeviceRecord& record) const
{
    if (!HidCodec::isUsableReportLength(record.reportLength))
        qCDebug(skarnHid) << "report length" << record.reportLength << "is out of range, using"
                          << HidCodec::defaultReportLength;
    return HidCodec::usableReportLength(record.reportLength);
}

bool Hid_Thread::currentIsEncoded() const
{
    return currentIndex >= 0 && currentIndex < deviceList.size() && deviceList.at(currentIndex).isEncode;
}

HidHandle* Hid_Thread::openPrimary(int index)
{
    if (index < 0 || index >= deviceList.size() || deviceList.at(index).primaryPath.isEmpty())
        return nullptr;
    closePrimary();
    HidHandle* handle = m_backend->open(deviceList.at(index).primaryPath.toLatin1(), HidRole::Command);
    if (!handle) {
        reportDenied(deviceList.at(index).primaryPath);
        // Gone for good: nothing touches this entry again until the next
        // device check finds the interface.
        deviceList[index].primaryPath.clear();
        return nullptr;
    }
    m_backend->setNonBlocking(handle, false);
    primaryHandle = handle;
    return handle;
}

void Hid_Thread::reportDenied(const QString& path)
{
    // Once per node: a desktop user without the udev rule would otherwise
    // only see that nothing is found.
    if (!m_backend->lastOpenDenied() || m_deniedReported.contains(path))
        return;
    m_deniedReported.insert(path);
    qDebug().noquote() << QStringLiteral("cannot open %1: permission denied \u2014 see README, udev rule").arg(path);
}

void Hid_Thread::postListenerEvent(const ListenerEvent& event)
{
    {
        std::lock_guard lock(m_eventsMutex);
        m_events.push_back(event);
    }
    // Invoked by name, with nothing captured: the event travels through our
    // own locked queue, so the hand-over is visible to the thread sanitizer
    // (Qt's own event queue is not instrumented).
    QMetaObject::invokeMethod(this, "deliverListenerEvents", Qt::QueuedConnection);
}

void Hid_Thread::deliverListenerEvents()
{
    std::deque<ListenerEvent> events;
    {
        std::lock_guard lock(m_eventsMutex);
        events.swap(m_events);
    }
    for (const ListenerEvent& e : events) {
        if (e.kind == ListenerEvent::Dpi) {
            if (m_sink.dpiEvent)
                m_sink.dpiEvent(e.stage);
        } else {
            // What waits for the mouse cannot reach it. The list is the
            // writer's while it runs an operation; one that meets the gone
            // mouse ends at its next transfer, so this waits briefly.
            dropQueued("the mouse is gone");
            call([this, index = qsizetype(e.index)] {
                if (index < deviceList.size())
                    deviceList[index].secondaryPath.clear();
            });
            if (m_sink.deviceGone)
                m_sink.deviceGone();
        }
    }
}

void Hid_Thread::closePrimary()
{
    if (primaryHandle) {
        m_backend->close(primaryHandle);
        primaryHandle = nullptr;
    }
}

bool Hid_Thread::waitReady()
{
    for (int check = 0; check < 255; ++check) {
        if (hidReady) {
            hidReady = false;
            return true;
        }
        m_clock->sleepMs(8);
    }
    return false;
}

void Hid_Thread::settlePause()
{
    m_clock->sleepMs(64);
    m_clock->sleepMs(64);
}

bool Hid_Thread::endExchange(bool ok)
{
    closePrimary();
    hidReady = true;
    return ok;
}

bool Hid_Thread::sendRequest()
{
    if (!openPrimary(currentIndex))
        return endExchange(false);
    if (deviceList.at(currentIndex).isEncode)
        USBDataEncryption(sendBuffer.data() + 1, secrecyKey.data());
    return openPrimary(currentIndex) &&
           m_backend->sendFeatureReport(primaryHandle, sendBuffer.data(), sendBuffer.size()) >= 0;
}

bool Hid_Thread::sendFrame(int payloadLength, bool settle)
{
    if (!sendRequest())
        return endExchange(false);
    if (settle)
        settlePause();
    if (payloadLength <= 0)
        return endExchange(true);

    const int reportLength = reportLengthOf(deviceList.at(currentIndex));
    const int length = std::min<int>(payloadLength, int(bulkBuffer.size()));
    std::vector<uchar> report(std::size_t(reportLength) + 1, 0);
    int offset = 0;
    const std::vector<int> chunks = HidCodec::chunkSizes(length, reportLength);
    for (std::size_t k = 0; k < chunks.size(); ++k) {
        const int chunk = chunks[k];
        // The bytes after the payload's end stay 0 rather than carrying
        // whatever the buffer held.
        std::fill(report.begin(), report.end(), uchar(0));
        std::memcpy(report.data() + 1, bulkBuffer.data() + offset, std::size_t(chunk));
        offset += chunk;
        if (!openPrimary(currentIndex) || m_backend->write(primaryHandle, report.data(), report.size()) < 0) {
            // The mouse took the command and part of its block (a key
            // matrix, a macro, a profile block): it holds a mix of old and
            // new bytes until the block is sent again.
            qCDebug(skarnHid).nospace() << "command " << Qt::hex << m_blockCommand << Qt::dec
                                        << ": block broken off after " << k << " of " << chunks.size()
                                        << " output reports";
            return endExchange(false);
        }
        m_clock->sleepMs(120);
    }
    if (settle)
        settlePause();
    return endExchange(true);
}

bool Hid_Thread::queryFrame(int readLength)
{
    if (!sendRequest())
        return endExchange(false);
    replyBuffer[0] = 0;
    if (!openPrimary(currentIndex) ||
        m_backend->getFeatureReport(primaryHandle, replyBuffer.data(), replyBuffer.size()) < 0)
        return endExchange(false);
    if (readLength <= 0) {
        endExchange(true);
        if (deviceList.at(currentIndex).isEncode)
            USBDataDecipher(replyBuffer.data() + 1, secrecyKey.data());
        return true;
    }

    const int reportLength = reportLengthOf(deviceList.at(currentIndex));
    const int length = std::min<int>(readLength, int(bulkBuffer.size()));
    std::vector<uchar> report(std::size_t(reportLength) + 1, 0);
    int offset = 0;
    for (int chunk : HidCodec::chunkSizes(length, reportLength)) {
        std::fill(report.begin(), report.end(), uchar(0));
        if (!openPrimary(currentIndex))
            return endExchange(false);
        // Bounded: a device that never answers fails the query instead of
        // holding the GUI thread. A report shorter than its chunk fails the
        // query too: its missing bytes are not data.
        const int n = m_backend->readTimeout(primaryHandle, report.data(), report.size(), bulkReadTimeoutMs);
        if (n < 0) {
            // An error is how a device that went away shows mid-transfer; the
            // reopen tells, and empties the path when it is gone.
            closePrimary();
            openPrimary(currentIndex);
        }
        if (n < chunk)
            return endExchange(false);
        std::memcpy(bulkBuffer.data() + offset, report.data(), std::size_t(chunk));
        offset += chunk;
    }
    return endExchange(true);
}

// ---------------------------------------------------------------------------
// Frames and scrambling

uchar Hid_Thread::hidCS(uchar* cmd)
{
    return HidCodec::checksum(cmd);
}

void Hid_Thread::USBDataEncryption(uchar* FIFOBuf, uchar* SecrecyCode)
{
    HidCodec::scramble(FIFOBuf, SecrecyCode, m_scrambleTable);
}

void Hid_Thread::USBDataDecipher(uchar* FIFOBuf, uchar* SecrecyCode)
{
    HidCodec::descramble(FIFOBuf, SecrecyCode, m_scrambleTable);
}

bool Hid_Thread::chkDeviceIsEnCode(int index)
{
    currentIndex = index;
    QRandomGenerator random{quint32(QDateTime::currentSecsSinceEpoch())};
    uchar challenge[4];
    for (uchar& c : challenge)
        c = uchar(random.generate() & 0xff);
    if (index >= 0 && index < deviceList.size()) {
        if (auto key = HidCodec::keyFromCode(deviceList.at(index).sCode, secrecyKey))
            secrecyKey = *key;
    }
    uchar b1 = challenge[0], b2 = challenge[1], b3 = challenge[2], b4 = challenge[3];
    // An exchange that did not happen proves nothing, whatever the variables
    // hold afterwards (a challenge of four zero bytes would otherwise pass).
    if (!getSecrecyCode(b1, b2, b3, b4))
        return false;
    return b1 == challenge[0] && b2 == challenge[1] && b3 == challenge[2] && b4 == challenge[3];
}

bool Hid_Thread::claim(const char* busyLine)
{
    if (waitReady())
        return true;
    logBusy(busyLine);
    return false;
}

void Hid_Thread::runSet(const CommandRow& row, std::initializer_list<uchar> arguments, const uchar* payload)
{
    Q_ASSERT(row.kind == CommandRow::Kind::Set && (row.payloadLength == 0 || payload));
    if (!claim(row.busyLine))
        return;
    sendBuffer = CommandRows::frameOf(row, arguments);
    m_blockCommand = row.command;
    if (row.payloadLength > 0)
        std::memcpy(bulkBuffer.data(), payload, std::size_t(row.payloadLength));
    sendFrame(row.payloadLength, row.settle);
    if (row.pauseAfter)
        m_clock->sleepMs(8);
}

void Hid_Thread::runPerIndex(const CommandRow& row, uchar value)
{
    Q_ASSERT(row.kind == CommandRow::Kind::PerIndex);
    if (!claim(row.busyLine))
        return;
    // Claimed once: each sendFrame frees the link at its end and the next
    // index goes out without claiming again.
    for (uchar index = 1; index <= 4; ++index) {
        sendBuffer = CommandRows::frameOf(row, {index, value});
        sendFrame(0, row.settle);
        if (m_traits.isGun)
            break;
    }
}

void Hid_Thread::runRead(const CommandRow& row, uchar argument, uchar* dest)
{
    Q_ASSERT(row.kind == CommandRow::Kind::Read);
    if (!claim(row.busyLine))
        return;
    sendBuffer = CommandRows::frameOf(row, {argument});
    replyBuffer.fill(0);
    // All or nothing: a read that fails part-way (short report, timeout,
    // device gone) leaves the caller's image as it was, never a mix of new
    // and old bytes.
    if (queryFrame(row.payloadLength))
        std::memcpy(dest, bulkBuffer.data(), std::size_t(row.payloadLength));
}

// ---------------------------------------------------------------------------
// Get commands

bool Hid_Thread::runGet(const CommandRow& row, std::initializer_list<uchar> arguments,
                        std::initializer_list<uchar*> values)
{
    Q_ASSERT(row.kind == CommandRow::Kind::Get && qsizetype(values.size()) == row.replyValues);
    if (!claim(row.busyLine))
        return false;
    sendBuffer = CommandRows::frameOf(row, arguments);
    // The reply area holds the values on entry, so an exchange that fails
    // before the reply is read gives them back unchanged (or cleared).
    replyBuffer.fill(0);
    std::size_t at = 2;
    for (uchar* v : values)
        replyBuffer[at++] = row.keepOnFailure ? *v : 0;
    const bool ok = queryFrame(0);
    at = 2;
    for (uchar* v : values)
        *v = replyBuffer[at++];
    return ok;
}

bool Hid_Thread::getSecrecyCode(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4)
{
    return runGet(Commands553::getSecrecyCode, {byte1, byte2, byte3, byte4}, {&byte1, &byte2, &byte3, &byte4});
}

void Hid_Thread::hid553_00H_GetSecrecyCode(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4)
{
    getSecrecyCode(byte1, byte2, byte3, byte4);
}

void Hid_Thread::hid553_83H_GetKeyboardoption(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4)
{
    runGet(Commands553::getKeyboardOption, {}, {&byte1, &byte2, &byte3, &byte4});
}

void Hid_Thread::hid560_81H_GetKeyboardoption(uchar& byte1, uchar& byte2)
{
    runGet(Commands560::getKeyboardOption, {}, {&byte1, &byte2});
}

void Hid_Thread::hid560_82H_GetCurrentProfile(uchar& byte1)
{
    runGet(Commands560::getCurrentProfile, {}, {&byte1});
}

void Hid_Thread::hid560_84H_GetCurrentDPI(uchar& byte1, uchar& byte2)
{
    runGet(Commands560::getCurrentDpi, {byte1}, {&byte1, &byte2});
}

void Hid_Thread::hid553_8BH_GetCurrentDPI(uchar& byte1)
{
    runGet(Commands553::getCurrentDpi, {}, {&byte1});
}

void Hid_Thread::hid560_8CH_readProfile(uchar* src128, uchar profileNo)
{
    runRead(Commands560::readProfile, profileNo, src128);
}

// ---------------------------------------------------------------------------
// Set commands

void Hid_Thread::hid553_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    runSet(Commands553::setKeyboardOption, {byte1, byte2, byte3, byte4});
}

void Hid_Thread::hid553_04H_SetGunData(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    runSet(Commands553::setGunData, {byte1, byte2, byte3, byte4});
}

void Hid_Thread::hid560_01H_SetKeyboardoption(uchar byte1, uchar byte2)
{
    runSet(Commands560::setKeyboardOption, {byte1, byte2});
}

void Hid_Thread::hid553_01H_SetReportRate(uchar rate)
{
    runSet(Commands553::setReportRate, {rate});
}

void Hid_Thread::hid560_03H_SetReportRate(uchar rate)
{
    runPerIndex(Commands560::setReportRate, rate);
}

void Hid_Thread::hid560_04H_SetCurrentDPI(uchar stage)
{
    runPerIndex(Commands560::setCurrentDpi, stage);
}

void Hid_Thread::hid553_0BH_SetCurrentDPI(uchar stage)
{
    runSet(Commands553::setCurrentDpi, {stage});
}

void Hid_Thread::hid553_12H_SetKeyMatrix(uchar* src64, uchar indexAddOne)
{
    runSet(Commands553::setKeyMatrix, {indexAddOne}, src64);
}

void Hid_Thread::hid560_0DH_SetKeyMatrix(uchar* src64, uchar indexAddOne)
{
    uchar payload[Commands560::setKeyMatrix.payloadLength] = {};
    std::memcpy(payload, src64, 64);
    runSet(Commands560::setKeyMatrix, {indexAddOne}, payload);
}

void Hid_Thread::hid560_0CH_setProfile(uchar* src128, uchar profileData)
{
    runSet(Commands560::setProfile, {profileData}, src128);
}

void Hid_Thread::hid560_02H_SetCurrentProfile(uchar profile)
{
    runSet(Commands560::setCurrentProfile, {profile});
}

void Hid_Thread::hid553_13H_SetMacroKey(uchar macroId, uchar* src128)
{
    runSet(Commands553::setMacroKey, {macroId}, src128);
}

void Hid_Thread::hid560_0FH_SetMacroKey(uchar macroId, uchar* src128)
{
    runSet(Commands560::setMacroKey, {macroId}, src128);
}

void Hid_Thread::hid553_11H_SetDPISet(uchar dpiStage, uchar* src8)
{
    runSet(Commands553::setDpiSet, {dpiStage}, src8);
}

void Hid_Thread::hid553_02H_SetCurrentKeyMatrix(uchar currentKeyMatrix)
{
    runSet(Commands553::setCurrentKeyMatrix, {currentKeyMatrix});
}

void Hid_Thread::hid553_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2)
{
    runSet(Commands553::setRgbLedEffect, {effect, option1, option2});
}

void Hid_Thread::hid553_0CH_SetFixLEDColor(uchar* src3)
{
    runSet(Commands553::setFixLedColor, {src3[0], src3[1], src3[2]});
}

void Hid_Thread::hid553_10H_SetLED8StageColor(uchar type, uchar* src24)
{
    runSet(Commands553::led8StageColorRow(type), {type}, src24);
}
