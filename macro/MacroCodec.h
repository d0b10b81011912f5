#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <functional>

// The macro payload the mouse plays, built from a macro's action list. Pure
// functions; any thread.
//
// An action is a type and its information: type 0 Delay (milliseconds),
// 1 KeyPress, 2 KeyRelease, 3 MousePress, 4 MouseRelease (the key's name).
// The payload is a list of bytes:
//   repeat high, repeat low,
//   one pair (D, K) per key or button action, in play order, where K is the
//   key code and D the wait after the action in 10 ms units (1..126), with
//   bit 7 set for a release; D = 0 announces a long wait in two extension
//   pairs (0x00, mode) (count high, count low): mode 1 counts 20 ms (waits of
//   127..99,999 units), mode 2 50 ms (100,000..299,999), mode 3 100 ms
//   (300,000..599,999), the count rounded down;
//   the end pair (0x00, 0x00).
// Delays before the first action and after the last are not encoded; the
// last action waits 10 ms. Without any action the payload is the two repeat
// bytes alone.
//
// Choices the format leaves open:
// - Waits that are not whole 10 ms units: the milliseconds of the delays
//   between two actions are added up first and the sum is rounded once to the
//   nearest unit, halves up (55 ms plays as 60 ms, 54 ms as 50 ms, five
//   delays of 5 ms as 30 ms). Rounding each entry on its own would let the
//   error grow with the number of entries, and rounding down would play a
//   typed 59 ms as 50 ms. A delay that is not a number of milliseconds
//   counts as 0.
// - Waits of 600,000 units (6000 s) or more have no mode of their own; they
//   are clamped to 599,999 units (mode 3, count 59,999: 5999.9 s). Splitting
//   such a wait would need extra action pairs, which the device would play
//   as key events of their own, and the payload would no longer have the
//   length encodedLength gives; a wait of over 100 minutes losing its excess
//   is the smaller surprise.
// - The repeat count is a 16-bit number: a value that is not a number counts
//   as 0, fractions are dropped and it is clamped to 0..65535.
// - Entries of an unknown type are skipped.
//
// The device takes at most payloadLimit bytes. A list that encodes longer is
// cut after the last action at which every key and button it pressed has been
// released again and the cut payload, closed with the end pair, still fits;
// so the mouse never receives a press without its release. Without such a
// point the payload holds no action. encodedLength counts the whole list, cut
// or not, since the editor limits the list by it.
namespace MacroCodec {

enum ActionType { Delay = 0, KeyPress = 1, KeyRelease = 2, MousePress = 3, MouseRelease = 4 };

struct Action
{
    int type = -1; // anything but 0..4 is skipped
    QString info;
};

constexpr int payloadLimit = 128;

// The code of a key name, 0 for a name that is none.
using KeyLookup = std::function<quint8(const QString& name)>;

// The actions of a stored macro as the library reads it: every string but the
// last (the repeat count), type from the leading digits, information from the
// third character on.
QList<Action> actionsFromStrings(const QStringList& stored);

// The actions of the pages' list of {type, info} entries. A type is read as
// its leading whole number ("2", 2, 2.5 are KeyRelease); an absent info is "".
QList<Action> actionsFromVariants(const QVariantList& entries);

// The payload of actions played repeat times: at most payloadLimit bytes.
QByteArray encode(const QList<Action>& actions, const QVariant& repeat, const KeyLookup& keyCode);

// The encoded length of the whole list, repeat bytes and end pair included:
// 4 + 2 per action + 4 per wait of 127 units or more between two actions;
// 2 without any action.
int encodedLength(const QList<Action>& actions);

// The key names macros are stored with: the codes in the order of the pages'
// key-name list and the names shown without a language file.
constexpr int keyNameCount = 133;
extern const std::array<quint8, keyNameCount> keyNameCodes;
QStringList builtInKeyNames();

// A language's key names (in the order above) over the built-in ones: an
// empty entry keeps the built-in name; a list of another length would put
// names on the wrong keys and is not used. The lookup gives the code of the
// first position bearing the name.
KeyLookup keyNameLookup(const QStringList& languageNames);

} // namespace MacroCodec
