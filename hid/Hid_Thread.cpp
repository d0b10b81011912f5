#include "Hid_Thread.h"

#include "Clock.h"
#include "HidBackend.h"
#include "HidLog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QRandomGenerator>
#include <QtConcurrent>

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
    : QThread(parent), m_backend(&NullHidBackend::instance()), m_clock(&Clock::system())
{
}

Hid_Thread::~Hid_Thread()
{
    stopListener();
    // The listener is bounded by its 500 ms read; it must be out of the loop
    // before the handles and the list go away.
    listenerFuture.waitForFinished();
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

void Hid_Thread::stopListener()
{
    hidListenerRunning = false;
}

void Hid_Thread::startListener(uint index)
{
    stopListener();
    // Only one loop may use the event interface.
    listenerFuture.waitForFinished();

    if (m_traits.uses560()) {
        uchar b1 = 0, b2 = 0;
        hid560_81H_GetKeyboardoption(b1, b2);
        b1 |= 0x08;
        hid560_01H_SetKeyboardoption(b1, b2);
    } else {
        uchar b1 = 0, b2 = 0, b3 = 0, b4 = 0;
        hid553_83H_GetKeyboardoption(b1, b2, b3, b4);
        b4 |= 0x48;
        hid553_03H_SetKeyboardoption(b1, b2, b3, b4);
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
    listenerFuture = QtConcurrent::run(&Hid_Thread::listenLoop, this, index, path, handle);
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
                qDebug("Device removed");
                hidListenerRunning = false;
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
            if (qsizetype(e.index) < deviceList.size())
                deviceList[qsizetype(e.index)].secondaryPath.clear();
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
        QCoreApplication::processEvents(QEventLoop::AllEvents);
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
    QCoreApplication::processEvents(QEventLoop::AllEvents);
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
    for (int chunk : HidCodec::chunkSizes(length, reportLength)) {
        // The bytes after the payload's end stay 0 rather than carrying
        // whatever the buffer held.
        std::fill(report.begin(), report.end(), uchar(0));
        std::memcpy(report.data() + 1, bulkBuffer.data() + offset, std::size_t(chunk));
        offset += chunk;
        if (!openPrimary(currentIndex) || m_backend->write(primaryHandle, report.data(), report.size()) < 0)
            return endExchange(false);
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

void Hid_Thread::prepareRequest(uchar command, std::initializer_list<uchar> arguments)
{
    sendBuffer = HidCodec::request(command, arguments);
}

void Hid_Thread::setCommand(const char* busyLine, uchar command, std::initializer_list<uchar> arguments,
                            const uchar* payload, int payloadLength, bool settle, bool sleepAfter)
{
    if (!claim(busyLine))
        return;
    prepareRequest(command, arguments);
    if (payloadLength > 0)
        std::memcpy(bulkBuffer.data(), payload, std::size_t(payloadLength));
    sendFrame(payloadLength, settle);
    if (sleepAfter)
        m_clock->sleepMs(8);
}

void Hid_Thread::perIndexCommand(const char* busyLine, uchar command, uchar value)
{
    if (!claim(busyLine))
        return;
    // Claimed once: each sendFrame frees the link at its end and the next
    // index goes out without claiming again.
    for (uchar index = 1; index <= 4; ++index) {
        prepareRequest(command, {index, value});
        sendFrame(0, true);
        if (m_traits.isGun)
            break;
    }
}

// ---------------------------------------------------------------------------
// Get commands

bool Hid_Thread::getCommand(const char* busyLine, uchar command, std::initializer_list<uchar> arguments,
                            std::initializer_list<uchar*> values, bool keepOnFailure)
{
    if (!claim(busyLine))
        return false;
    prepareRequest(command, arguments);
    // The reply area holds the values on entry, so an exchange that fails
    // before the reply is read gives them back unchanged (or cleared).
    replyBuffer.fill(0);
    std::size_t at = 2;
    for (uchar* v : values)
        replyBuffer[at++] = keepOnFailure ? *v : 0;
    const bool ok = queryFrame(0);
    at = 2;
    for (uchar* v : values)
        *v = replyBuffer[at++];
    return ok;
}

bool Hid_Thread::getSecrecyCode(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4)
{
    return getCommand("cmd Failed 00", 0x00, {byte1, byte2, byte3, byte4}, {&byte1, &byte2, &byte3, &byte4}, false);
}

void Hid_Thread::hid553_00H_GetSecrecyCode(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4)
{
    getSecrecyCode(byte1, byte2, byte3, byte4);
}

void Hid_Thread::hid553_83H_GetKeyboardoption(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4)
{
    getCommand("cmd Failed 83", 0x83, {}, {&byte1, &byte2, &byte3, &byte4}, true);
}

void Hid_Thread::hid560_81H_GetKeyboardoption(uchar& byte1, uchar& byte2)
{
    getCommand("cmd Failed 81", 0x81, {}, {&byte1, &byte2}, true);
}

void Hid_Thread::hid560_82H_GetCurrentProfile(uchar& byte1)
{
    getCommand("cmd Failed 82", 0x82, {}, {&byte1}, true);
}

void Hid_Thread::hid560_84H_GetCurrentDPI(uchar& byte1, uchar& byte2)
{
    getCommand("cmd Failed 84", 0x84, {byte1}, {&byte1, &byte2}, true);
}

void Hid_Thread::hid553_8BH_GetCurrentDPI(uchar& byte1)
{
    getCommand("cmd Failed 8BH", 0x8B, {}, {&byte1}, true);
}

void Hid_Thread::hid560_8CH_readProfile(uchar* src128, uchar profileNo)
{
    if (!claim("cmd Failed 8c"))
        return;
    prepareRequest(0x8C, {profileNo});
    replyBuffer.fill(0);
    // All or nothing: a read that fails part-way (short report, timeout,
    // device gone) leaves the caller's image as it was, never a mix of new
    // and old bytes.
    if (queryFrame(128))
        std::memcpy(src128, bulkBuffer.data(), 128);
}

// ---------------------------------------------------------------------------
// Set commands

void Hid_Thread::hid553_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    setCommand("cmd Failed 03", 0x03, {byte1, byte2, byte3, byte4}, nullptr, 0, false, true);
}

void Hid_Thread::hid553_04H_SetGunData(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    setCommand("cmd Failed 04", 0x04, {0, byte1, byte2, byte3, byte4}, nullptr, 0, false, true);
}

void Hid_Thread::hid560_01H_SetKeyboardoption(uchar byte1, uchar byte2)
{
    setCommand("cmd Failed 01", 0x01, {byte1, byte2}, nullptr, 0, false, true);
}

void Hid_Thread::hid553_01H_SetReportRate(uchar rate)
{
    setCommand("cmd Failed 01", 0x01, {rate}, nullptr, 0, true, false);
}

void Hid_Thread::hid560_03H_SetReportRate(uchar rate)
{
    perIndexCommand("cmd Failed 03", 0x03, rate);
}

void Hid_Thread::hid560_04H_SetCurrentDPI(uchar stage)
{
    perIndexCommand("cmd Failed 04", 0x04, stage);
}

void Hid_Thread::hid553_0BH_SetCurrentDPI(uchar stage)
{
    setCommand("cmd Failed 0B", 0x0B, {stage}, nullptr, 0, true, false);
}

void Hid_Thread::hid553_12H_SetKeyMatrix(uchar* src64, uchar indexAddOne)
{
    setCommand("cmd Failed 12", 0x12, {indexAddOne, 0x40, 0x08}, src64, 64, true, false);
}

void Hid_Thread::hid560_0DH_SetKeyMatrix(uchar* src64, uchar indexAddOne)
{
    uchar payload[128] = {};
    std::memcpy(payload, src64, 64);
    setCommand("cmd Failed 0D", 0x0D, {indexAddOne, 0x80}, payload, 128, true, false);
}

void Hid_Thread::hid560_0CH_setProfile(uchar* src128, uchar profileData)
{
    setCommand("cmd Failed 0C", 0x0C, {profileData, 0x80}, src128, 128, true, false);
}

void Hid_Thread::hid560_02H_SetCurrentProfile(uchar profile)
{
    setCommand("cmd Failed 02", 0x02, {profile}, nullptr, 0, false, true);
}

void Hid_Thread::hid553_13H_SetMacroKey(uchar macroId, uchar* src128)
{
    setCommand("cmd Failed 13", 0x13, {macroId, 0x80}, src128, 128, true, false);
}

void Hid_Thread::hid560_0FH_SetMacroKey(uchar macroId, uchar* src128)
{
    setCommand("cmd Failed 0F", 0x0F, {macroId, 0x80}, src128, 128, true, false);
}

void Hid_Thread::hid553_11H_SetDPISet(uchar dpiStage, uchar* src8)
{
    setCommand("cmd Failed 11", 0x11, {dpiStage, 0x08}, src8, 8, true, false);
}

void Hid_Thread::hid553_02H_SetCurrentKeyMatrix(uchar currentKeyMatrix)
{
    setCommand("cmd Failed 02", 0x02, {currentKeyMatrix}, nullptr, 0, true, false);
}

void Hid_Thread::hid553_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2)
{
    setCommand("cmd Failed 0D", 0x0D, {effect, option1, option2}, nullptr, 0, true, false);
}

void Hid_Thread::hid553_0CH_SetFixLEDColor(uchar* src3)
{
    setCommand("cmd Failed 0C", 0x0C, {src3[0], src3[1], src3[2]}, nullptr, 0, true, false);
}

void Hid_Thread::hid553_10H_SetLED8StageColor(uchar type, uchar* src24)
{
    const uchar length = type == 2 ? 4 : 36;
    setCommand("cmd Failed 10", 0x10, {type, length}, src24, length, true, false);
}
