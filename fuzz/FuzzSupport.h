#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Shared by the fuzz targets, whether libFuzzer drives them or the replay main feeds them the corpus.

// A broken expectation is a finding: report it and abort, so libFuzzer keeps the input.
#define FUZZ_EXPECT(condition)                                                                                         \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: expectation failed: %s\n", __FILE__, __LINE__, #condition);                   \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

namespace vantelo::fuzz {

inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The readers under test take a path, so each input goes through a real file. A folder in memory
// (/dev/shm) keeps that cheap where one exists.
class ScratchFiles
{
public:
    ScratchFiles()
        : m_dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/vantelo-fuzz-XXXXXX")
                                                          : QDir::tempPath() + QStringLiteral("/vantelo-fuzz-XXXXXX"))
    {
        if (!m_dir.isValid()) {
            std::fprintf(stderr, "cannot create a scratch folder\n");
            std::abort();
        }
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write scratch file %s\n", qPrintable(path));
            std::abort();
        }
        return path;
    }

private:
    QTemporaryDir m_dir;
};

} // namespace vantelo::fuzz
