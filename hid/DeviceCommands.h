#pragma once

#include "DeviceTraits.h"
#include "DpiCodes.h"
#include "GunData.h"
#include "KeyMatrix.h"
#include "Lighting.h"

#include <array>
#include <cstdint>
#include <memory>

class Hid_Thread;

// What the view asks of a mouse, one call per operation, in the words of the
// codecs (stage codes, effect triples, colour tables, device matrices): the
// caller has read and checked its arguments already. One unit per firmware
// command set implements it over that set's frame table and the HID worker
// (Device553, Device560); make() picks the one for the device traits, once
// per session. A command the set does not have is not sent, with a debug
// line. The view core hands each call to the HID worker: it runs on the
// writer thread, or on the GUI thread in a Hid_Thread::call, one at a time.
class DeviceCommands
{
public:
    using Bytes4 = std::array<std::uint8_t, 4>;
    using MacroBlock = std::array<std::uint8_t, 128>;

    virtual ~DeviceCommands() = default;

    // The unit of traits.commandSet over hid (not owned; outlives the unit).
    static std::unique_ptr<DeviceCommands> make(Hid_Thread& hid, const DeviceTraits& traits);

    // The key matrix's device form for set, and for this unit's set.
    static const KeyMatrix::DeviceForm& keyMatrixForm(CommandSet set);
    virtual const KeyMatrix::DeviceForm& keyMatrixForm() const = 0;

    // The stage codes of sensor, stages 1..count enabled (count 0..8).
    virtual void setDpiStages(DpiCodes::Sensor sensor, const DpiCodes::StageCodes& stages, int count) = 0;
    // The effect triple of the page's choice, for the mouse's lighting variant.
    virtual void setEffect(Lighting::Variant variant, const Lighting::Effect& triple) = 0;
    // The page's colour table; type is the eight-colour command's type.
    virtual void setColours(const Lighting::ColourTable& table, std::uint8_t type) = 0;
    virtual void setFixedColour(const std::array<std::uint8_t, 3>& colour) = 0;
    virtual void setKeyboardOption(const Bytes4& bytes) = 0;
    // The four option bytes; 0 where nothing answered.
    virtual Bytes4 keyboardOption() = 0;
    virtual void setReportRate(std::uint8_t rate) = 0;
    // Stage 0..8 (checked by the caller).
    virtual void setCurrentStage(std::uint8_t stage) = 0;
    // The current stage; 0 when nothing answered.
    virtual std::uint8_t currentStage() = 0;

    // A save's matrices: matrix 1 alone, or on the gun path all four and
    // matrix 1 made current.
    virtual void sendKeyMatrices(const KeyMatrix::Transfer& transfer) = 0;
    // Matrices 2..4 (the gun modes) all set to firmware.
    virtual void resetGunMatrices(const KeyMatrix::Matrix& firmware) = 0;
    // Key matrix number 1..4 made current (checked by the caller).
    virtual void switchKeyMatrix(std::uint8_t number) = 0;
    // Macro slot 0..11 (checked by the caller).
    virtual void sendMacro(std::uint8_t slot, const MacroBlock& block) = 0;
    // Gun slot 1..3 (checked by the caller).
    virtual void sendGunData(int slot, const GunData::SlotValues& values) = 0;

    // The profile blocks 0..4 (checked by the caller): the held image sent,
    // the device's read into it; the device's current profile (0 when
    // nothing answered).
    virtual void sendProfile(std::uint8_t number) = 0;
    virtual void readProfile(std::uint8_t number) = 0;
    virtual std::uint8_t currentProfile() = 0;

    // Right after a device check connected the mouse.
    virtual void afterConnect() = 0;
    // Once per run, when the pages first start: what the set needs then.
    virtual void pagesStarted() = 0;

protected:
    DeviceCommands(Hid_Thread& hid, const DeviceTraits& traits)
        : m_hid(hid)
        , m_traits(traits)
    {
    }
    // The debug line of a command the set does not have.
    static void refuse(const char* operation, const char* set);

    Hid_Thread& m_hid;
    const DeviceTraits m_traits;
};
