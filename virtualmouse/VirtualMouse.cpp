#include "VirtualMouse.h"

#include "Firmware.h"
#include "VirtualMouseLink.h"

#include <QJsonArray>

#include <algorithm>
#include <cstring>
#include <utility>

using HidCodec::Frame;

namespace {

constexpr qsizetype maxRecorded = 10000;

using FirmwareText::commandName;
using FirmwareText::hex;

template <std::size_t N>
void fillPattern(std::array<std::uint8_t, N>& block, int seed, int step, int offset)
{
    for (std::size_t i = 0; i < N; ++i)
        block[i] = std::uint8_t(seed + int(i) * step + offset);
}

template <std::size_t N>
QJsonArray toJson(const std::array<std::uint8_t, N>& bytes)
{
    QJsonArray array;
    for (std::uint8_t b : bytes)
        array.append(int(b));
    return array;
}

template <std::size_t N, std::size_t M>
QJsonArray toJson(const std::array<std::array<std::uint8_t, N>, M>& blocks)
{
    QJsonArray array;
    for (const auto& block : blocks)
        array.append(toJson(block));
    return array;
}

void remember(QList<QByteArray>& list, QByteArray bytes)
{
    if (list.size() >= maxRecorded)
        list.removeFirst();
    list.append(std::move(bytes));
}

} // namespace

VirtualMouse::State VirtualMouse::State::defaults()
{
    State s;
    s.reportRate = 1;
    s.dpiStage = 2;
    s.dpiCount = 4;
    s.dpiTable = {0x04, 0x08, 0x10, 0x18, 0x20, 0x28, 0x30, 0x38};
    s.keyMatrix = 1;
    s.ledEffect = {1, 2, 3};
    s.colourType = 0;
    fillPattern(s.colourTable, 3, 7, 0);
    s.fixedColour = {0xff, 0x80, 0x00};
    s.gunData = {0x11, 0x22, 0x33, 0x44};
    s.keyboardOption = {1, 2, 3, 4};
    for (std::size_t m = 0; m < s.keyMatrices.size(); ++m)
        fillPattern(s.keyMatrices[m], int(m + 1) * 53, 3, 1);
    for (std::size_t m = 0; m < s.macros.size(); ++m)
        fillPattern(s.macros[m], int(m + 1) * 29, 5, 2);
    s.profile = 1;
    s.reportRates = {1, 2, 3, 4};
    s.dpiStages = {2, 3, 4, 5};
    for (std::size_t n = 0; n < s.profiles.size(); ++n)
        fillPattern(s.profiles[n], int(n) * 37, 7, 1);
    return s;
}

VirtualMouse::VirtualMouse(const DeviceRecord& record, CommandSet set, const HidCodec::ScrambleTable& table,
                           QObject* parent)
    : QObject(parent)
    , m_record(record)
    , m_family(set == CommandSet::Set560 ? QStringLiteral("560") : QStringLiteral("553"))
    , m_set(set)
    , m_firmware(set == CommandSet::Set560 ? &firmware560() : &firmware553())
    , m_table(table)
    , m_key(HidCodec::keyFromCode(record.sCode).value_or(HidCodec::SecrecyKey{}))
    , m_reportLength(HidCodec::usableReportLength(record.reportLength))
    , m_link(std::make_shared<VirtualMouseLink>())
    , m_state(State::defaults())
{
    m_link->mouse = this;
}

DeviceRecord VirtualMouse::shippedEntry()
{
    DeviceRecord r;
    r.type = 1;
    r.vid = 0x04d9;
    r.pid = 0xa1ee;
    r.usagePage = r.usage = 0xff00;
    r.usagePage2 = r.usage2 = 0xff01;
    r.reportLength = 32;
    return r;
}

VirtualMouse::~VirtualMouse()
{
    std::lock_guard lock(m_link->mutex);
    m_link->mouse = nullptr;
    m_link->inputArrived.notify_all();
}

void VirtualMouse::setPathPrefix(const QByteArray& prefix)
{
    std::lock_guard lock(m_link->mutex);
    m_pathPrefix = prefix;
}

QByteArray VirtualMouse::commandPath() const
{
    std::lock_guard lock(m_link->mutex);
    return m_pathPrefix + "cmd";
}

QByteArray VirtualMouse::eventPath() const
{
    std::lock_guard lock(m_link->mutex);
    return m_pathPrefix + "evt";
}

VirtualMouse::State VirtualMouse::state() const
{
    std::lock_guard lock(m_link->mutex);
    return m_state;
}

void VirtualMouse::setState(const State& state)
{
    std::lock_guard lock(m_link->mutex);
    m_state = state;
}

QJsonObject VirtualMouse::stateJson() const
{
    std::lock_guard lock(m_link->mutex);
    const State& s = m_state;
    return QJsonObject{
        {QStringLiteral("family"), m_family},
        {QStringLiteral("plugged"), m_link->plugged},
        {QStringLiteral("protocolErrors"), int(m_errors.size())},
        {QStringLiteral("commandCount"), m_commandCount},
        {QStringLiteral("reportRate"), s.reportRate},
        {QStringLiteral("dpiStage"), s.dpiStage},
        {QStringLiteral("dpiCount"), s.dpiCount},
        {QStringLiteral("dpiTable"), toJson(s.dpiTable)},
        {QStringLiteral("keyMatrix"), s.keyMatrix},
        {QStringLiteral("ledEffect"), toJson(s.ledEffect)},
        {QStringLiteral("colourType"), s.colourType},
        {QStringLiteral("colourTable"), toJson(s.colourTable)},
        {QStringLiteral("fixedColour"), toJson(s.fixedColour)},
        {QStringLiteral("gunData"), toJson(s.gunData)},
        {QStringLiteral("gunDataWrites"), s.gunDataWrites},
        {QStringLiteral("keyboardOption"), toJson(s.keyboardOption)},
        {QStringLiteral("keyMatrices"), toJson(s.keyMatrices)},
        {QStringLiteral("macros"), toJson(s.macros)},
        {QStringLiteral("profile"), s.profile},
        {QStringLiteral("reportRates"), toJson(s.reportRates)},
        {QStringLiteral("dpiStages"), toJson(s.dpiStages)},
        {QStringLiteral("profiles"), toJson(s.profiles)},
    };
}

int VirtualMouse::protocolErrors() const
{
    std::lock_guard lock(m_link->mutex);
    return int(m_errors.size());
}

QStringList VirtualMouse::protocolErrorMessages() const
{
    std::lock_guard lock(m_link->mutex);
    return m_errors;
}

void VirtualMouse::clearProtocolErrors()
{
    std::lock_guard lock(m_link->mutex);
    m_errors.clear();
}

QList<QByteArray> VirtualMouse::receivedFrames() const
{
    std::lock_guard lock(m_link->mutex);
    return m_frames;
}

QList<QByteArray> VirtualMouse::receivedOutputReports() const
{
    std::lock_guard lock(m_link->mutex);
    return m_outputReports;
}

void VirtualMouse::clearReceived()
{
    std::lock_guard lock(m_link->mutex);
    m_frames.clear();
    m_outputReports.clear();
    m_commandCount = 0;
}

int VirtualMouse::commandCount() const
{
    std::lock_guard lock(m_link->mutex);
    return m_commandCount;
}

bool VirtualMouse::payloadPending() const
{
    std::lock_guard lock(m_link->mutex);
    return m_payload.has_value();
}

bool VirtualMouse::pressDpiButton(int stage)
{
    std::lock_guard lock(m_link->mutex);
    return pressLocked(stage);
}

bool VirtualMouse::pressDpiButton()
{
    std::lock_guard lock(m_link->mutex);
    const int count = std::clamp(int(m_state.dpiCount), 1, 8);
    const int current = currentStage();
    return pressLocked(current >= count ? 1 : current + 1);
}

bool VirtualMouse::pressLocked(int stage)
{
    if (stage < 1 || stage > 8 || !m_link->plugged)
        return false;
    currentStage() = std::uint8_t(stage);
    const char report[4] = {0x06, 0x07, 0x00, char(stage)};
    return queueInput(HidRole::Event, QByteArray(report, 4));
}

bool VirtualMouse::sendEventReport(const QByteArray& report)
{
    std::lock_guard lock(m_link->mutex);
    if (!m_link->plugged || report.isEmpty())
        return false;
    return queueInput(HidRole::Event, report);
}

bool VirtualMouse::isPlugged() const
{
    std::lock_guard lock(m_link->mutex);
    return m_link->plugged;
}

void VirtualMouse::unplug()
{
    {
        std::lock_guard lock(m_link->mutex);
        if (!unplugLocked())
            return;
    }
    Q_EMIT pluggedChanged(false);
}

bool VirtualMouse::unplugLocked()
{
    if (!m_link->plugged)
        return false;
    m_link->plugged = false;
    ++m_link->session;
    resetLink();
    m_link->inputArrived.notify_all();
    return true;
}

void VirtualMouse::plug()
{
    {
        std::lock_guard lock(m_link->mutex);
        if (m_link->plugged)
            return;
        m_link->plugged = true;
    }
    Q_EMIT pluggedChanged(true);
}

void VirtualMouse::failNextOpens(HidRole interface, int count)
{
    std::lock_guard lock(m_link->mutex);
    m_failOpens[interface == HidRole::Event ? 1 : 0] = std::max(0, count);
}

void VirtualMouse::failNextWrites(int count)
{
    std::lock_guard lock(m_link->mutex);
    m_failWrites = std::max(0, count);
}

void VirtualMouse::failNextSetFeatures(int count)
{
    std::lock_guard lock(m_link->mutex);
    m_failSetFeatures = std::max(0, count);
}

void VirtualMouse::failNextGetFeatures(int count)
{
    std::lock_guard lock(m_link->mutex);
    m_failGetFeatures = std::max(0, count);
}

void VirtualMouse::shortenNextReads(int count)
{
    std::lock_guard lock(m_link->mutex);
    m_shortReads = std::max(0, count);
}

void VirtualMouse::delayNextReads(int count)
{
    std::lock_guard lock(m_link->mutex);
    m_lateReads = std::max(0, count);
}

void VirtualMouse::faultReadAfter(int goodReads, ReadFault fault)
{
    std::lock_guard lock(m_link->mutex);
    m_readFault = fault;
    m_readFaultAfter = std::max(0, goodReads);
}

// ---- host side ----

bool VirtualMouse::takeOpenFailure(HidRole interface)
{
    int& left = m_failOpens[interface == HidRole::Event ? 1 : 0];
    if (left == 0)
        return false;
    --left;
    return true;
}

void VirtualMouse::protocolError(const QString& message)
{
    m_errors.append(message);
}

void VirtualMouse::resetLink()
{
    m_payload.reset();
    m_reply = Reply::None;
    m_discardOutput = false;
    for (VirtualMouseEndpoint* e : m_link->endpoints)
        e->input.clear();
    m_pendingBulk.clear();
}

bool VirtualMouse::queueInput(HidRole interface, const QByteArray& report)
{
    bool queued = false;
    for (VirtualMouseEndpoint* e : m_link->endpoints) {
        if (e->role == interface && m_link->isLive(*e) && e->input.size() < VirtualMouseEndpoint::maxQueuedReports) {
            e->input.push_back(report);
            queued = true;
        }
    }
    m_link->inputArrived.notify_all();
    return queued;
}

int VirtualMouse::hostSetFeature(const VirtualMouseEndpoint& endpoint, const std::uint8_t* data, std::size_t length)
{
    if (endpoint.role == HidRole::Event) {
        protocolError(QStringLiteral("feature report sent to the event interface"));
        return -1;
    }
    if (m_failSetFeatures > 0) {
        --m_failSetFeatures;
        return -1;
    }
    if (m_payload) {
        protocolError(QStringLiteral("%1 payload incomplete (%2 of %3 reports) when the next feature report came")
                          .arg(commandName(m_payload->frame[0]))
                          .arg(m_payload->seen)
                          .arg(m_payload->reports));
        m_payload.reset();
    }
    // Until the frame has passed every check, a get_feature gets an empty
    // reply and output reports are taken as the rejected command's payload.
    m_reply = Reply::Blank;
    m_discardOutput = true;
    if (length != 9) {
        protocolError(QStringLiteral("feature report of %1 bytes (expected 9)").arg(length));
        return -1;
    }
    if (data[0] != 0) {
        protocolError(QStringLiteral("feature report with report id %1 (expected 0)").arg(data[0]));
        return -1;
    }
    Frame frame;
    std::memcpy(frame.data(), data + 1, frame.size());
    if (m_record.isEncode)
        HidCodec::descramble(frame.data(), m_key.data(), m_table);
    remember(m_frames, QByteArray(reinterpret_cast<const char*>(frame.data()), qsizetype(frame.size())));

    const std::uint8_t expected = HidCodec::checksum(frame.data());
    if (frame[7] != expected) {
        protocolError(QStringLiteral("checksum mismatch in %1 frame (%2, expected %3)")
                          .arg(commandName(frame[0]), hex(frame[7]), hex(expected)));
        return 9;
    }
    QString why;
    std::optional<Firmware::FrameKind> kind;
    if (frame[0] == 0x00 && m_firmware)
        kind = Firmware::FrameKind{true, 0}; // the secrecy handshake runs with every device
    else if (m_firmware)
        kind = m_firmware->check(frame, why);
    if (!kind) {
        if (why.isEmpty())
            why = QStringLiteral("unknown command %1 for family %2").arg(commandName(frame[0]), m_family);
        protocolError(why);
        return 9;
    }
    ++m_commandCount;
    m_discardOutput = false;
    if (kind->get) {
        m_replyFrame = replyTo(frame);
        m_reply = Reply::Ready;
        return 9;
    }
    m_reply = Reply::None;
    if (kind->payloadLength > 0) {
        Payload p;
        p.frame = frame;
        p.length = kind->payloadLength;
        p.chunk = std::min(p.length, m_reportLength);
        p.reports = int(HidCodec::chunkSizes(p.length, m_reportLength).size());
        m_payload = p;
    } else {
        m_firmware->apply(m_state, frame);
    }
    return 9;
}

int VirtualMouse::hostGetFeature(const VirtualMouseEndpoint& endpoint, std::uint8_t* data, std::size_t length)
{
    if (endpoint.role == HidRole::Event) {
        protocolError(QStringLiteral("get_feature on the event interface"));
        return -1;
    }
    if (m_failGetFeatures > 0) {
        --m_failGetFeatures;
        return -1;
    }
    if (length < 9) {
        protocolError(QStringLiteral("get_feature buffer of %1 bytes (expected 9)").arg(length));
        return -1;
    }
    if (data[0] != 0) {
        protocolError(QStringLiteral("get_feature for report id %1 (expected 0)").arg(data[0]));
        return -1;
    }
    if (m_reply == Reply::None) {
        protocolError(QStringLiteral("get_feature without a preceding get command"));
        return -1;
    }
    Frame reply = m_reply == Reply::Ready ? m_replyFrame : Frame{};
    if (m_record.isEncode)
        HidCodec::scramble(reply.data(), m_key.data(), m_table);
    std::memcpy(data + 1, reply.data(), reply.size());
    m_reply = Reply::None;
    return 9;
}

int VirtualMouse::hostWrite(const VirtualMouseEndpoint& endpoint, const std::uint8_t* data, std::size_t length)
{
    if (endpoint.role == HidRole::Event) {
        protocolError(QStringLiteral("output report sent to the event interface"));
        return -1;
    }
    if (m_failWrites > 0) {
        --m_failWrites;
        return -1;
    }
    remember(m_outputReports, QByteArray(reinterpret_cast<const char*>(data), qsizetype(length)));
    if (!m_payload) {
        if (!m_discardOutput)
            protocolError(QStringLiteral("output report while no payload is expected"));
        return int(length);
    }
    Payload& p = *m_payload;
    const QString name = commandName(p.frame[0]);
    const int size = std::min(p.chunk, p.length - p.seen * p.chunk);
    ++p.seen;
    if (length != std::size_t(m_reportLength) + 1) {
        protocolError(QStringLiteral("output report of %1 bytes in the %2 payload (expected %3)")
                          .arg(length)
                          .arg(name)
                          .arg(m_reportLength + 1));
        p.broken = true;
    } else if (data[0] != 0) {
        protocolError(QStringLiteral("output report with report id %1 in the %2 payload").arg(data[0]).arg(name));
        p.broken = true;
    } else {
        p.data.append(reinterpret_cast<const char*>(data + 1), size);
        const std::uint8_t* end = data + 1 + m_reportLength;
        if (std::any_of(data + 1 + size, end, [](std::uint8_t b) { return b != 0; })) {
            protocolError(QStringLiteral("non-zero padding after the end of the %1 payload").arg(name));
            p.broken = true;
        }
    }
    if (p.seen == p.reports) {
        const Payload done = std::move(p);
        m_payload.reset();
        QString why;
        if (!done.broken && !m_firmware->applyPayload(m_state, done.frame, done.data, why))
            protocolError(why);
    }
    return int(length);
}

VirtualMouse::ReadOutcome VirtualMouse::hostReadCommand(VirtualMouseEndpoint& endpoint, std::uint8_t* data,
                                                        std::size_t length, int timeoutMs)
{
    const bool blocking = timeoutMs < 0;
    std::optional<ReadFault> fault;
    if (m_readFault && m_readFaultAfter-- == 0)
        fault = std::exchange(m_readFault, std::nullopt);
    if (fault == ReadFault::Unplug) {
        unplugLocked();
        // The host's lock is held here; listeners hear of it from the event loop.
        QMetaObject::invokeMethod(
            this, [this] { Q_EMIT pluggedChanged(false); }, Qt::QueuedConnection);
        return {-1, 0};
    }
    if (fault == ReadFault::Late && !blocking)
        return {0, timeoutMs};
    if (!blocking && m_lateReads > 0) {
        --m_lateReads;
        return {0, timeoutMs};
    }
    Q_UNUSED(endpoint);
    if (m_pendingBulk.empty()) {
        if (blocking) {
            // Nothing will ever arrive on its own: a real device would leave
            // the host hanging here.
            protocolError(QStringLiteral("blocking read on the command interface with no input report queued"));
            return {-1, 0};
        }
        return {0, timeoutMs};
    }
    const QByteArray report = m_pendingBulk.front();
    m_pendingBulk.pop_front();
    int n = int(std::min(length, std::size_t(report.size())));
    if (fault == ReadFault::Short || m_shortReads > 0) {
        if (fault != ReadFault::Short)
            --m_shortReads;
        n = std::max(1, n / 2);
    }
    std::memcpy(data, report.constData(), std::size_t(n));
    return {n, 0};
}

// ---- replies (the command sets themselves are the firmware tables) ----

Frame VirtualMouse::replyTo(const Frame& f)
{
    Frame r{};
    r[0] = f[0];
    if (f[0] == 0x00) {
        std::copy_n(f.begin() + 1, 4, r.begin() + 1);
    } else {
        QByteArray block;
        m_firmware->reply(m_state, f, r, block);
        if (!block.isEmpty()) {
            // The block follows as input reports of reportLength bytes, the
            // last one zero-padded.
            m_pendingBulk.clear();
            int offset = 0;
            for (int size : HidCodec::chunkSizes(int(block.size()), m_reportLength)) {
                QByteArray report(m_reportLength, '\0');
                std::memcpy(report.data(), block.constData() + offset, std::size_t(size));
                m_pendingBulk.push_back(report);
                offset += size;
            }
        }
    }
    r[7] = HidCodec::checksum(r.data());
    return r;
}

std::uint8_t& VirtualMouse::currentStage()
{
    return m_firmware ? m_firmware->currentStage(m_state) : m_state.dpiStage;
}
