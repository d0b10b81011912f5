#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// One device entry of apConfig.bin plus the interface paths found for it by
// enumeration. Defaults are those of an absent key.
struct DeviceRecord
{
    qint32 type = -1; // 0 keyboard, 1 mouse
    quint16 vid = 0;
    quint16 pid = 0;
    quint16 usagePage = 0; // command interface
    quint16 usage = 0;
    quint16 usagePage2 = 0; // event-report interface
    quint16 usage2 = 0;
    qint32 reportLength = 32;
    bool isEncode = false;
    QString sCode = QStringLiteral("582910");
    QString primaryPath;   // path of the interface matching usagePage/usage, or empty
    QString secondaryPath; // path of the interface matching usagePage2/usage2, or empty

    friend bool operator==(const DeviceRecord&, const DeviceRecord&) = default;
};

using DeviceList = QList<DeviceRecord>;
