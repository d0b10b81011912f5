// The mouse settings sent through the command set's unit: DPI stages and
// the current stage, lighting, report rate, keyboard option, profile blocks.

#include "ViewCore.h"

#include "AppLog.h"
#include "DeviceCommands.h"
#include "DpiCodes.h"
#include "Lighting.h"

#include <algorithm>

namespace {

// The first N items of list as ints. Items that are missing or not numbers
// read as 0 and items past N are ignored, each with a debug line: the pages
// always send whole lists, so anything else is a fault worth seeing.
template <std::size_t N>
std::array<int, N> intsFromList(const QVariantList& list, const char* operation, const char* what,
                                qsizetype expectedAtLeast = qsizetype(N))
{
    std::array<int, N> values{};
    if (list.size() < expectedAtLeast) {
        qCDebug(skarnApp).nospace() << operation << ": " << what << " has " << list.size()
                                    << " values, the missing ones read as 0";
    } else if (list.size() > qsizetype(N)) {
        qCDebug(skarnApp).nospace() << operation << ": " << what << " has " << list.size() << " values, those past "
                                    << N << " are ignored";
    }
    const std::size_t used = std::min(N, std::size_t(std::max<qsizetype>(list.size(), 0)));
    for (std::size_t i = 0; i < used; ++i) {
        bool ok = false;
        const int value = list.at(qsizetype(i)).toInt(&ok);
        if (ok) {
            values[i] = value;
        } else {
            qCDebug(skarnApp).nospace() << operation << ": " << what << " item " << i << " is not a number ("
                                        << list.at(qsizetype(i)) << "), read as 0";
        }
    }
    return values;
}

template <std::size_t N>
std::array<uchar, N> lowBytes(const std::array<int, N>& values)
{
    std::array<uchar, N> bytes{};
    std::transform(values.begin(), values.end(), bytes.begin(), [](int v) { return uchar(v); });
    return bytes;
}

} // namespace

void ViewCore::mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    if (device)
        device->setKeyboardOption({byte1, byte2, byte3, byte4});
}

void ViewCore::mouseSetReportRate(uchar rate)
{
    if (device)
        device->setReportRate(rate);
}

void ViewCore::mouseSetCurrentDPI(uchar currentDPI)
{
    if (!device)
        return;
    if (currentDPI > DpiCodes::stageCount) {
        qCDebug(skarnApp) << "mouseSetCurrentDPI: stage" << currentDPI << "does not exist; nothing sent";
        return;
    }
    device->setCurrentStage(currentDPI);
}

QVariant ViewCore::mouseGetCurrentDPI()
{
    // A command that reaches no device leaves its byte as it was: 0.
    return int(device ? device->currentStage() : 0);
}

void ViewCore::mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray)
{
    const DpiCodes::Values values = intsFromList<DpiCodes::stageCount>(dpiValueArray, "mouseSetDpi", "dpiValueArray");
    const int count = std::clamp(dpiCount, 0, DpiCodes::stageCount);
    if (count != dpiCount || count == 0)
        qCDebug(skarnApp) << "mouseSetDpi: stage count" << dpiCount << "is outside 1..8, taken as" << count;
    const DpiCodes::Sensor sensor = DpiCodes::sensorFromName(sensorType);
    if (device)
        device->setDpiStages(sensor, DpiCodes::stageCodes(sensor, values), count);
}

void ViewCore::mouseSetRGBEffect(uchar effect, uchar option1, uchar option2)
{
    const Lighting::Variant variant = Lighting::variantOf(traits.isColorful, traits.is571);
    if (device)
        device->setEffect(variant, Lighting::effectFor(variant, effect, option1, option2));
}

void ViewCore::mouseSetRGBColor(uchar type, QVariantList src24)
{
    const Lighting::ColourTable table =
        lowBytes(intsFromList<std::tuple_size_v<Lighting::ColourTable>>(src24, "mouseSetRGBColor", "src24", 1));
    if (device)
        device->setColours(table, type);
}

void ViewCore::mouseSetFixColor(QVariantList src3)
{
    const std::array<uchar, 3> colour = lowBytes(intsFromList<3>(src3, "mouseSetFixColor", "src3"));
    if (device)
        device->setFixedColour(colour);
}

QVariantList ViewCore::GetKeyboardoption()
{
    // Without a device the command fills nothing and the four bytes stay 0.
    const DeviceCommands::Bytes4 b = device ? device->keyboardOption() : DeviceCommands::Bytes4{};
    return {int(b[0]), int(b[1]), int(b[2]), int(b[3])};
}

void ViewCore::mouseSetProfile(uint profileNo)
{
    if (profileNo >= profileCount) {
        qCDebug(skarnApp) << "mouseSetProfile: no profile image" << profileNo;
        return;
    }
    if (device)
        device->sendProfile(uchar(profileNo));
}

void ViewCore::mouseReadProfile(uint profileNo)
{
    if (profileNo >= profileCount) {
        qCDebug(skarnApp) << "mouseReadProfile: no profile image" << profileNo;
        return;
    }
    if (device)
        device->readProfile(uchar(profileNo));
}

QVariant ViewCore::mouseReadCurrentProfile()
{
    return int(device ? device->currentProfile() : 0);
}
