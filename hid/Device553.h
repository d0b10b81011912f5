#pragma once

#include "Commands553.h"
#include "DeviceCommands.h"

// Command set 553 (Commands553): every setting is its own command; the mouse
// holds no profile blocks.
class Device553 final : public DeviceCommands
{
public:
    Device553(Hid_Thread& hid, const DeviceTraits& traits)
        : DeviceCommands(hid, traits)
    {
    }

    const KeyMatrix::DeviceForm& keyMatrixForm() const override { return Commands553::keyMatrixForm; }
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
    void afterConnect() override {}
    void pagesStarted() override {}

private:
    void sendMatrix(const KeyMatrix::Matrix& matrix, std::uint8_t number);
};
