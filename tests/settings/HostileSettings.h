#pragma once

#include "common/AppError.h"
#include "settings/Settings.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// Settings files the program must survive: broken, huge, hand-edited. The same table serves the
// store's own test and the tests that open each window on such a store.
namespace vantelo::test {

// What a reader gets for one key: the text (nothing when the key counts as absent, so the
// reader's default applies) and what converting that text to the reader's number does.
struct HostileReading
{
    QString key;
    std::optional<QString> text;
    int failure = 0;  // 0, or the error number of the conversion (13 type mismatch, 6 overflow)
    qint64 value = 0; // the converted number when failure is 0 (numeric keys only)
};

struct HostileSettingsFile
{
    QString tag;
    QByteArray content;
    QList<HostileReading> readings;
};

// The defaults each reader passes, as text, and whether the key converts to a 16- or 32-bit number.
inline QString settingDefault(const QString& key)
{
    if (key == SettingKey::ScreenWidth)
        return QStringLiteral("800");
    if (key == SettingKey::ScreenHeight)
        return QStringLiteral("600");
    if (key == SettingKey::Delay)
        return QStringLiteral("5");
    if (key == SettingKey::BackColor)
        return QStringLiteral("0");
    if (key == SettingKey::ShowType)
        return QStringLiteral("Ordered");
    return QString();
}

inline QList<HostileSettingsFile> hostileSettingsFiles()
{
    using namespace ErrorNumber;
    const QString w = SettingKey::ScreenWidth, h = SettingKey::ScreenHeight, d = SettingKey::Delay,
                  c = SettingKey::BackColor, s = SettingKey::ShowType, f = SettingKey::File;
    const std::optional<QString> absent;

    QByteArray garbage;
    for (int i = 0; i < 64 * 1024; ++i) {
        const char byte = char((i * 7919 + i / 251) % 256);
        garbage.append(byte == '=' ? '\0' : byte); // no line can define a key
    }
    const QByteArray manyNines(10 * 1024 * 1024, '9');
    const QByteArray longPath = "/" + QByteArray(10 * 1024 * 1024, 'a') + ".vtl";

    return {
        {"binary garbage",
         garbage,
         {{w, absent, 0, 800}, {h, absent, 0, 600}, {d, absent, 0, 5}, {c, absent, 0, 0}, {s, absent}, {f, absent}}},
        {"binary garbage around a settings section",
         QByteArray("\xFF\xFE\x00\x01\n[Settings]\nDelay=\x01\x02\x03\nBackColor=\xC3\x28\n", 39) + garbage.left(300),
         {{d, QString::fromLatin1("\x01\x02\x03"), TypeMismatch}, {c, QString(QChar(0xFFFD)) + u'(', TypeMismatch}}},
        {"values of ten megabytes",
         "[Settings]\nDelay=" + manyNines + "\nFile=" + longPath + "\n",
         {{d, QString::fromLatin1(manyNines), Overflow}, {f, QString::fromLatin1(longPath)}}},
        {"text in every key",
         "[Settings]\nScreenWidth=wide\nScreenHeight=tall\nDelay=five\nBackColor=red\nShowType=random\n"
         "File=no such list\n",
         {{w, "wide", TypeMismatch},
          {h, "tall", TypeMismatch},
          {d, "five", TypeMismatch},
          {c, "red", TypeMismatch},
          {s, "random"},
          {f, "no such list"}}},
        {"empty values",
         "[Settings]\nScreenWidth=\nDelay=\nBackColor=\nShowType=\n",
         {{w, "", TypeMismatch}, {d, "", TypeMismatch}, {c, "", TypeMismatch}, {s, ""}}},
        {"numbers out of range",
         "[Settings]\nScreenWidth=32768\nScreenHeight=1e10\nDelay=99999\nBackColor=2147483648\n",
         {{w, "32768", Overflow}, {h, "1e10", Overflow}, {d, "99999", Overflow}, {c, "2147483648", Overflow}}},
        {"negative numbers",
         "[Settings]\nScreenWidth=-1024\nScreenHeight=-1\nDelay=-5\nBackColor=-1\n",
         {{w, "-1024", 0, -1024}, {h, "-1", 0, -1}, {d, "-5", 0, -5}, {c, "-1", 0, -1}}},
        {"fractions and exponents",
         "[Settings]\nScreenWidth=1e3\nScreenHeight=767.5\nDelay=2.5\nBackColor=1.6777215e7\n",
         {{w, "1e3", 0, 1000}, {h, "767.5", 0, 768}, {d, "2.5", 0, 2}, {c, "1.6777215e7", 0, 16777215}}},
        // The store's own notations, written by hand: a typed value reads as no text, an unreadable
        // one as absent, a list claiming two thousand million entries as empty.
        {"hand-written typed values",
         "[Settings]\nDelay=@Rect(1 2 3 4)\nScreenWidth=@Variant(\\xff\\xff\\xff\\xff)\n"
         "File=@Variant(\\0\\0\\0\\v\\0\\x7f\\xff\\xff\\xff)\nShowType=\"Ordered\"\nBackColor=255;a comment\n",
         {{d, "", TypeMismatch}, {w, absent, 0, 800}, {f, ""}, {s, "Ordered"}, {c, "255", 0, 255}}},
        {"keys outside the section",
         "Delay=7\n[General]\nBackColor=9\n[settings]\nShowType=Random\n",
         {{d, absent, 0, 5}, {c, absent, 0, 0}, {s, absent}}},
    };
}

} // namespace vantelo::test
