#pragma once

#include <QString>

class QFileDevice;
class QXmlStreamReader;

namespace FileSupport {

// No document this system reads needs entity expansion at all. The settings
// reader refuses every DOCTYPE anyway; the upload list reader, lenient by
// design, relies on this limit to stop nested-entity bombs.
constexpr int EntityExpansionLimit = 1024;

void limitReader(QXmlStreamReader &reader);

// A readable reason why `file` could not be opened under `fileName`. Qt's
// own text is "Unknown error" for a folder or a missing parent folder, which
// tells the operator nothing.
QString openFailureReason(const QString &fileName, const QFileDevice &file);

} // namespace FileSupport
