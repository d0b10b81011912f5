#pragma once

#include "WarningRequestChannel.h"

#include <QAbstractNativeEventFilter>

class QCoreApplication;

// Windows: the application-wide native event filter that receives
// WM_COPYDATA requests and hands (dwData, the cbData bytes at lpData) to the
// handler. Every WM_COPYDATA is reported as handled with result 1. Only built
// for Windows; elsewhere the session-bus channel does this job.
class WindowsCopyDataChannel final : public WarningRequestChannel, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    explicit WindowsCopyDataChannel(QCoreApplication* app, QObject* parent = nullptr);
    ~WindowsCopyDataChannel() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    QCoreApplication* m_app;
};
