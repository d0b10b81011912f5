#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What the fuzz targets share: a quiet, window-less application object, a
// private scratch folder that becomes the working directory (so the readers'
// relative "./modules/..." paths land there and never on the user's files),
// and one input file per target, rewritten for each input with a time of its
// own: the settings library caches files by name, size and time, so it reads
// every input anew, and its cache (which the leak check scans after every
// input) does not grow with a new name per input.
namespace FuzzSupport {

// Creates the application object once, drops debug output (the readers
// explain every malformed value, which would drown the fuzzer's own lines)
// and makes the scratch folder the working directory, with the folders of
// modules/ in it. Every target's LLVMFuzzerInitialize (defined here) calls
// it, then prepare().
void init(int* argc, char*** argv);

// A target's own set-up after init(), in the scratch folder; a target that
// needs none does not define it.
void prepare();

// The scratch folder (absolute).
QString scratch();

// Writes bytes to path (relative to the scratch folder or absolute).
void writeFile(const QString& path, const QByteArray& bytes);

// Writes one input to path, the same path for every input of a target, and
// gives the file a modification time no earlier write in this process had.
void writeInput(const QString& path, const QByteArray& bytes);

inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Splits the input at the first byte 0x00 into a head (for example a name or
// a tag) and the rest; without one the head is empty.
void split(const QByteArray& input, QByteArray* head, QByteArray* rest);

} // namespace FuzzSupport

// A failed check aborts, which libFuzzer reports as a crash with the input.
#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            FuzzSupport::fail(#condition, __FILE__, __LINE__);                                                         \
    } while (false)

namespace FuzzSupport {
[[noreturn]] void fail(const char* condition, const char* file, int line);
}
