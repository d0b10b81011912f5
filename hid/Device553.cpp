#include "Device553.h"

#include "Hid_Thread.h"

void Device553::setDpiStages(DpiCodes::Sensor, const DpiCodes::StageCodes& stages, int count)
{
    DpiCodes::Codes codes = DpiCodes::markDisabled(stages.codes, count);
    m_hid.hid553_11H_SetDPISet(std::uint8_t(count), codes.data());
}

void Device553::setEffect(Lighting::Variant variant, const Lighting::Effect& triple)
{
    const Lighting::Effect sent = Lighting::effectFor553(variant, triple, m_traits.is55328);
    m_hid.hid553_0DH_SetRGBLedEffect(sent.effect, sent.option1, sent.option2);
}

void Device553::setColours(const Lighting::ColourTable& table, std::uint8_t type)
{
    Lighting::ColourTable bytes = table;
    const Lighting::ColourSend send = Lighting::colourSend553(bytes, type, m_traits.is55328, m_traits.is571);
    if (send.fixedColour) {
        m_hid.hid553_0CH_SetFixLEDColor(bytes.data());
        return;
    }
    for (int i = 0; i < send.times; ++i)
        m_hid.hid553_10H_SetLED8StageColor(send.type, bytes.data());
}

void Device553::setFixedColour(const std::array<std::uint8_t, 3>& colour)
{
    std::array<std::uint8_t, 3> bytes = colour;
    m_hid.hid553_0CH_SetFixLEDColor(bytes.data());
}

void Device553::setKeyboardOption(const Bytes4& bytes)
{
    m_hid.hid553_03H_SetKeyboardoption(bytes[0], bytes[1], bytes[2], bytes[3]);
}

DeviceCommands::Bytes4 Device553::keyboardOption()
{
    Bytes4 b{};
    m_hid.hid553_83H_GetKeyboardoption(b[0], b[1], b[2], b[3]);
    return b;
}

void Device553::setReportRate(std::uint8_t rate)
{
    m_hid.hid553_01H_SetReportRate(rate);
}

void Device553::setCurrentStage(std::uint8_t stage)
{
    m_hid.hid553_0BH_SetCurrentDPI(stage);
}

std::uint8_t Device553::currentStage()
{
    std::uint8_t stage = 0;
    m_hid.hid553_8BH_GetCurrentDPI(stage);
    return stage;
}

void Device553::sendMatrix(const KeyMatrix::Matrix& matrix, std::uint8_t number)
{
    KeyMatrix::Block block = KeyMatrix::toBlock(matrix);
    m_hid.hid553_12H_SetKeyMatrix(block.data(), number);
}

void Device553::sendKeyMatrices(const KeyMatrix::Transfer& transfer)
{
    if (!transfer.gun) {
        sendMatrix(transfer.matrices[0], 1);
        return;
    }
    for (std::size_t k = 0; k < transfer.matrices.size(); ++k)
        sendMatrix(transfer.matrices[k], std::uint8_t(k + 1));
    m_hid.hid553_02H_SetCurrentKeyMatrix(1);
}

void Device553::resetGunMatrices(const KeyMatrix::Matrix& firmware)
{
    for (std::uint8_t matrix = 2; matrix <= 4; ++matrix)
        sendMatrix(firmware, matrix);
}

void Device553::switchKeyMatrix(std::uint8_t number)
{
    // The set numbers its key matrices from 0.
    m_hid.hid553_02H_SetCurrentKeyMatrix(std::uint8_t(number - 1));
}

void Device553::sendMacro(std::uint8_t slot, const MacroBlock& block)
{
    MacroBlock bytes = block;
    m_hid.hid553_13H_SetMacroKey(std::uint8_t(slot + 1), bytes.data());
}

void Device553::sendGunData(int slot, const GunData::SlotValues& values)
{
    // Y goes out negated when the mouse's option says so: the option is read
    // before every send.
    Bytes4 option{};
    m_hid.hid553_83H_GetKeyboardoption(option[0], option[1], option[2], option[3]);
    m_hid.hid553_04H_SetGunData(values.times, values.x, GunData::deviceY(values.y, option[2]), std::uint8_t(slot - 1));
}

// The profile commands' bytes mean other things to this set (0CH sets the
// fixed colour, 02H the key matrix): nothing is sent.
void Device553::sendProfile(std::uint8_t)
{
    refuse("mouseSetProfile", "553");
}

void Device553::readProfile(std::uint8_t)
{
    refuse("mouseReadProfile", "553");
}

std::uint8_t Device553::currentProfile()
{
    refuse("mouseReadCurrentProfile", "553");
    return 0;
}
