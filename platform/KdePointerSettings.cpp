#include "KdePointerSettings.h"

#include "PlatformLog.h"
#include "X11PointerSpeed.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

namespace {

const QString inputFile = QStringLiteral("kcminputrc");
const QString globalsFile = QStringLiteral("kdeglobals");

// KGlobalSettings' change type "settings changed" and its category "mouse":
// KDE programs re-read their double-click and wheel settings on it.
constexpr int settingsChanged = 3;
constexpr int mouseSettings = 0;

// Written completely, flushed and checked before the rename, so a full disk
// leaves the old file as it was.
bool writeAll(const QString& path, const QByteArray& bytes)
{
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        qCDebug(skarnPlatform) << "pointer settings: cannot write" << path << "-" << out.errorString();
        return false;
    }
    if (out.write(bytes) != bytes.size() || !out.flush()) {
        qCDebug(skarnPlatform) << "pointer settings: cannot write" << path << "-" << out.errorString();
        out.cancelWriting();
        out.commit();
        return false;
    }
    if (!out.commit()) {
        qCDebug(skarnPlatform) << "pointer settings: cannot write" << path << "-" << out.errorString();
        return false;
    }
    return true;
}

void announceOnBus(KdePointerSettings::Change change)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCDebug(skarnPlatform) << "pointer settings: no session bus; programs see the change when they start";
        return;
    }
    QDBusMessage notify = QDBusMessage::createSignal(
        QStringLiteral("/KGlobalSettings"), QStringLiteral("org.kde.KGlobalSettings"), QStringLiteral("notifyChange"));
    notify << settingsChanged << mouseSettings;
    if (!bus.send(notify))
        qCDebug(skarnPlatform) << "pointer settings: notifyChange not sent -" << bus.lastError().message();
    if (change != KdePointerSettings::Change::Speed)
        return;
    // Not waited for: a session without KWin simply has no one to answer.
    QDBusMessage reconfigure =
        QDBusMessage::createMethodCall(QStringLiteral("org.kde.KWin"), QStringLiteral("/KWin"),
                                       QStringLiteral("org.kde.KWin"), QStringLiteral("reconfigure"));
    reconfigure.setAutoStartService(false);
    if (!bus.send(reconfigure))
        qCDebug(skarnPlatform) << "pointer settings: KWin reconfigure not sent -" << bus.lastError().message();
}

// A KConfig key with its options split off: "Key[$e]" is ("Key", "[$e]").
std::pair<QByteArray, QByteArray> splitKey(const QByteArray& key)
{
    const qsizetype bracket = key.indexOf('[');
    if (bracket < 0)
        return {key, QByteArray()};
    return {key.left(bracket).trimmed(), key.mid(bracket)};
}

} // namespace

KdePointerSettings::KdePointerSettings(const QString& configHome, bool wayland, Announcer announce, LiveSpeed liveSpeed)
    : m_configHome(configHome)
    , m_wayland(wayland)
    , m_announce(announce ? std::move(announce) : Announcer(announceOnBus))
    , m_liveSpeed(liveSpeed ? std::move(liveSpeed) : LiveSpeed(X11PointerSpeed::apply))
{
}

bool KdePointerSettings::isKde(const QByteArray& currentDesktop)
{
    const QList<QByteArray> names = currentDesktop.split(':');
    return names.contains("KDE");
}

QString KdePointerSettings::configHome(const QString& xdgConfigHome, const QString& home)
{
    if (!xdgConfigHome.isEmpty() && QDir::isAbsolutePath(xdgConfigHome))
        return QDir::cleanPath(xdgConfigHome);
    return QDir::cleanPath(home + QStringLiteral("/.config"));
}

QByteArray KdePointerSettings::acceleration(quint32 speed)
{
    const double value = qBound(-1.0, (double(speed) - 10.0) / 10.0, 1.0);
    return QByteArray::number(value, 'g', 3);
}

bool KdePointerSettings::setSpeed(quint32 speed)
{
    if (m_wayland) {
        // KWin keeps the speed per device and applies it from its own
        // settings page; a global value would reach no mouse.
        qCDebug(skarnPlatform) << "pointer settings: Plasma on Wayland has no global pointer speed";
        return false;
    }
    const QByteArray value = acceleration(speed);
    if (!write(inputFile, "[Mouse]", "XLbInptPointerAcceleration", value, Change::Speed))
        return false;
    // Stored for every later session; the running one gets it now where its
    // devices can be reached.
    const int devices = m_liveSpeed(value.toDouble());
    if (devices <= 0)
        qCDebug(skarnPlatform)
            << "pointer settings: no pointing device took the speed now; it applies from the next login";
    return true;
}

bool KdePointerSettings::setDoubleClickTime(quint32 ms)
{
    return write(globalsFile, "[KDE]", "DoubleClickInterval", QByteArray::number(ms), Change::Globals);
}

bool KdePointerSettings::setWheelScrollLines(quint32 lines)
{
    if (lines == 1000) {
        qCDebug(skarnPlatform) << "pointer settings: Plasma has no one-screen wheel setting";
        return false;
    }
    return write(globalsFile, "[KDE]", "WheelScrollLines", QByteArray::number(lines), Change::Globals);
}

bool KdePointerSettings::write(const QString& file, const QByteArray& group, const QByteArray& key,
                               const QByteArray& value, Change change)
{
    const QString path = QDir(m_configHome).filePath(file);
    QByteArray text;
    QFile in(path);
    if (in.exists()) {
        if (!in.open(QIODevice::ReadOnly)) {
            qCDebug(skarnPlatform) << "pointer settings: cannot read" << path << "-" << in.errorString();
            return false;
        }
        text = in.readAll();
        if (in.error() != QFileDevice::NoError) {
            qCDebug(skarnPlatform) << "pointer settings: cannot read" << path << "-" << in.errorString();
            return false;
        }
    }
    const std::optional<QByteArray> updated = withEntry(text, group, key, value);
    if (!updated) {
        qCDebug(skarnPlatform) << "pointer settings:" << key << "in" << path << "is locked";
        return false;
    }
    if (*updated != text) {
        if (!QDir().mkpath(m_configHome) || !writeAll(path, *updated))
            return false;
    }
    m_announce(change);
    return true;
}

std::optional<QByteArray> KdePointerSettings::withEntry(const QByteArray& text, const QByteArray& group,
                                                        const QByteArray& key, const QByteArray& value)
{
    QList<QByteArray> lines = text.split('\n');
    if (text.endsWith('\n') || text.isEmpty())
        lines.removeLast();
    const QByteArray entry = key + '=' + value;

    bool inGroup = false;
    bool groupSeen = false;
    bool anyGroup = false;
    bool replaced = false;
    qsizetype insertAt = -1; // after the group's last entry
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            // "[$i]" before any group locks the whole file.
            if (line == "[$i]" && !anyGroup)
                return std::nullopt;
            anyGroup = true;
            QByteArray name = line;
            const bool locked = name.endsWith("[$i]");
            if (locked)
                name.chop(4);
            inGroup = name == group;
            if (inGroup) {
                if (locked)
                    return std::nullopt;
                groupSeen = true;
                insertAt = i + 1;
            }
            continue;
        }
        if (!inGroup)
            continue;
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        insertAt = i + 1;
        const auto [name, options] = splitKey(line.left(equals).trimmed());
        if (name != key)
            continue;
        if (options.contains("$i"))
            return std::nullopt;
        // "Key[de]": the value in another language, a different entry.
        if (!options.isEmpty() && !options.startsWith("[$"))
            continue;
        lines[i] = entry;
        replaced = true;
    }
    if (!replaced) {
        if (groupSeen) {
            lines.insert(insertAt, entry);
        } else {
            if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
                lines.append(QByteArray());
            lines.append(group);
            lines.append(entry);
        }
    }
    return lines.join('\n') + '\n';
}
