#pragma once

#include <QJsonArray>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

class Hid_Thread;
class ViewCore;

// The operations under one prefix (such as "virtual."), given by whoever owns
// them. call gets the name without the prefix and follows the rules of
// CommandDispatcher::call; operations are their listing lines, prefix included.
struct PrefixHandler
{
    std::function<bool(const QString& name, const QJsonArray& arguments, QJsonValue* result, QString* error)> call;
    QStringList operations;
};

// Calls the view's operations, the HID worker's slots ("hid.<slot>") and the
// operations of registered prefix handlers by name with JSON arguments, and
// gives the result as JSON. Arguments are checked against the parameter types
// before anything is called, so a call that fails does nothing.
//
// Parameter types: QVariant takes any JSON value; int/uint an integer in
// range; uchar (and uchar&) an integer 0..255; uchar* an array of at most 256
// integers 0..255 (zero-padded); bool true/false; QString a string;
// QStringList an array of strings; QVariantList any array.
//
// Results: the operation's value (null for none); for a HID slot with
// reference parameters the array of their values afterwards; for
// hid560_8CH_readProfile the 128 bytes read; for USBDataEncryption and
// USBDataDecipher the 8 bytes of the frame. GUI thread.
class CommandDispatcher
{
public:
    CommandDispatcher(ViewCore& view, Hid_Thread& hid);

    // Operations starting with prefix go to handler, before the HID worker's
    // and the view's; its listing follows theirs, in the order of
    // registration.
    void addPrefixHandler(const QString& prefix, PrefixHandler handler);

    bool call(const QString& operation, const QJsonArray& arguments, QJsonValue* result, QString* error);

    // One command-line argument as JSON; a word that is not JSON (and does
    // not look like it) is a string. False with a message for broken JSON.
    static bool parseArgument(const QString& text, QJsonValue* value, QString* error);

    // Every operation with its parameter list, for --help.
    QStringList operations() const;

private:
    bool callMeta(QObject* target, const QString& name, const QJsonArray& arguments, bool hidSlot, QJsonValue* result,
                  QString* error);

    ViewCore& m_view;
    Hid_Thread& m_hid;
    std::vector<std::pair<QString, PrefixHandler>> m_handlers;
};
