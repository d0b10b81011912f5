// Button assignment: the key-matrix operations of the view.

#include "ViewCore.h"

#include "AppLog.h"

void ViewCore::mouseResetKeyMatrix()
{
    notImplemented("mouseResetKeyMatrix");
}

void ViewCore::mouseSetKeyMatrix(QVariantList src64, bool isSendData, QVariantList otherParam)
{
    Q_UNUSED(src64);
    Q_UNUSED(isSendData);
    Q_UNUSED(otherParam);
    notImplemented("mouseSetKeyMatrix");
}

void ViewCore::mouseSwitchKeyMatrix(int indexNo)
{
    Q_UNUSED(indexNo);
    notImplemented("mouseSwitchKeyMatrix");
}

QVariantList ViewCore::mouseGetKeydefine(QVariant index, bool isRecovery)
{
    Q_UNUSED(index);
    Q_UNUSED(isRecovery);
    notImplemented("mouseGetKeydefine");
    return {};
}
