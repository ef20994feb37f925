#include "slidelist/SlideListFile.h"

#include "common/AppError.h"
#include "common/Numbers.h"
#include "reading/ReadingThreads.h"
#include "reading/Storage.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <optional>

namespace vantelo {
namespace {

const QString Separator = QStringLiteral(" | ");
constexpr qsizetype MaxLineCharacters = 32767;
// UTF-8 needs at most three bytes for a character of the 16-bit positions the reader counts.
constexpr qsizetype MaxLineBytes = 3 * MaxLineCharacters;
constexpr qint64 ChunkBytes = qint64(64) * 1024;

[[noreturn]] void failToOpen(const QString& path, bool forWriting)
{
    if (path.isEmpty())
        throw AppError(ErrorNumber::BadFileNameOrNumber);
    if (!lookAt(QFileInfo(path).absolutePath()).isFolder)
        throw AppError(ErrorNumber::PathNotFound);
    if (!forWriting && lookAt(path).error == ENOENT)
        throw AppError(ErrorNumber::FileNotFound);
    throw AppError(ErrorNumber::PathFileAccessError);
}

// The failure of a read that storage refused: its own when the storage failed, else unreadable.
[[noreturn]] void failToRead(int systemError)
{
    throw AppError(storageFailure(systemError, ErrorNumber::PathFileAccessError) == ErrorNumber::DeviceUnavailable
                       ? ErrorNumber::DeviceUnavailable
                       : ErrorNumber::PathFileAccessError);
}

// Lines end at CR, LF or CR LF; the last line needs no end. Memory stays bounded by the longest
// line the reader accepts, whatever the file holds.
class LineReader
{
public:
    explicit LineReader(StorageFile& file) : m_file(file) {}

    // The next line, or nothing when the file has no characters left.
    std::optional<QString> next()
    {
        QByteArray line;
        bool sawAny = false;
        for (;;) {
            if (m_pos == m_buffer.size() && !refill())
                break;
            sawAny = true;
            const char* data = m_buffer.constData();
            qsizetype end = m_pos;
            while (end < m_buffer.size() && data[end] != '\r' && data[end] != '\n')
                ++end;
            append(line, m_pos, end);
            m_pos = end;
            if (m_pos < m_buffer.size()) {
                const char terminator = data[m_pos++];
                if (terminator == '\r' && peek() == '\n')
                    ++m_pos;
                return decode(line);
            }
        }
        if (!sawAny)
            return std::nullopt;
        return decode(line);
    }

private:
    bool refill()
    {
        if (m_atEnd)
            return false;
        m_buffer = m_file.read(ChunkBytes);
        m_pos = 0;
        if (m_buffer.isEmpty()) {
            m_atEnd = true;
            if (m_file.systemError() != 0)
                failToRead(m_file.systemError());
            return false;
        }
        return true;
    }

    char peek()
    {
        if (m_pos == m_buffer.size() && !refill())
            return '\0';
        return m_buffer.at(m_pos);
    }

    void append(QByteArray& line, qsizetype from, qsizetype to)
    {
        if (line.size() + (to - from) > MaxLineBytes)
            throw AppError(ErrorNumber::Overflow);
        line.append(m_buffer.constData() + from, to - from);
    }

    QString decode(const QByteArray& bytes)
    {
        // Decoded line by line, so a broken sequence in one line never leaks into the next.
        QString text = QString::fromUtf8(bytes);
        if (text.size() > MaxLineCharacters)
            throw AppError(ErrorNumber::Overflow);
        return text;
    }

    StorageFile& m_file;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_atEnd = false;
};

// Positions are 1-based and 16-bit, as in the platform's string functions.
std::int16_t findBar(const QString& line, std::int16_t start)
{
    const qsizetype found = line.indexOf(u'|', start - 1);
    return checkedInt16(found < 0 ? 0 : found + 1);
}

QString mid(const QString& line, std::int16_t start, std::int16_t length)
{
    if (start < 1 || length < 0)
        throw AppError(ErrorNumber::InvalidProcedureCall);
    return line.mid(start - 1, length);
}

QString midToEnd(const QString& line, std::int16_t start)
{
    if (start < 1)
        throw AppError(ErrorNumber::InvalidProcedureCall);
    return line.mid(start - 1);
}

} // namespace

SlideRow cutSlideRowLine(const QString& line)
{
    if (line.size() > MaxLineCharacters)
        throw AppError(ErrorNumber::Overflow);
    const std::int16_t p1 = findBar(line, 1);
    const std::int16_t p2 = findBar(line, checkedInt16(p1 + 1));
    const std::int16_t p3 = findBar(line, checkedInt16(p2 + 1));
    const std::int16_t p4 = findBar(line, checkedInt16(p3 + 1));
    SlideRow row;
    row.folder = mid(line, checkedInt16(p1 + 2), checkedInt16(p2 - p1 - 3));
    row.fileName = mid(line, checkedInt16(p2 + 2), checkedInt16(p3 - p2 - 3));
    row.sizeText = mid(line, checkedInt16(p3 + 2), checkedInt16(p4 - p3 - 3));
    row.spare = midToEnd(line, checkedInt16(p4 + 2));
    return row;
}

QByteArray slideListBytes(const SlideRows& rows)
{
    if (rows.size() > MaxSlideRows)
        throw AppError(ErrorNumber::Overflow);
    QString text;
    text += u' ' + QString::number(rows.size()) + QStringLiteral(" \r\n");
    for (qsizetype k = 0; k < rows.size(); ++k) {
        const SlideRow& row = rows[k];
        text += QString::number(k + 1) + Separator + row.folder + Separator + row.fileName + Separator + row.sizeText +
                Separator + row.spare + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

void WriteSlideList(const SlideRows& rows, const QString& path)
{
    const QByteArray bytes = slideListBytes(rows);
    QSaveFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly))
        failToOpen(path, true);

    // Every write is checked: a short write (disk full, file-size limit) must never reach
    // commit(), which could otherwise put a truncated file in place of a good one.
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 chunk = std::min<qint64>(ChunkBytes, bytes.size() - written);
        const qint64 result = file.write(bytes.constData() + written, chunk);
        if (result != chunk) {
            file.cancelWriting();
            throw AppError(ErrorNumber::DiskFull);
        }
        written += result;
    }
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        throw AppError(ErrorNumber::DiskFull);
    }
    if (!file.commit())
        throw AppError(ErrorNumber::PathFileAccessError);
}

void ReadSlideList(const QString& path, SlideRows& rows)
{
    StorageFile file;
    if (path.isEmpty() || !file.openFile(path)) {
        if (file.systemError() != 0 && storageFailure(file.systemError(), 0) == ErrorNumber::DeviceUnavailable)
            failToRead(file.systemError());
        failToOpen(path, false);
    }

    LineReader reader(file);
    const std::optional<QString> countLine = reader.next();
    if (!countLine)
        throw AppError(ErrorNumber::InputPastEndOfFile);
    const std::int16_t count = roundToInt16(numericValue(*countLine));
    for (int k = 1; k <= count; ++k) {
        const std::optional<QString> line = reader.next();
        if (!line)
            throw AppError(ErrorNumber::InputPastEndOfFile);
        rows.append(cutSlideRowLine(*line));
    }
}

} // namespace vantelo
