#include "Device560.h"

#include "Hid_Thread.h"

void Device560::sendStageImages()
{
    const std::uint8_t last = m_traits.isGun ? 4 : 1;
    for (std::uint8_t n = 1; n <= last; ++n)
        sendProfile(n);
}

void Device560::setDpiStages(DpiCodes::Sensor sensor, const DpiCodes::StageCodes& stages, int count)
{
    DpiCodes::writeToImages(m_images, sensor, stages, count);
    sendStageImages();
}

void Device560::setEffect(Lighting::Variant variant, const Lighting::Effect& triple)
{
    Lighting::writeEffect(m_images, variant, triple, m_traits.isGun);
    sendStageImages();
}

void Device560::setColours(const Lighting::ColourTable& table, std::uint8_t)
{
    sendProfile(std::uint8_t(Lighting::writeColours(m_images, table, m_traits.isColorful)));
}

// The keyboard-option and fixed-colour commands exist only in command set
// 553; this set reads the same command bytes as something else (03H sets a
// report rate, 0CH writes a profile block).
void Device560::setFixedColour(const std::array<std::uint8_t, 3>&)
{
    refuse("mouseSetFixColor", "560");
}

void Device560::setKeyboardOption(const Bytes4&)
{
    refuse("mouseSetKeyboardoption", "560");
}

DeviceCommands::Bytes4 Device560::keyboardOption()
{
    refuse("GetKeyboardoption", "560");
    return {};
}

void Device560::setReportRate(std::uint8_t rate)
{
    m_hid.hid560_03H_SetReportRate(rate);
}

void Device560::setCurrentStage(std::uint8_t stage)
{
    m_hid.hid560_04H_SetCurrentDPI(stage);
}

std::uint8_t Device560::currentStage()
{
    std::uint8_t index = 1;
    std::uint8_t stage = 0;
    m_hid.hid560_84H_GetCurrentDPI(index, stage);
    return stage;
}

void Device560::sendMatrix(const KeyMatrix::Matrix& matrix, std::uint8_t number)
{
    KeyMatrix::Block block = KeyMatrix::toBlock(matrix);
    m_hid.hid560_0DH_SetKeyMatrix(block.data(), number);
}

void Device560::sendKeyMatrices(const KeyMatrix::Transfer& transfer)
{
    // The gun mask is kept in block 0 even when the link is down.
    if (transfer.imageMask)
        m_images[0][2] = *transfer.imageMask;
    if (!transfer.gun) {
        sendMatrix(transfer.matrices[0], 1);
        return;
    }
    sendProfile(0);
    for (std::size_t k = 0; k < transfer.matrices.size(); ++k)
        sendMatrix(transfer.matrices[k], std::uint8_t(k + 1));
    m_hid.hid560_02H_SetCurrentProfile(1);
}

void Device560::resetGunMatrices(const KeyMatrix::Matrix& firmware)
{
    for (std::uint8_t matrix = 2; matrix <= 4; ++matrix)
        sendMatrix(firmware, matrix);
}

void Device560::switchKeyMatrix(std::uint8_t number)
{
    m_hid.hid560_02H_SetCurrentProfile(number);
}

void Device560::sendMacro(std::uint8_t slot, const MacroBlock& block)
{
    MacroBlock bytes = block;
    m_hid.hid560_0FH_SetMacroKey(std::uint8_t(slot + 1), bytes.data());
}

void Device560::sendGunData(int slot, const GunData::SlotValues& values)
{
    // Gun slot 1..3 lives in block 2..4.
    const auto n = std::uint8_t(slot + 1);
    GunData::writeSlot(m_images[n], values);
    sendProfile(n);
}

void Device560::sendProfile(std::uint8_t number)
{
    m_hid.hid560_0CH_setProfile(m_images[number].data(), number);
}

void Device560::readProfile(std::uint8_t number)
{
    m_hid.hid560_8CH_readProfile(m_images[number].data(), number);
}

std::uint8_t Device560::currentProfile()
{
    std::uint8_t profile = 0;
    m_hid.hid560_82H_GetCurrentProfile(profile);
    return profile;
}

void Device560::afterConnect()
{
    const std::uint8_t last = m_traits.isGun ? 4 : 1;
    for (std::uint8_t n = 0; n <= last; ++n)
        readProfile(n);
}

void Device560::pagesStarted()
{
    if (currentProfile() != 1)
        m_hid.hid560_02H_SetCurrentProfile(1);
}
