// DPI stages, lighting, report rate and the keyboard option.

#include "ViewCore.h"

#include "AppLog.h"
#include "DpiCodes.h"
#include "Hid_Thread.h"
#include "Lighting.h"

#include <algorithm>

namespace {

bool uses560(const ViewCore& view)
{
    return view.traits.uses560();
}

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

// Image 1 as profile 1, and with the gun flag images 2..4 as profiles 2..4.
void sendStageImages(ViewCore& view)
{
    if (!view.hid)
        return;
    const std::size_t last = view.traits.isGun ? 4 : 1;
    for (std::size_t n = 1; n <= last; ++n)
        view.hid->hid560_0CH_setProfile(view.profileImages[n].data(), uchar(n));
}

// The keyboard-option and fixed-colour commands exist only in command set 553.
// A 560 device reads the same command bytes as something else (03H sets a
// report rate, 0CH writes a profile block), so they are not sent to one.
bool refuse560(const ViewCore& view, const char* operation)
{
    if (!uses560(view))
        return false;
    qCDebug(skarnApp) << operation << "is not sent: command set 560 has no such command";
    return true;
}

} // namespace

void ViewCore::mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    if (!hid || refuse560(*this, "mouseSetKeyboardoption"))
        return;
    hid->hid553_03H_SetKeyboardoption(byte1, byte2, byte3, byte4);
}

void ViewCore::mouseSetReportRate(uchar rate)
{
    if (!hid)
        return;
    if (uses560(*this))
        hid->hid560_03H_SetReportRate(rate);
    else
        hid->hid553_01H_SetReportRate(rate);
}

void ViewCore::mouseSetCurrentDPI(uchar currentDPI)
{
    if (!hid)
        return;
    if (currentDPI > DpiCodes::stageCount) {
        qCDebug(skarnApp) << "mouseSetCurrentDPI: stage" << currentDPI << "does not exist; nothing sent";
        return;
    }
    if (uses560(*this))
        hid->hid560_04H_SetCurrentDPI(currentDPI);
    else
        hid->hid553_0BH_SetCurrentDPI(currentDPI);
}

QVariant ViewCore::mouseGetCurrentDPI()
{
    // A command that reaches no device leaves its byte as it was: 0.
    uchar stage = 0;
    if (hid && uses560(*this)) {
        uchar index = 1;
        hid->hid560_84H_GetCurrentDPI(index, stage);
    } else if (hid) {
        hid->hid553_8BH_GetCurrentDPI(stage);
    }
    return int(stage);
}

void ViewCore::mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray)
{
    const DpiCodes::Values values = intsFromList<DpiCodes::stageCount>(dpiValueArray, "mouseSetDpi", "dpiValueArray");
    const int count = std::clamp(dpiCount, 0, DpiCodes::stageCount);
    if (count != dpiCount || count == 0)
        qCDebug(skarnApp) << "mouseSetDpi: stage count" << dpiCount << "is outside 1..8, taken as" << count;
    const DpiCodes::Sensor sensor = DpiCodes::sensorFromName(sensorType);
    const DpiCodes::StageCodes stages = DpiCodes::stageCodes(sensor, values);

    if (uses560(*this)) {
        DpiCodes::writeToImages(profileImages, sensor, stages, count);
        sendStageImages(*this);
    } else if (hid) {
        DpiCodes::Codes codes = DpiCodes::markDisabled(stages.codes, count);
        hid->hid553_11H_SetDPISet(uchar(count), codes.data());
    }
}

void ViewCore::mouseSetRGBEffect(uchar effect, uchar option1, uchar option2)
{
    const Lighting::Variant variant = Lighting::variantOf(traits.isColorful, traits.is571);
    const Lighting::Effect triple = Lighting::effectFor(variant, effect, option1, option2);

    if (uses560(*this)) {
        Lighting::writeEffect(profileImages, variant, triple, traits.isGun);
        sendStageImages(*this);
    } else if (hid) {
        const Lighting::Effect sent = Lighting::effectFor553(variant, triple, traits.is55328);
        hid->hid553_0DH_SetRGBLedEffect(sent.effect, sent.option1, sent.option2);
    }
}

void ViewCore::mouseSetRGBColor(uchar type, QVariantList src24)
{
    Lighting::ColourTable table =
        lowBytes(intsFromList<std::tuple_size_v<Lighting::ColourTable>>(src24, "mouseSetRGBColor", "src24", 1));

    if (uses560(*this)) {
        const int image = Lighting::writeColours(profileImages, table, traits.isColorful);
        if (hid)
            hid->hid560_0CH_setProfile(profileImages[std::size_t(image)].data(), uchar(image));
        return;
    }
    if (!hid)
        return;
    const Lighting::ColourSend send = Lighting::colourSend553(table, type, traits.is55328, traits.is571);
    if (send.fixedColour) {
        hid->hid553_0CH_SetFixLEDColor(table.data());
        return;
    }
    for (int i = 0; i < send.times; ++i)
        hid->hid553_10H_SetLED8StageColor(send.type, table.data());
}

void ViewCore::mouseSetFixColor(QVariantList src3)
{
    std::array<uchar, 3> colour = lowBytes(intsFromList<3>(src3, "mouseSetFixColor", "src3"));
    if (!hid || refuse560(*this, "mouseSetFixColor"))
        return;
    hid->hid553_0CH_SetFixLEDColor(colour.data());
}

QVariantList ViewCore::GetKeyboardoption()
{
    // Without a device the command fills nothing and the four bytes stay 0.
    std::array<uchar, 4> b{};
    if (hid && !refuse560(*this, "GetKeyboardoption"))
        hid->hid553_83H_GetKeyboardoption(b[0], b[1], b[2], b[3]);
    return {int(b[0]), int(b[1]), int(b[2]), int(b[3])};
}
