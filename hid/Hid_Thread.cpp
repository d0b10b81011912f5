#include "Hid_Thread.h"

Hid_Thread::Hid_Thread(QObject* parent)
    : QThread(parent)
{
}

Hid_Thread::~Hid_Thread() = default;

void Hid_Thread::stopListener()
{
    hidListenerRunning = false;
}
