#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tarvane {

// Files reached by the names the system gives them. A Linux file name is any bytes, while Qt
// turns the bytes of a name that are not UTF-8 into U+FFFD, so a folder named in another
// encoding could never be reached again. Here each such byte is kept in the QString as a
// lone surrogate U+DC80 to U+DCFF, which no UTF-8 text decodes to, and comes back as itself.

QString DecodeFileName(QByteArrayView native);
QByteArray EncodeFileName(QStringView name);

// The target of a symbolic link (such as /proc/self/exe); empty when it cannot be read.
QString SymLinkTarget(const QString& link);

// Whether something, even a link that names nothing, has this name.
bool FileExists(const QString& name);

// Whether name is a regular file, a link counting as what it names.
bool IsRegularFile(const QString& name);

// Whether name is a folder, a link counting as what it names.
bool IsDirectory(const QString& name);

// The contents of a regular file (a link counting as what it names) of at most maxSize bytes.
// Nothing when it is missing, anything else (a folder, a FIFO, a device), larger, or cannot be
// read whole; a FIFO never blocks the reader.
std::optional<QByteArray> ReadRegularFile(const QString& name, qsizetype maxSize);

// Whether ReplaceFile may replace name: its folder may be written, and so may the file when it
// exists. A link is replaced through to the file it names, so a link that names nothing may
// not: it would create a file the user never chose.
bool MayReplaceFile(const QString& name);

// Replaces the file's whole contents at once: they are written to a new file beside it, flushed
// to the disk, then renamed over it. A crash or a full disk leaves the old file whole; the
// file keeps its permissions, a new one gets those of any new file. False when it failed.
bool ReplaceFile(const QString& name, QByteArrayView contents);

} // namespace tarvane
