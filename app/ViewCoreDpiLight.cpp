// DPI stages, lighting, report rate and the keyboard option.

#include "ViewCore.h"

#include "AppLog.h"

void ViewCore::mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    Q_UNUSED(byte1);
    Q_UNUSED(byte2);
    Q_UNUSED(byte3);
    Q_UNUSED(byte4);
    notImplemented("mouseSetKeyboardoption");
}

void ViewCore::mouseSetReportRate(uchar rate)
{
    Q_UNUSED(rate);
    notImplemented("mouseSetReportRate");
}

void ViewCore::mouseSetCurrentDPI(uchar currentDPI)
{
    Q_UNUSED(currentDPI);
    notImplemented("mouseSetCurrentDPI");
}

QVariant ViewCore::mouseGetCurrentDPI()
{
    notImplemented("mouseGetCurrentDPI");
    return 0;
}

void ViewCore::mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray)
{
    Q_UNUSED(dpiCount);
    Q_UNUSED(sensorType);
    Q_UNUSED(dpiValueArray);
    notImplemented("mouseSetDpi");
}

void ViewCore::mouseSetRGBEffect(uchar effect, uchar option1, uchar option2)
{
    Q_UNUSED(effect);
    Q_UNUSED(option1);
    Q_UNUSED(option2);
    notImplemented("mouseSetRGBEffect");
}

void ViewCore::mouseSetRGBColor(uchar type, QVariantList src24)
{
    Q_UNUSED(type);
    Q_UNUSED(src24);
    notImplemented("mouseSetRGBColor");
}

void ViewCore::mouseSetFixColor(QVariantList src3)
{
    Q_UNUSED(src3);
    notImplemented("mouseSetFixColor");
}

QVariantList ViewCore::GetKeyboardoption()
{
    notImplemented("GetKeyboardoption");
    return {0, 0, 0, 0};
}
