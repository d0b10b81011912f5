// Button assignment: the key-matrix operations of the view, sent through
// the command set's unit.

#include "ViewCore.h"

#include "AppLog.h"
#include "DeviceCommands.h"
#include "KeyMatrix.h"

#include <array>

namespace {

QString pageEntryKey(int index)
{
    return QStringLiteral("mouseKeyMatrix/%1").arg(index);
}

QString firmwareEntryKey(int index)
{
    return QStringLiteral("mouseFwKeyMatrix/%1").arg(index);
}

// The factory page entry of button i: the factory profile's, or the shipped
// one when that is not usable either.
KeyMatrix::Entry factoryPageEntry(const ProfileStore& store, int i)
{
    QString fault;
    const QVariantList stored = store.getDataList(pageEntryKey(i), true);
    if (const std::optional<KeyMatrix::Entry> e = KeyMatrix::pageEntry(stored, &fault))
        return *e;
    qCDebug(skarnApp) << "the factory profile's" << pageEntryKey(i) << stored << fault << "- the shipped entry is used";
    return KeyMatrix::shippedPage[std::size_t(i)];
}

// The factory firmware entry of position i, likewise.
KeyMatrix::Entry factoryFirmwareEntry(const ProfileStore& store, int i, const KeyMatrix::DeviceForm& form)
{
    QString fault;
    const QVariantList stored = store.getDataList(firmwareEntryKey(i), true);
    if (const std::optional<KeyMatrix::Entry> e = KeyMatrix::deviceEntry(stored, &fault))
        return *e;
    qCDebug(skarnApp) << "the factory profile's" << firmwareEntryKey(i) << stored << fault
                      << "- the shipped entry is used";
    return KeyMatrix::transfer(KeyMatrix::shippedPage, form, {}).matrices[0][std::size_t(i)];
}

// The page a save sends: an entry that is broken or outside its class's
// range takes the button's factory entry, and a matrix that would leave the
// mouse without a left click gives button 1 its factory one.
KeyMatrix::Matrix pageToSend(const ProfileStore& store, const QVariantList& src64)
{
    KeyMatrix::Matrix page{};
    for (int i = 0; i < KeyMatrix::entryCount; ++i) {
        QString fault;
        const QVariantList values = KeyMatrix::entryValues(src64, i);
        if (const std::optional<KeyMatrix::Entry> e = KeyMatrix::pageEntry(values, &fault)) {
            page[std::size_t(i)] = *e;
            continue;
        }
        qCDebug(skarnApp) << "mouseSetKeyMatrix: button" << i + 1 << values << fault << "- its factory entry is sent";
        page[std::size_t(i)] = factoryPageEntry(store, i);
    }
    if (!KeyMatrix::sendsLeftClick(page)) {
        const KeyMatrix::Entry factory = factoryPageEntry(store, 0);
        page[0] = KeyMatrix::isLeftClick(factory) ? factory : KeyMatrix::shippedPage[0];
        qCDebug(skarnApp) << "mouseSetKeyMatrix: no button has the left click - button 1 gets its factory left click";
    }
    return page;
}

} // namespace

void ViewCore::mouseResetKeyMatrix()
{
    std::array<QVariantList, KeyMatrix::entryCount> stored;
    bool any = false;
    for (int i = 0; i < KeyMatrix::entryCount; ++i) {
        stored[std::size_t(i)] = m_store.getDataList(firmwareEntryKey(i), false);
        any = any || !stored[std::size_t(i)].isEmpty();
    }
    // Without any firmware entry the gun modes would get a matrix in which no
    // button works; the matrices on the device are better kept.
    if (!any) {
        qCDebug(skarnApp) << "mouseResetKeyMatrix: the current profile has no firmware matrix - nothing sent";
        return;
    }
    if (!device)
        return;
    const KeyMatrix::DeviceForm& form = device->keyMatrixForm();
    KeyMatrix::Matrix firmware{};
    for (int i = 0; i < KeyMatrix::entryCount; ++i) {
        QString fault;
        const std::optional<KeyMatrix::Entry> e = KeyMatrix::deviceEntry(stored[std::size_t(i)], &fault);
        if (!e)
            qCDebug(skarnApp) << "mouseResetKeyMatrix:" << firmwareEntryKey(i) << stored[std::size_t(i)] << fault
                              << "- the factory entry is sent";
        firmware[std::size_t(i)] = e ? *e : factoryFirmwareEntry(m_store, i, form);
    }
    send(QStringLiteral("gunMatrices"), [firmware](DeviceCommands& d) { d.resetGunMatrices(firmware); });
}

void ViewCore::mouseSetKeyMatrix(QVariantList src64, bool isSendData, QVariantList otherParam)
{
    if (src64.size() != KeyMatrix::valueCount)
        qCDebug(skarnApp) << "mouseSetKeyMatrix: got" << src64.size() << "values instead of" << KeyMatrix::valueCount
                          << "- missing ones are stored as 0, extra ones ignored";
    for (int i = 0; i < KeyMatrix::entryCount; ++i)
        m_store.setDataList(pageEntryKey(i), KeyMatrix::entryValues(src64, i));
    if (!isSendData)
        return;

    const KeyMatrix::Matrix page = pageToSend(m_store, src64);
    if (!device)
        return;
    bool periodsOk = true;
    const KeyMatrix::Periods periods = KeyMatrix::periodsFromValues(otherParam, &periodsOk);
    const KeyMatrix::Transfer transfer = KeyMatrix::transfer(page, device->keyMatrixForm(), periods);
    if (transfer.gun && !periodsOk)
        qCDebug(skarnApp) << "mouseSetKeyMatrix: gun periods" << otherParam
                          << "are not three numbers - missing or bad ones are 0";

    send(QStringLiteral("keyMatrices"), [transfer](DeviceCommands& d) { d.sendKeyMatrices(transfer); });
}

void ViewCore::mouseSwitchKeyMatrix(int indexNo)
{
    // The device has key matrices 1..4; any other number would reach it cut
    // to a byte and select something else or nothing.
    if (indexNo < 1 || indexNo > 4) {
        qCDebug(skarnApp) << "mouseSwitchKeyMatrix: no key matrix" << indexNo << "- nothing sent";
        return;
    }
    send(QStringLiteral("currentKeyMatrix"),
         [number = uchar(indexNo)](DeviceCommands& d) { d.switchKeyMatrix(number); });
}

QVariantList ViewCore::mouseGetKeydefine(QVariant index, bool isRecovery)
{
    bool ok = false;
    const int button = index.toString().toInt(&ok);
    if (!ok || button < 0 || button >= KeyMatrix::entryCount) {
        qCDebug(skarnApp) << "mouseGetKeydefine: no button" << index;
        return {};
    }
    const QVariantList stored = m_store.getDataList(pageEntryKey(button), isRecovery);
    if (stored.isEmpty() || stored.size() == 4)
        return stored;
    qCDebug(skarnApp) << "mouseGetKeydefine:" << pageEntryKey(button) << "holds" << stored.size()
                      << "values - missing ones are 0, extra ones ignored";
    return KeyMatrix::entryValues(stored, 0);
}
