// The upload list reader on any bytes: the names before the first error,
// never a crash.
#include "uploadlist.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    if (!readUploadListDocument(&buffer).opened)
        __builtin_trap();
    return 0;
}
