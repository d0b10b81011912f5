#pragma once

#include "Commands560.h"
#include "DeviceCommands.h"

// Command set 560 (Commands560): stages, lighting and gun slots live in five
// 128-byte profile blocks that the unit holds, changes and sends whole; the
// blocks are read from the mouse when it connects.
class Device560 final : public DeviceCommands
{
public:
    Device560(Hid_Thread& hid, const DeviceTraits& traits)
        : DeviceCommands(hid, traits)
    {
    }

    const KeyMatrix::DeviceForm& keyMatrixForm() const override { return Commands560::keyMatrixForm; }
    void setDpiStages(DpiCodes::Sensor sensor, const DpiCodes::StageCodes& stages, int count) override;
    void setEffect(Lighting::Variant variant, const Lighting::Effect& triple) override;
    void setColours(const Lighting::ColourTable& table, std::uint8_t type) override;
    void setFixedColour(const std::array<std::uint8_t, 3>& colour) override;
    void setKeyboardOption(const Bytes4& bytes) override;
    Bytes4 keyboardOption() override;
    void setReportRate(std::uint8_t rate) override;
    void setCurrentStage(std::uint8_t stage) override;
    std::uint8_t currentStage() override;
    void sendKeyMatrices(const KeyMatrix::Transfer& transfer) override;
    void resetGunMatrices(const KeyMatrix::Matrix& firmware) override;
    void switchKeyMatrix(std::uint8_t number) override;
    void sendMacro(std::uint8_t slot, const MacroBlock& block) override;
    void sendGunData(int slot, const GunData::SlotValues& values) override;
    void sendProfile(std::uint8_t number) override;
    void readProfile(std::uint8_t number) override;
    std::uint8_t currentProfile() override;
    // Blocks 0 and 1 read, and 2..4 on a gun mouse.
    void afterConnect() override;
    // The mouse is put back on profile 1 when it is on another.
    void pagesStarted() override;

    // The held blocks, for tests.
    DpiCodes::ProfileImages& images() { return m_images; }

private:
    // Block 1, and on a gun mouse blocks 2..4: the ones holding the stages.
    void sendStageImages();
    void sendMatrix(const KeyMatrix::Matrix& matrix, std::uint8_t number);

    DpiCodes::ProfileImages m_images{};
};
