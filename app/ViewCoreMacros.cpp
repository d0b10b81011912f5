// The macro library and macro transfer operations of the view.

#include "ViewCore.h"

#include "AppLog.h"

bool ViewCore::loadMacroFile(QVariant macroFileName)
{
    Q_UNUSED(macroFileName);
    notImplemented("loadMacroFile");
    return false;
}

void ViewCore::saveMacroFile(QVariant macroFileName)
{
    Q_UNUSED(macroFileName);
    notImplemented("saveMacroFile");
}

QVariant ViewCore::createMacroIni(QVariant name, QVariant macroIndex)
{
    Q_UNUSED(name);
    Q_UNUSED(macroIndex);
    notImplemented("createMacroIni");
    return false;
}

QVariant ViewCore::modifyMacroNameUpdateProfile(QVariant oldname, QVariant newname)
{
    Q_UNUSED(oldname);
    Q_UNUSED(newname);
    notImplemented("modifyMacroNameUpdateProfile");
    return false;
}

void ViewCore::deleteMacroUpdateProfile(QVariant macroName)
{
    Q_UNUSED(macroName);
    notImplemented("deleteMacroUpdateProfile");
}

QVariant ViewCore::deleteMacroIni(QVariant name)
{
    Q_UNUSED(name);
    notImplemented("deleteMacroIni");
    return false;
}

QVariant ViewCore::saveMacroIni(QVariant name, QStringList macros, QVariant repeat)
{
    Q_UNUSED(name);
    Q_UNUSED(macros);
    Q_UNUSED(repeat);
    notImplemented("saveMacroIni");
    return false;
}

QVariant ViewCore::mouseSendMacroData(QVariantList macroData, QVariant macroIndex)
{
    Q_UNUSED(macroData);
    Q_UNUSED(macroIndex);
    notImplemented("mouseSendMacroData");
    return false;
}

QStringList ViewCore::loadMacroIni(QVariant name)
{
    Q_UNUSED(name);
    notImplemented("loadMacroIni");
    return {};
}
