#pragma once

#include "DeviceStatus.h"
#include "DeviceTraits.h"
#include "Hid_Thread.h"
#include "ViewCore.h"

#include <QtQml/qqml.h>

// The program's objects the pages reach through Program (basic/Program.qml),
// as types of the QML module, so that the linter and the QML compiler know
// their properties, operations and signals. The classes themselves stay free
// of QML: the command line builds them without Qt Quick. None is made in QML;
// the program hands the one instance of each as a context property.

struct ViewCoreForeign
{
    Q_GADGET
    QML_FOREIGN(ViewCore)
    QML_NAMED_ELEMENT(ViewCore)
    QML_UNCREATABLE("The program gives its view operations as ui_View.")
};

struct DeviceStatusForeign
{
    Q_GADGET
    QML_FOREIGN(DeviceStatus)
    QML_NAMED_ELEMENT(DeviceStatus)
    QML_UNCREATABLE("The program gives the device status as deviceStatus.")
};

struct HidThreadForeign
{
    Q_GADGET
    QML_FOREIGN(Hid_Thread)
    QML_NAMED_ELEMENT(Hid_Thread)
    QML_UNCREATABLE("The program gives its HID worker as hid.")
};

// The traits as the status's traits property holds them: a value without a
// name of its own.
struct DeviceTraitsForeign
{
    Q_GADGET
    QML_FOREIGN(DeviceTraits)
    QML_ANONYMOUS
};
