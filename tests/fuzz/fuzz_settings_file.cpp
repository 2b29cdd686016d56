// The settings file reader on any bytes: refused or loaded, never a crash.
#include "settingsfile.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const SettingsFileContent content = readSettingsDocument(&buffer, false);
    if (content.status == SettingsFileContent::Loaded && !content.errorString.isEmpty())
        __builtin_trap();
    return 0;
}
