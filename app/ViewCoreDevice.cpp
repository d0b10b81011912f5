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
    send(QStringLiteral("keyboardOption"), [bytes = DeviceCommands::Bytes4{byte1, byte2, byte3, byte4}](
                                               DeviceCommands& d) { d.setKeyboardOption(bytes); });
}

void ViewCore::mouseSetReportRate(uchar rate)
{
    send(QStringLiteral("reportRate"), [rate](DeviceCommands& d) { d.setReportRate(rate); });
}

void ViewCore::mouseSetCurrentDPI(uchar currentDPI)
{
    if (currentDPI > DpiCodes::stageCount) {
        qCDebug(skarnApp) << "mouseSetCurrentDPI: stage" << currentDPI << "does not exist; nothing sent";
        return;
    }
    send(QStringLiteral("currentStage"), [currentDPI](DeviceCommands& d) { d.setCurrentStage(currentDPI); });
}

QVariant ViewCore::mouseGetCurrentDPI()
{
    // A command that reaches no device leaves its byte as it was: 0.
    int stage = 0;
    ask([&stage](DeviceCommands& d) { stage = d.currentStage(); });
    return stage;
}

void ViewCore::mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray)
{
    const DpiCodes::Values values = intsFromList<DpiCodes::stageCount>(dpiValueArray, "mouseSetDpi", "dpiValueArray");
    const int count = std::clamp(dpiCount, 0, DpiCodes::stageCount);
    if (count != dpiCount || count == 0)
        qCDebug(skarnApp) << "mouseSetDpi: stage count" << dpiCount << "is outside 1..8, taken as" << count;
    const DpiCodes::Sensor sensor = DpiCodes::sensorFromName(sensorType);
    send(QStringLiteral("dpiStages"), [sensor, stages = DpiCodes::stageCodes(sensor, values),
                                       count](DeviceCommands& d) { d.setDpiStages(sensor, stages, count); });
}

void ViewCore::mouseSetRGBEffect(uchar effect, uchar option1, uchar option2)
{
    const Lighting::Variant variant = Lighting::variantOf(traits.isColorful, traits.is571);
    send(QStringLiteral("effect"), [variant, triple = Lighting::effectFor(variant, effect, option1, option2)](
                                       DeviceCommands& d) { d.setEffect(variant, triple); });
}

void ViewCore::mouseSetRGBColor(uchar type, QVariantList src24)
{
    const Lighting::ColourTable table =
        lowBytes(intsFromList<std::tuple_size_v<Lighting::ColourTable>>(src24, "mouseSetRGBColor", "src24", 1));
    send(QStringLiteral("colours %1").arg(type), [table, type](DeviceCommands& d) { d.setColours(table, type); });
}

void ViewCore::mouseSetFixColor(QVariantList src3)
{
    const std::array<uchar, 3> colour = lowBytes(intsFromList<3>(src3, "mouseSetFixColor", "src3"));
    send(QStringLiteral("fixedColour"), [colour](DeviceCommands& d) { d.setFixedColour(colour); });
}

QVariantList ViewCore::GetKeyboardoption()
{
    // Without a device the command fills nothing and the four bytes stay 0.
    DeviceCommands::Bytes4 b{};
    ask([&b](DeviceCommands& d) { b = d.keyboardOption(); });
    return {int(b[0]), int(b[1]), int(b[2]), int(b[3])};
}

void ViewCore::mouseSetProfile(uint profileNo)
{
    if (profileNo >= profileCount) {
        qCDebug(skarnApp) << "mouseSetProfile: no profile image" << profileNo;
        return;
    }
    send(QStringLiteral("profile %1").arg(profileNo),
         [number = uchar(profileNo)](DeviceCommands& d) { d.sendProfile(number); });
}

void ViewCore::mouseReadProfile(uint profileNo)
{
    if (profileNo >= profileCount) {
        qCDebug(skarnApp) << "mouseReadProfile: no profile image" << profileNo;
        return;
    }
    // The block sent next may be the one read: nothing is superseded across.
    send({}, [number = uchar(profileNo)](DeviceCommands& d) { d.readProfile(number); });
}

QVariant ViewCore::mouseReadCurrentProfile()
{
    int profile = 0;
    ask([&profile](DeviceCommands& d) { profile = d.currentProfile(); });
    return profile;
}
