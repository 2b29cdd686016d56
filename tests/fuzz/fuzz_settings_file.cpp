// The settings file reader on any bytes, and the mapping of what it reads
// (field bytes included) into a record and back into a file: refused or
// loaded, never a crash.
#include "settingsfile.h"
#include "settingsvalues.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const SettingsFileContent content = readSettingsDocument(&buffer, false);
    if (content.status == SettingsFileContent::Loaded && !content.errorString.isEmpty())
        __builtin_trap();
    const SettingsValues values = SettingsValues::fromPairs(content.pairs);
    (void)values.unknownKeysShown();
    (void)settingsDocument(settingsFilePairs(values.settings, QString(), true));
    return 0;
}
