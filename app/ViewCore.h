#pragma once

#include "DeviceTraits.h"
#include "ProfileStore.h"

#include <QDir>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <array>
#include <functional>

class DeviceCommands;
class FileChooser;
class Hid_Thread;

// Marks an invokable that the command line offers besides the slots (moc
// keeps it as the method's tag).
#ifndef Q_MOC_RUN
#define SKARN_COMMAND
#endif

// The operations the pages call on ui_View, without any widget: this object
// is ui_View itself (the view publishes it to the QML), and the command line
// calls its slots (and the invokables marked SKARN_COMMAND) by name. The
// slots keep the names, argument types and meta-object order the pages rely
// on; they are declared here only. Each is a thin call into a tested unit.
//
// Calls into the QML root go through a replaceable function (the view's
// callRoot; nothing in the command line). GUI thread, except setCurrentDPI,
// which may be called from the listener thread and is carried over.
//
// An operation without a result whose change could not be saved (full disk,
// read-only file or folder) emits saveFailed with the file's name; the
// operations with a result return false instead.
//
// Where the operations are defined:
//   ViewCore.cpp           construction; the shell (clearHidBusy, initUI,
//                          runUI, setBusy, setCurrentDPI, openUpdateExe);
//                          profiles and the data files (resetApconfig,
//                          load/save/reset/copyProfile, setCurrentProfile,
//                          get/setData, get/setGlobalData, get/setDataList,
//                          getXYSensitive, getselectGun, setXYSensitive,
//                          setSelectGun); getLangStrings, updataNameList,
//                          getNameList
//   ViewCoreDevice.cpp     mouseSetDpi, mouseSetCurrentDPI, mouseGetCurrentDPI,
//                          mouseSetRGBEffect, mouseSetRGBColor,
//                          mouseSetFixColor, mouseSetReportRate,
//                          mouseSetKeyboardoption, GetKeyboardoption,
//                          mouseSetProfile, mouseReadProfile,
//                          mouseReadCurrentProfile
//   ViewCoreKeyMatrix.cpp  mouseSetKeyMatrix, mouseResetKeyMatrix,
//                          mouseSwitchKeyMatrix, mouseGetKeydefine
//   ViewCoreMacros.cpp     the macro files (load/saveMacroFile,
//                          create/delete/save/loadMacroIni,
//                          modifyMacroNameUpdateProfile,
//                          deleteMacroUpdateProfile) and mouseSendMacroData
//   ViewCoreGunPointer.cpp the gun presets (mouseSaveGundata, modifyGundata,
//                          getGunData, getGunDataKey), mouseSendGundata, and
//                          the desktop's pointer settings (mouseSetCursorSpeed,
//                          mouseSetVerticalScrollLines, mouseSetDoubleClickSpeed)
// The mouse* operations that reach the mouse make one call on the command
// set's unit (DeviceCommands), through the HID worker: a change is queued for
// its writer (the operation returns at once), a read waits for what was
// queued before it.
class ViewCore : public QObject
{
    Q_OBJECT
public:
    // Calls the QML root function name with args; false when it has none.
    using RootCaller = std::function<bool(const char* name, const QVariantList& args, Qt::ConnectionType type)>;

    explicit ViewCore(QObject* parent = nullptr);
    ~ViewCore() override;

    // The worker (the busy flag) and the command set's unit the mouse*
    // operations call; neither owned, both set by the session. Without a
    // unit the operations check their arguments and send nothing.
    Hid_Thread* hid = nullptr;
    DeviceCommands* device = nullptr;
    // Read once from the global file when the core is made; the wiring hands
    // them to the worker and picks the unit by them.
    DeviceTraits traits;
    // Profile blocks 0..4.
    static constexpr uint profileCount = 5;

    ProfileStore& store() { return m_store; }
    void setRootCaller(RootCaller caller) { m_callRoot = std::move(caller); }
    // Where file dialogs ask (not owned); without one every dialog cancels.
    void setFileChooser(FileChooser* chooser) { m_chooser = chooser; }
    // Where setEnabled goes: the widget that shows the pages. Without one
    // (the command line) the call does nothing.
    void setEnableTarget(std::function<void(bool enabled)> target) { m_setEnabled = std::move(target); }

    // The pages lock and unlock the view's mouse input while the busy shield
    // shows. Invokable, not a slot: the command line offers slots only, and
    // invokables come after the slots in the meta-object, so the operations
    // keep their indices.
    Q_INVOKABLE void setEnabled(bool enabled)
    {
        if (m_setEnabled)
            m_setEnabled(enabled);
    }

    // The data folder (the working directory, which start-up made it), in
    // the platform's notation, for the question-mark menu. Invokable after
    // setEnabled, so that no operation moves.
    Q_INVOKABLE QString dataFolder() const { return QDir::toNativeSeparators(QDir::currentPath()); }

    // The encoded length of the macro editor's steps ({type, info} entries):
    // the count the editor limits a macro by.
    Q_INVOKABLE int macroLength(QVariantList steps) const;

    // Sends the stored macro name to macro slot slot: its file is read,
    // encoded with the key names of the language in use (the global file's
    // common/language) and sent as mouseSendMacroData sends a payload. A
    // macro without a file goes out as an empty macro (repeat 0, no action),
    // which clears the slot. False when the slot is not a number or has no
    // macro on the device (nothing sent), or the macro has no file. The
    // command line offers it too.
    Q_INVOKABLE SKARN_COMMAND bool sendStoredMacro(QVariant name, QVariant slot);

Q_SIGNALS:
    void saveFailed(QString file);

public Q_SLOTS:
    void clearHidBusy();
    void initUI();
    void runUI();
    void resetApconfig();
    bool loadMacroFile(QVariant macroFileName);
    void saveMacroFile(QVariant macroFileName);
    bool loadProfile(int profile);
    void saveProfile(int profile);
    void resetProfile(int profile);
    void copyProfile(int destprofile, int srcprofile);
    QStringList getLangStrings(QString typeStr, QString langCode);
    QVariant createMacroIni(QVariant name, QVariant macroIndex);
    QVariant updataNameList(QVariant type, QStringList nameList);
    QVariant modifyMacroNameUpdateProfile(QVariant oldname, QVariant newname);
    void deleteMacroUpdateProfile(QVariant macroName);
    QVariant deleteMacroIni(QVariant name);
    QVariantList getNameList(QVariant type);
    QVariant saveMacroIni(QVariant name, QStringList macros, QVariant repeat);
    QVariant mouseSendMacroData(QVariantList macroData, QVariant macroIndex);
    QStringList loadMacroIni(QVariant name);
    void mouseSaveGundata(QVariant index, QVariantList src6);
    void mouseSendGundata(int gunIndex, QVariantList src6);
    void modifyGundata(QVariant modifyType, QVariantList src6);
    QVariantList getGunData(QVariant name);
    QStringList getGunDataKey();
    QVariant getXYSensitive(QVariant index);
    QVariant getselectGun(QVariant index);
    void setXYSensitive(QVariant index, QVariant xyData);
    void setSelectGun(QVariant index, QVariant xyData);
    void setCurrentProfile(int profile);
    void mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void mouseSetReportRate(uchar rate);
    void mouseSetCurrentDPI(uchar currentDPI);
    void mouseResetKeyMatrix();
    QVariant mouseGetCurrentDPI();
    void mouseSetKeyMatrix(QVariantList src64, bool isSendData, QVariantList otherParam);
    void mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray);
    void mouseSetRGBEffect(uchar effect, uchar option1, uchar option2);
    void mouseSetRGBColor(uchar type, QVariantList src24);
    void mouseSetFixColor(QVariantList src3);
    void mouseSetProfile(uint profileNo);
    void mouseReadProfile(uint profileNo);
    QVariant mouseReadCurrentProfile();
    void mouseSwitchKeyMatrix(int indexNo);
    QVariantList GetKeyboardoption();
    void mouseSetCursorSpeed(uint cursorSpeed);
    void mouseSetVerticalScrollLines(uint lines);
    void mouseSetDoubleClickSpeed(uint speed);
    QVariantList mouseGetKeydefine(QVariant index, bool isRecovery);
    void openUpdateExe();
    QVariant getData(QVariant key, bool isRecovery);
    QVariant getGlobalData(QVariant key);
    QVariantList getDataList(QVariant key, bool isRecovery);
    void setData(QVariant key, QVariant data);
    void setGlobalData(QVariant key, QVariant tmpdata);
    void setDataList(QVariant key, QVariantList datalist);
    void setBusy(int busyTime);
    void setCurrentDPI(int dpiValue);

private:
    using UnitOperation = std::function<void(DeviceCommands&)>;
    // Hands operation on the unit to the worker, which sends it in turn
    // (key: what it replaces, see CommandQueue); nothing without a unit.
    void send(const QString& key, UnitOperation operation);
    // Runs operation on the unit now, once what was sent before has gone
    // out: for the reads whose answer the caller returns.
    void ask(const UnitOperation& operation);

    bool callRoot(const char* name, const QVariantList& args, Qt::ConnectionType type);
    FileChooser& chooser();

    ProfileStore m_store;
    RootCaller m_callRoot;
    FileChooser* m_chooser = nullptr;
    std::function<void(bool)> m_setEnabled;
};
