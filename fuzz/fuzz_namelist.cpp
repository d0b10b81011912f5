// Name lists (name.bin): every list type of any file, then a store and
// read-back of the lists found.

#include "FuzzSupport.h"
#include "NameList.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = QStringLiteral("name.bin");
    FuzzSupport::writeInput(path, FuzzSupport::bytes(data, size));
    for (uint type = 0; type <= 4; ++type) {
        const QVariantList stored = NameList::get(path, type);
        QStringList names;
        for (const QVariant& v : stored)
            if (v.toString() != NameList::filler)
                names << v.toString();
        if (NameList::keyOf(type).isEmpty() || names.isEmpty())
            continue;
        NameList::update(path, type, names);
        QStringList back;
        for (const QVariant& v : NameList::get(path, type))
            if (v.toString() != NameList::filler)
                back << v.toString();
        FUZZ_CHECK(back == names);
    }
    QFile::remove(path);
    return 0;
}
