// GDBus declares struct members named "signals", which Qt defines as a
// keyword: GIO goes first.
#ifndef _WIN32
#include <gio/gio.h>
#endif

#include "PointerSettings.h"

#include "KdePointerSettings.h"
#include "PlatformLog.h"

#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QByteArray>

#include <limits>
#endif

namespace {

PointerSettings* overriding = nullptr;

// The desktop's own: Windows; on Linux KDE Plasma's files when the session
// says it is Plasma, else GNOME's settings (which fail where no GNOME schema
// is installed).
std::unique_ptr<PointerSettings> createPlatform()
{
#ifdef Q_OS_WIN
    return std::make_unique<WindowsPointerSettings>();
#else
    if (KdePointerSettings::isKde(qgetenv("XDG_CURRENT_DESKTOP"))) {
        const bool wayland =
            qgetenv("XDG_SESSION_TYPE") == "wayland" || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
        return std::make_unique<KdePointerSettings>(
            KdePointerSettings::configHome(qEnvironmentVariable("XDG_CONFIG_HOME"), qEnvironmentVariable("HOME")),
            wayland);
    }
    return std::make_unique<GSettingsPointerSettings>();
#endif
}

} // namespace

PointerSettings& PointerSettings::current()
{
    if (overriding)
        return *overriding;
    static const std::unique_ptr<PointerSettings> platform = createPlatform();
    return *platform;
}

void PointerSettings::setDefault(PointerSettings* settings)
{
    overriding = settings;
}

quint32 PointerSettings::speedOfStep(quint32 step)
{
    const quint32 speed = step * 2u;
    return speed == 0 ? 1u : speed;
}

quint32 PointerSettings::doubleClickTimeOfStep(quint32 step)
{
    return 900u - 70u * step;
}

#ifdef Q_OS_WIN

namespace {

constexpr UINT updateAndBroadcast = SPIF_UPDATEINIFILE | SPIF_SENDCHANGE;

} // namespace

bool WindowsPointerSettings::setSpeed(quint32 speed)
{
    // The speed travels as the pointer value itself.
    return SystemParametersInfoW(SPI_SETMOUSESPEED, 0, reinterpret_cast<PVOID>(static_cast<UINT_PTR>(speed)),
                                 updateAndBroadcast) != 0;
}

bool WindowsPointerSettings::setDoubleClickTime(quint32 ms)
{
    return SystemParametersInfoW(SPI_SETDOUBLECLICKTIME, ms, nullptr, updateAndBroadcast) != 0;
}

bool WindowsPointerSettings::setWheelScrollLines(quint32 lines)
{
    return SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, lines, nullptr, updateAndBroadcast) != 0;
}

#else

namespace {

struct GObjectUnref
{
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct SchemaUnref
{
    void operator()(GSettingsSchema* schema) const { g_settings_schema_unref(schema); }
};
struct SchemaKeyUnref
{
    void operator()(GSettingsSchemaKey* key) const { g_settings_schema_key_unref(key); }
};
struct VariantUnref
{
    void operator()(GVariant* value) const { g_variant_unref(value); }
};

using SettingsPtr = std::unique_ptr<GSettings, GObjectUnref>;
using BackendPtr = std::unique_ptr<GSettingsBackend, GObjectUnref>;
using SchemaPtr = std::unique_ptr<GSettingsSchema, SchemaUnref>;
using SchemaKeyPtr = std::unique_ptr<GSettingsSchemaKey, SchemaKeyUnref>;
using VariantPtr = std::unique_ptr<GVariant, VariantUnref>;

// Looked up rather than opened by id: g_settings_new aborts the process when
// the schema is missing.
SchemaPtr lookupSchema()
{
    GSettingsSchemaSource* source = g_settings_schema_source_get_default(); // not owned; null without any schema
    if (!source)
        return nullptr;
    return SchemaPtr(g_settings_schema_source_lookup(source, GSettingsPointerSettings::schemaId, TRUE));
}

// GSettings falls back to its memory backend when no real one is installed;
// a value written there reaches no one, unless the memory backend was asked
// for (tests do).
bool reachesDesktop(GSettings* settings)
{
    GSettingsBackend* raw = nullptr;
    g_object_get(settings, "backend", &raw, nullptr);
    const BackendPtr backend(raw);
    if (!backend)
        return false;
    const bool memory = qstrcmp(G_OBJECT_TYPE_NAME(backend.get()), "GMemorySettingsBackend") == 0;
    return !memory || qgetenv("GSETTINGS_BACKEND") == "memory";
}

// Writes value (a floating reference, taken here) under key; false when it
// was not applied.
bool write(const char* key, GVariant* floating)
{
    const VariantPtr value(g_variant_ref_sink(floating));
    const SchemaPtr schema = lookupSchema();
    if (!schema) {
        qCDebug(skarnPlatform) << "pointer settings: schema" << GSettingsPointerSettings::schemaId
                               << "is not installed";
        return false;
    }
    if (!g_settings_schema_has_key(schema.get(), key)) {
        qCDebug(skarnPlatform) << "pointer settings: the schema has no key" << key;
        return false;
    }
    const SchemaKeyPtr schemaKey(g_settings_schema_get_key(schema.get(), key));
    if (!g_variant_is_of_type(value.get(), g_settings_schema_key_get_value_type(schemaKey.get())) ||
        !g_settings_schema_key_range_check(schemaKey.get(), value.get())) {
        qCDebug(skarnPlatform) << "pointer settings: value out of range for" << key;
        return false;
    }
    const SettingsPtr settings(g_settings_new_full(schema.get(), nullptr, nullptr));
    if (!reachesDesktop(settings.get())) {
        qCDebug(skarnPlatform) << "pointer settings: no settings backend stores" << key;
        return false;
    }
    if (!g_settings_set_value(settings.get(), key, value.get())) {
        qCDebug(skarnPlatform) << "pointer settings: key" << key << "is not writable";
        return false;
    }
    // Writes are asynchronous and a backend that cannot store them (dconf
    // without a session bus) only warns and drops them: wait for the write,
    // then see whether the value stayed.
    g_settings_sync();
    const VariantPtr now(g_settings_get_value(settings.get(), key));
    if (!g_variant_equal(now.get(), value.get())) {
        qCDebug(skarnPlatform) << "pointer settings: the settings backend did not keep" << key;
        return false;
    }
    return true;
}

} // namespace

bool GSettingsPointerSettings::setSpeed(quint32 speed)
{
    return write("speed", g_variant_new_double(gnomeSpeed(speed)));
}

bool GSettingsPointerSettings::setDoubleClickTime(quint32 ms)
{
    // The key is a signed 32-bit integer.
    if (ms > quint32(std::numeric_limits<gint32>::max())) {
        qCDebug(skarnPlatform) << "pointer settings: double-click time" << ms << "is out of range";
        return false;
    }
    return write("double-click", g_variant_new_int32(gint32(ms)));
}

bool GSettingsPointerSettings::setWheelScrollLines(quint32 lines)
{
    Q_UNUSED(lines);
    return false;
}

bool GSettingsPointerSettings::schemaInstalled()
{
    return lookupSchema() != nullptr;
}

double GSettingsPointerSettings::gnomeSpeed(quint32 speed)
{
    return qBound(-1.0, (double(speed) - 10.0) / 10.0, 1.0);
}

#endif

bool FakePointerSettings::setSpeed(quint32 value)
{
    speed = value;
    return speedResult;
}

bool FakePointerSettings::setDoubleClickTime(quint32 ms)
{
    doubleClickTime = ms;
    return doubleClickResult;
}

bool FakePointerSettings::setWheelScrollLines(quint32 lines)
{
    wheelLines = lines;
    return wheelLinesResult;
}
