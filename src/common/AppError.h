#pragma once

#include <QString>

#include <exception>

namespace vantelo {

// The failure numbers the program raises and reports; the numbers and their descriptions are
// what users of the original platform recognise, so they are kept exactly.
namespace ErrorNumber {
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int DivisionByZero = 11;
inline constexpr int TypeMismatch = 13;
inline constexpr int InternalError = 51;
inline constexpr int BadFileNameOrNumber = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEndOfFile = 62;
inline constexpr int DeviceUnavailable = 68;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int InvalidPicture = 481;
inline constexpr int IndexOutOfBounds = 35600;
} // namespace ErrorNumber

inline const QString ProjectSource = QStringLiteral("Project1");

// A numbered failure with its source and description. Raised by the rules, caught and reported
// by the event handler in which it happens; never allowed to cross a Qt signal.
class AppError : public std::exception
{
public:
    // The platform's usual description for the number.
    explicit AppError(int number);
    AppError(int number, QString description, QString source = ProjectSource);

    int number() const noexcept { return m_number; }
    const QString& source() const noexcept { return m_source; }
    const QString& description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_what.constData(); }

    static QString standardDescription(int number);

private:
    int m_number;
    QString m_source;
    QString m_description;
    QByteArray m_what;
};

// The text of the common error report, built here and nowhere else.
QString errorReportText(const AppError& error);

// Inside a catch block: whatever was caught, as the numbered failure the user is shown. Running
// out of memory is 7, anything else that is no AppError 51.
AppError currentFailure();

} // namespace vantelo
