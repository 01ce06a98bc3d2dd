#include "NativeFiles.h"

#include "FileHandle.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvane {

namespace {

// A byte b of a name that is not UTF-8 stands in the text as U+DC00 + b (b is 0x80 or more).
constexpr char16_t EscapeBase = 0xDC00;

bool IsEscape(QStringView name, qsizetype at)
{
    const char16_t c = name[at].unicode();
    return c >= EscapeBase + 0x80 && c <= EscapeBase + 0xFF
        && (at == 0 || !name[at - 1].isHighSurrogate()); // not the second half of a pair
}

// The length of the well-formed UTF-8 sequence that starts bytes, 0 when there is none.
qsizetype Utf8SequenceLength(QByteArrayView bytes)
{
    const auto byte = [&bytes](qsizetype at) { return uchar(bytes[at]); };
    const uchar lead = byte(0);
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    uchar low = 0x80; // the range of the second byte, narrower after some leads
    uchar high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing past U+10FFFF
    }
    if (length == 0 || bytes.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (qsizetype at = 2; at < length; ++at) {
        if ((byte(at) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

// The path a replacement writes: the name itself, or what it names when it is a link; nothing
// for a link that names nothing.
std::optional<QByteArray> ReplacedPath(const QString& name)
{
    const QByteArray path = EncodeFileName(name);
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char* const resolved = ::realpath(path.constData(), nullptr);
    if (!resolved)
        return std::nullopt;
    QByteArray target(resolved);
    std::free(resolved);
    return target;
}

QByteArray FolderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// A new file beside path, named after it, that no other program has open; its name goes to
// temporary (empty when none could be created).
int CreateFileBeside(const QByteArray& path, QByteArray& temporary)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        // 0666 less the user's umask, as for any new file.
        const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            break;
    }
    temporary.clear();
    return -1;
}

bool WriteAll(int fd, QByteArrayView bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t count = ::write(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        done += count;
    }
    return true;
}

} // namespace

QString DecodeFileName(QByteArrayView native)
{
    QString name;
    qsizetype run = 0; // the first byte of the well-formed text not yet decoded
    for (qsizetype at = 0; at < native.size();) {
        const qsizetype length = Utf8SequenceLength(native.sliced(at));
        if (length > 0) {
            at += length;
            continue;
        }
        name += QString::fromUtf8(native.sliced(run, at - run));
        name += QChar(char16_t(EscapeBase + uchar(native[at])));
        run = ++at;
    }
    return name + QString::fromUtf8(native.sliced(run));
}

QByteArray EncodeFileName(QStringView name)
{
    QByteArray native;
    qsizetype run = 0; // the first character not yet encoded
    for (qsizetype at = 0; at < name.size(); ++at) {
        if (!IsEscape(name, at))
            continue;
        native += name.sliced(run, at - run).toUtf8();
        native += char(name[at].unicode() - EscapeBase);
        run = at + 1;
    }
    return native + name.sliced(run).toUtf8();
}

QString SymLinkTarget(const QString& link)
{
    const QByteArray path = EncodeFileName(link);
    QByteArray target(256, Qt::Uninitialized);
    for (;;) {
        const ssize_t length = ::readlink(path.constData(), target.data(), size_t(target.size()));
        if (length < 0)
            return QString();
        if (length < target.size())
            return DecodeFileName(QByteArrayView(target.constData(), length));
        target.resize(target.size() * 2); // perhaps cut short: read it again with more room
    }
}

bool FileExists(const QString& name)
{
    struct stat info {};
    return ::lstat(EncodeFileName(name).constData(), &info) == 0;
}

namespace {

// The type bits of what name names, links followed; 0 when it names nothing.
mode_t FileTypeOf(const QString& name)
{
    struct stat info {};
    return ::stat(EncodeFileName(name).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

} // namespace

bool IsRegularFile(const QString& name)
{
    return FileTypeOf(name) == S_IFREG;
}

bool IsDirectory(const QString& name)
{
    return FileTypeOf(name) == S_IFDIR;
}

std::optional<QByteArray> ReadRegularFile(const QString& name, qsizetype maxSize)
{
    const FileHandle file(EncodeFileName(name).constData());
    const off_t size = file.Size();
    if (!file.IsRegularFile() || size > maxSize)
        return std::nullopt;
    // Room for one byte past the limit, so that a file that grows meanwhile, or that reports
    // no size as some system files do, still stops there.
    QByteArray data(qsizetype(size) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == data.size()) {
            if (filled > maxSize)
                return std::nullopt;
            data.resize(std::min(maxSize + 1, 2 * filled));
        }
        const ssize_t count = ::read(file.Fd(), data.data() + filled, size_t(data.size() - filled));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return std::nullopt;
        if (count == 0)
            break;
        filled += count;
    }
    data.truncate(filled);
    return data;
}

bool MayReplaceFile(const QString& name)
{
    const std::optional<QByteArray> path = ReplacedPath(name);
    return path && ::access(FolderOf(*path).constData(), W_OK | X_OK) == 0
        && (::access(path->constData(), F_OK) != 0 || ::access(path->constData(), W_OK) == 0);
}

bool ReplaceFile(const QString& name, QByteArrayView contents)
{
    const std::optional<QByteArray> path = ReplacedPath(name);
    if (!path)
        return false;
    struct stat old {};
    const bool exists = ::stat(path->constData(), &old) == 0;
    QByteArray temporary;
    FileHandle file(CreateFileBeside(*path, temporary));
    const bool written = file.Fd() >= 0
        && (!exists || ::fchmod(file.Fd(), old.st_mode & 07777) == 0)
        && WriteAll(file.Fd(), contents) && ::fsync(file.Fd()) == 0;
    const bool closed = file.Close();
    if (written && closed && ::rename(temporary.constData(), path->constData()) == 0)
        return true;
    if (!temporary.isEmpty())
        ::unlink(temporary.constData());
    return false;
}

} // namespace tarvane
