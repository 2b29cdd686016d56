#pragma once

#include <QString>

class QFileDevice;
class QXmlStreamReader;

namespace FileSupport {

// No document this system reads needs entity expansion at all; the limit is
// a second line of defence behind the DTD check of the settings reader.
constexpr int EntityExpansionLimit = 1024;

void limitReader(QXmlStreamReader &reader);

// A readable reason why `file` could not be opened under `fileName`. Qt's
// own text is "Unknown error" for a folder or a missing parent folder, which
// tells the operator nothing.
QString openFailureReason(const QString &fileName, const QFileDevice &file);

} // namespace FileSupport
