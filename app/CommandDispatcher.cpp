#include "CommandDispatcher.h"

#include "Hid_Thread.h"
#include "ViewCore.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaMethod>
#include <QVariant>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

// Storage for one argument of a meta-call, alive until the call returns.
struct Argument
{
    QVariant value;            // by-value parameters
    uchar byte = 0;            // uchar&
    std::vector<uchar> buffer; // uchar*
    uchar* pointer = nullptr;  // what a uchar* parameter receives
    bool isReference = false;
    bool isPointer = false;
};

QString jsonText(const QJsonValue& v)
{
    if (v.isString())
        return QLatin1Char('"') + v.toString() + QLatin1Char('"');
    return QString::fromUtf8(QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}

// True when d is a whole number within [low, high]. Checked on the double
// before any conversion: converting a double that is out of the target's
// range (1e32, infinity, NaN) is undefined behaviour.
bool wholeInRange(double d, qint64 low, qint64 high)
{
    // The bounds in use are exact as doubles (below 2^53).
    Q_ASSERT(low > -(qint64(1) << 53) && high < (qint64(1) << 53));
    return std::isfinite(d) && d >= double(low) && d <= double(high) && d == std::trunc(d);
}

// JSON numbers are doubles; the pages pass whole numbers as ints.
QVariant toVariant(const QJsonValue& v)
{
    if (v.isDouble()) {
        const double d = v.toDouble();
        if (wholeInRange(d, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()))
            return int(d);
        return d;
    }
    if (v.isArray()) {
        QVariantList list;
        for (const QJsonValue& item : v.toArray())
            list.append(toVariant(item));
        return list;
    }
    return v.toVariant();
}

bool integer(const QJsonValue& v, qint64 low, qint64 high, qint64* out)
{
    if (!v.isDouble())
        return false;
    const double d = v.toDouble();
    if (!wholeInRange(d, low, high))
        return false;
    *out = qint64(d);
    return true;
}

bool convert(const QMetaType& type, const QJsonValue& v, Argument* a, QString* why)
{
    const QByteArray name = type.name();
    qint64 n = 0;
    if (name == "QVariant") {
        a->value = toVariant(v);
    } else if (name == "int") {
        if (!integer(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), &n))
            return *why = QStringLiteral("an integer -2147483648..2147483647"), false;
        a->value = int(n);
    } else if (name == "uint") {
        if (!integer(v, 0, std::numeric_limits<uint>::max(), &n))
            return *why = QStringLiteral("an integer 0..4294967295"), false;
        a->value = uint(n);
    } else if (name == "uchar") {
        if (!integer(v, 0, 255, &n))
            return *why = QStringLiteral("an integer 0..255"), false;
        a->value = QVariant::fromValue(uchar(n));
    } else if (name == "bool") {
        if (!v.isBool())
            return *why = QStringLiteral("true or false"), false;
        a->value = v.toBool();
    } else if (name == "QString") {
        if (!v.isString())
            return *why = QStringLiteral("a string"), false;
        a->value = v.toString();
    } else if (name == "QStringList") {
        if (!v.isArray())
            return *why = QStringLiteral("an array of strings"), false;
        QStringList list;
        for (const QJsonValue& item : v.toArray()) {
            if (!item.isString())
                return *why = QStringLiteral("an array of strings"), false;
            list.append(item.toString());
        }
        a->value = list;
    } else if (name == "QVariantList") {
        if (!v.isArray())
            return *why = QStringLiteral("an array"), false;
        a->value = toVariant(v).toList();
    } else {
        return *why = QStringLiteral("a value of type %1, which the command line cannot give")
                          .arg(QString::fromLatin1(name)),
               false;
    }
    return true;
}

QJsonArray bytesJson(const uchar* data, int n)
{
    QJsonArray array;
    for (int i = 0; i < n; ++i)
        array.append(int(data[i]));
    return array;
}

QString signature(const QMetaMethod& m, const QString& prefix)
{
    QStringList params;
    for (int i = 0; i < m.parameterCount(); ++i)
        params << QString::fromLatin1(m.parameterTypeName(i)) + QLatin1Char(' ') +
                      QString::fromLatin1(m.parameterNames().value(i));
    return prefix + QString::fromLatin1(m.name()) + QLatin1Char('(') + params.join(QStringLiteral(", ")) +
           QLatin1Char(')');
}

// The public slots, and the view's invokables marked SKARN_COMMAND.
bool offered(const QMetaMethod& m, bool hidSlot)
{
    return m.access() == QMetaMethod::Public &&
           (m.methodType() == QMetaMethod::Slot ||
            (!hidSlot && m.methodType() == QMetaMethod::Method && qstrcmp(m.tag(), "SKARN_COMMAND") == 0));
}

} // namespace

CommandDispatcher::CommandDispatcher(ViewCore& view, Hid_Thread& hid)
    : m_view(view)
    , m_hid(hid)
{
}

void CommandDispatcher::addPrefixHandler(const QString& prefix, PrefixHandler handler)
{
    m_handlers.emplace_back(prefix, std::move(handler));
}

bool CommandDispatcher::parseArgument(const QString& text, QJsonValue* value, QString* error)
{
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray("[") + text.toUtf8() + "]", &parse);
    if (parse.error == QJsonParseError::NoError && doc.array().size() == 1) {
        *value = doc.array().first();
        return true;
    }
    const QString t = text.trimmed();
    const bool looksLikeJson = t.isEmpty() || t.startsWith(QLatin1Char('[')) || t.startsWith(QLatin1Char('{')) ||
                               t.startsWith(QLatin1Char('"')) || t.at(0).isDigit() || t.startsWith(QLatin1Char('-'));
    if (looksLikeJson) {
        *error = QStringLiteral("argument %1 is not valid JSON").arg(text);
        return false;
    }
    *value = text; // a bare word: a string
    return true;
}

bool CommandDispatcher::call(const QString& operation, const QJsonArray& arguments, QJsonValue* result, QString* error)
{
    for (const auto& [prefix, handler] : m_handlers)
        if (operation.startsWith(prefix))
            return handler.call(operation.mid(prefix.size()), arguments, result, error);
    if (operation.startsWith(QLatin1String("hid.")))
        return callMeta(&m_hid, operation.mid(4), arguments, true, result, error);
    return callMeta(&m_view, operation, arguments, false, result, error);
}

bool CommandDispatcher::callMeta(QObject* target, const QString& name, const QJsonArray& arguments, bool hidSlot,
                                 QJsonValue* result, QString* error)
{
    const QMetaObject* mo = target->metaObject();
    int index = -1;
    for (int i = mo->methodOffset(); i < mo->methodCount(); ++i) {
        const QMetaMethod m = mo->method(i);
        if (offered(m, hidSlot) && QString::fromLatin1(m.name()) == name) {
            index = i;
            break;
        }
    }
    if (index < 0) {
        *error = QStringLiteral("unknown operation %1%2").arg(hidSlot ? QStringLiteral("hid.") : QString(), name);
        return false;
    }
    const QMetaMethod method = mo->method(index);
    if (method.parameterCount() != arguments.size()) {
        *error = QStringLiteral("%1 takes %2 argument(s), %3 given: %4")
                     .arg(name)
                     .arg(method.parameterCount())
                     .arg(arguments.size())
                     .arg(signature(method, hidSlot ? QStringLiteral("hid.") : QString()));
        return false;
    }

    // Everything is converted before the call, so a bad argument calls nothing.
    std::vector<Argument> args(std::size_t(arguments.size()));
    for (int i = 0; i < method.parameterCount(); ++i) {
        Argument& a = args[std::size_t(i)];
        const QByteArray typeName = method.parameterTypeName(i);
        const QJsonValue& v = arguments.at(i);
        QString why;
        qint64 n = 0;
        if (typeName == "uchar&") {
            if (!integer(v, 0, 255, &n)) {
                *error = QStringLiteral("argument %1 of %2 must be an integer 0..255, not %3")
                             .arg(i + 1)
                             .arg(name, jsonText(v));
                return false;
            }
            a.isReference = true;
            a.byte = uchar(n);
        } else if (typeName == "uchar*") {
            if (!v.isArray() || v.toArray().size() > 256) {
                *error = QStringLiteral("argument %1 of %2 must be an array of at most 256 bytes, not %3")
                             .arg(i + 1)
                             .arg(name, jsonText(v));
                return false;
            }
            a.isPointer = true;
            a.buffer.assign(256, 0);
            const QJsonArray bytes = v.toArray();
            for (qsizetype k = 0; k < bytes.size(); ++k) {
                if (!integer(bytes.at(k), 0, 255, &n)) {
                    *error = QStringLiteral("argument %1 of %2: element %3 must be an integer 0..255")
                                 .arg(i + 1)
                                 .arg(name)
                                 .arg(k);
                    return false;
                }
                a.buffer[std::size_t(k)] = uchar(n);
            }
            a.pointer = a.buffer.data();
        } else if (!convert(method.parameterMetaType(i), v, &a, &why)) {
            *error = QStringLiteral("argument %1 of %2 must be %3, not %4").arg(i + 1).arg(name, why, jsonText(v));
            return false;
        }
    }

    QVariant returned;
    if (method.returnMetaType().id() != QMetaType::Void)
        returned = QVariant(method.returnMetaType());
    std::vector<void*> argv(std::size_t(args.size()) + 1);
    argv[0] = returned.isValid() ? returned.data() : nullptr;
    for (std::size_t i = 0; i < args.size(); ++i) {
        Argument& a = args[i];
        argv[i + 1] = a.isReference ? static_cast<void*>(&a.byte)
                      : a.isPointer ? static_cast<void*>(&a.pointer)
                                    : a.value.data();
    }
    QMetaObject::metacall(target, QMetaObject::InvokeMetaMethod, index, argv.data());

    if (returned.isValid()) {
        QVariant v = returned.metaType().id() == QMetaType::QVariant ? returned.value<QVariant>() : returned;
        if (v.metaType().id() == QMetaType::UChar)
            v = int(v.value<uchar>());
        *result = QJsonValue::fromVariant(v);
        return true;
    }
    *result = QJsonValue();
    if (hidSlot) {
        QJsonArray references;
        for (const Argument& a : args)
            if (a.isReference)
                references.append(int(a.byte));
        if (!references.isEmpty())
            *result = references;
        else if (name == QLatin1String("hid560_8CH_readProfile"))
            *result = bytesJson(args[0].buffer.data(), 128);
        else if (name == QLatin1String("USBDataEncryption") || name == QLatin1String("USBDataDecipher"))
            *result = bytesJson(args[0].buffer.data(), 8);
    }
    return true;
}

QStringList CommandDispatcher::operations() const
{
    QStringList list;
    auto add = [&](const QMetaObject& mo, const QString& prefix) {
        for (int i = mo.methodOffset(); i < mo.methodCount(); ++i) {
            const QMetaMethod m = mo.method(i);
            if (offered(m, !prefix.isEmpty()))
                list << signature(m, prefix);
        }
    };
    add(ViewCore::staticMetaObject, QString());
    add(Hid_Thread::staticMetaObject, QStringLiteral("hid."));
    for (const auto& entry : m_handlers)
        list << entry.second.operations;
    return list;
}
