#pragma once

#include "CommandSet.h"
#include "DeviceRecord.h"
#include "HidBackend.h"
#include "HidCodec.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>

struct Firmware;
struct VirtualMouseEndpoint;
struct VirtualMouseLink;

// The firmware side of the mouse's HID link, in memory: it answers the
// command set of one family ("553" or "560") on a command interface and sends
// DPI-button events on an event interface. The host reaches it only through
// VirtualHidBackend, exactly as it reaches a real mouse through hidapi.
//
// It is strict where firmware would be: a malformed feature report, a bad
// checksum, an unknown command, a length byte or argument out of range, a
// payload that does not arrive as reportLength + 1 byte output reports with
// zero padding, or a get_feature that follows no get command each count one
// protocol error with a readable message, and the command is not applied.
// Output reports that follow a rejected frame are dropped without further
// errors (the fault was counted at the frame).
//
// Threads: every member may be called from any thread; one mutex guards the
// state. The listener thread may block in a read of the event interface while
// the GUI thread sends commands; unplug() and the destructor wake it.
class VirtualMouse final : public QObject
{
    Q_OBJECT
public:
    using Bytes4 = std::array<std::uint8_t, 4>;
    using Block64 = std::array<std::uint8_t, 64>;
    using Block128 = std::array<std::uint8_t, 128>;

    // The settings the firmware keeps. Fields of the other family are kept but
    // never touched. Stages are numbered 1..8, as the event reports carry them.
    struct State
    {
        // Family 553
        std::uint8_t reportRate = 0;
        std::uint8_t dpiStage = 0;
        std::uint8_t dpiCount = 0;
        std::array<std::uint8_t, 8> dpiTable{};
        std::uint8_t keyMatrix = 0;              // current matrix, 1..4
        std::array<std::uint8_t, 3> ledEffect{}; // effect, option1, option2
        std::uint8_t colourType = 0;             // type of the last colour table written
        std::array<std::uint8_t, 36> colourTable{};
        std::array<std::uint8_t, 3> fixedColour{};
        Bytes4 gunData{};
        int gunDataWrites = 0;
        // Both families (560 uses the first two option bytes)
        Bytes4 keyboardOption{};
        std::array<Block64, 4> keyMatrices{}; // matrix 1 first
        std::array<Block128, 12> macros{};    // macro id 1 first
        // Family 560
        std::uint8_t profile = 0; // 0..4
        Bytes4 reportRates{};     // index 1 first
        Bytes4 dpiStages{};       // index 1 first
        std::array<Block128, 5> profiles{};

        // Non-zero, recognisable defaults, so that a read shows real data
        // (profile block n byte i is (n * 37 + i * 7 + 1) & 0xff).
        static State defaults();
        friend bool operator==(const State&, const State&) = default;
    };

    // The mouse of command set set. The key comes from record.sCode (a code
    // that is not six characters gives the all-zero key). The report length
    // follows the worker's rule (HidCodec::usableReportLength), so both cut
    // payloads alike.
    VirtualMouse(const DeviceRecord& record, CommandSet set,
                 const HidCodec::ScrambleTable& table = HidCodec::defaultScrambleTable, QObject* parent = nullptr);
    ~VirtualMouse() override;

    // The shipped mouse's entry (type 1, 04d9:a1ee, command interface
    // ff00/ff00, event interface ff01/ff01, 32-byte reports, not scrambled):
    // the identity the benches, tests and fuzz targets give a virtual mouse.
    static DeviceRecord shippedEntry();
    VirtualMouse(const VirtualMouse&) = delete;
    VirtualMouse& operator=(const VirtualMouse&) = delete;

    const DeviceRecord& record() const { return m_record; }
    // The command set it speaks, and its name in texts ("553", "560").
    CommandSet commandSet() const { return m_set; }
    QString family() const { return m_family; }
    int reportLength() const { return m_reportLength; }

    // Interface paths are prefix + "cmd" and prefix + "evt"; the prefix is
    // "virtual:" until set. Give each mouse of one backend its own prefix.
    void setPathPrefix(const QByteArray& prefix);
    QByteArray commandPath() const;
    QByteArray eventPath() const;

    State state() const;
    void setState(const State& state);
    // The whole state (byte blocks as arrays of ints) plus family, plugged,
    // protocolErrors and commandCount.
    QJsonObject stateJson() const;

    int protocolErrors() const;
    QStringList protocolErrorMessages() const;
    void clearProtocolErrors();

    // What arrived, for tests: every frame of a 9-byte feature report with
    // report id 0 (the 8 bytes after descrambling, valid or not) and every
    // output report as written. The newest 10000 of each are kept.
    QList<QByteArray> receivedFrames() const;
    QList<QByteArray> receivedOutputReports() const;
    void clearReceived();
    // Frames that passed every check.
    int commandCount() const;
    // True while output reports of a payload are still expected.
    bool payloadPending() const;

    // Sets the current DPI stage (553; index 1's stage for 560) and sends
    // 06 07 00 stage to every open event handle. False when stage is not
    // 1..8, the mouse is unplugged, or no event handle is open (the report is
    // then lost, as with a real device).
    bool pressDpiButton(int stage);
    // The next stage of the stage count, wrapping to 1.
    bool pressDpiButton();
    // Any report on the event interface, as is (for tests of what the host
    // ignores); the state is not changed. Same delivery rules as above.
    bool sendEventReport(const QByteArray& report);

    // While unplugged, enumeration lists nothing, opens fail and every call on
    // a handle returns -1 (a blocked event read wakes with -1). Handles opened
    // before an unplug stay dead after plug(); the settings survive.
    bool isPlugged() const;
    void unplug();
    void plug();

    // Fault injection: each sets how many of the next calls of that kind fail
    // (count replaces what is left). Faults apply only to calls that reach a
    // plugged mouse. A failed open, write or set-feature does not reach the
    // firmware; a failed get-feature keeps the reply for a retry.
    void failNextOpens(HidRole interface, int count);
    void failNextWrites(int count);
    void failNextSetFeatures(int count);
    void failNextGetFeatures(int count);
    // The next count reads of a queued command-interface report deliver half
    // of it (the rest is lost).
    void shortenNextReads(int count);
    // The next count timed command-interface reads (readTimeout, or read on a
    // non-blocking handle) wait their timeout on the backend's clock and
    // return 0; the report stays queued. Blocking reads are not delayed.
    void delayNextReads(int count);
    // One fault in a bulk transfer: the command-interface read that comes
    // after goodReads more such reads meets it (replaces a fault still set).
    // Short delivers half of the report (the rest is lost); Late waits its
    // timeout and returns 0 (a blocking read is not delayed); Unplug unplugs
    // the mouse, and the read returns -1 as it does when a device goes away
    // mid-transfer.
    enum class ReadFault { Short, Late, Unplug };
    void faultReadAfter(int goodReads, ReadFault fault);

Q_SIGNALS:
    void pluggedChanged(bool plugged);

private:
    friend class VirtualHidBackend;

    enum class Reply { None, Ready, Blank };
    struct Payload
    {
        HidCodec::Frame frame{};
        int length = 0;
        int chunk = 0;
        int reports = 0;
        int seen = 0;
        QByteArray data;
        bool broken = false;
    };
    struct ReadOutcome
    {
        int result = 0;
        int waitMs = 0; // the backend waits this long on its clock, unlocked
    };

    // Host side, called by VirtualHidBackend with m_link->mutex held and only
    // for live endpoints.
    bool takeOpenFailure(HidRole interface);
    int hostSetFeature(const VirtualMouseEndpoint& endpoint, const std::uint8_t* data, std::size_t length);
    int hostGetFeature(const VirtualMouseEndpoint& endpoint, std::uint8_t* data, std::size_t length);
    int hostWrite(const VirtualMouseEndpoint& endpoint, const std::uint8_t* data, std::size_t length);
    // timeoutMs -1 is a blocking read.
    ReadOutcome hostReadCommand(VirtualMouseEndpoint& endpoint, std::uint8_t* data, std::size_t length, int timeoutMs);

    // All below with the mutex held.
    void protocolError(const QString& message);
    // The secrecy handshake here, every other get command by the firmware
    // table; a block that follows the reply is queued as bulk input reports.
    HidCodec::Frame replyTo(const HidCodec::Frame& frame);
    // The stage the DPI button steps.
    std::uint8_t& currentStage();
    // Queues report for every live handle of the interface; false when none took it.
    bool queueInput(HidRole interface, const QByteArray& report);
    void resetLink();
    bool pressLocked(int stage);
    // False when the mouse was unplugged already.
    bool unplugLocked();

    const DeviceRecord m_record;
    const QString m_family;
    const CommandSet m_set;
    // The command set's table.
    const Firmware* const m_firmware;
    const HidCodec::ScrambleTable m_table;
    const HidCodec::SecrecyKey m_key;
    const int m_reportLength;
    const std::shared_ptr<VirtualMouseLink> m_link;

    // Guarded by m_link->mutex.
    QByteArray m_pathPrefix = "virtual:";
    State m_state;
    QStringList m_errors;
    QList<QByteArray> m_frames;
    QList<QByteArray> m_outputReports;
    int m_commandCount = 0;
    std::optional<Payload> m_payload;
    // Bulk input reports of the command interface wait in the device (its IN
    // endpoint) until the host reads them, whichever handle it reads with:
    // the host reopens the interface before every call.
    std::deque<QByteArray> m_pendingBulk;
    Reply m_reply = Reply::None;
    HidCodec::Frame m_replyFrame{};
    bool m_discardOutput = false;
    int m_failOpens[2] = {0, 0};
    int m_failWrites = 0;
    int m_failSetFeatures = 0;
    int m_failGetFeatures = 0;
    int m_shortReads = 0;
    int m_lateReads = 0;
    std::optional<ReadFault> m_readFault;
    int m_readFaultAfter = 0;
};
