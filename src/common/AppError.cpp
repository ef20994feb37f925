#include "common/AppError.h"

#include <new>

namespace vantelo {

AppError::AppError(int number) : AppError(number, standardDescription(number)) {}

AppError::AppError(int number, QString description, QString source)
    : m_number(number), m_source(std::move(source)), m_description(std::move(description)),
      m_what(errorReportText(*this).toUtf8())
{
}

QString AppError::standardDescription(int number)
{
    switch (number) {
    case ErrorNumber::InvalidProcedureCall:
        return QStringLiteral("Invalid procedure call or argument");
    case ErrorNumber::Overflow:
        return QStringLiteral("Overflow");
    case ErrorNumber::OutOfMemory:
        return QStringLiteral("Out of memory");
    case ErrorNumber::DivisionByZero:
        return QStringLiteral("Division by zero");
    case ErrorNumber::TypeMismatch:
        return QStringLiteral("Type mismatch");
    case ErrorNumber::InternalError:
        return QStringLiteral("Internal error");
    case ErrorNumber::BadFileNameOrNumber:
        return QStringLiteral("Bad file name or number");
    case ErrorNumber::FileNotFound:
        return QStringLiteral("File not found");
    case ErrorNumber::DiskFull:
        return QStringLiteral("Disk full");
    case ErrorNumber::InputPastEndOfFile:
        return QStringLiteral("Input past end of file");
    case ErrorNumber::DeviceUnavailable:
        return QStringLiteral("Device unavailable");
    case ErrorNumber::PathFileAccessError:
        return QStringLiteral("Path/File access error");
    case ErrorNumber::PathNotFound:
        return QStringLiteral("Path not found");
    case ErrorNumber::InvalidPropertyValue:
        return QStringLiteral("Invalid property value");
    case ErrorNumber::InvalidPicture:
        return QStringLiteral("Invalid picture");
    case ErrorNumber::IndexOutOfBounds:
        return QStringLiteral("Index out of bounds");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

QString errorReportText(const AppError& error)
{
    return QStringLiteral("Error: ") + QString::number(error.number()) + QStringLiteral(" has occurred in ") +
           error.source() + QStringLiteral(" error was ") + error.description();
}

AppError currentFailure()
{
    try {
        throw;
    } catch (const AppError& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return AppError(ErrorNumber::OutOfMemory);
    } catch (...) {
        return AppError(ErrorNumber::InternalError);
    }
}

} // namespace vantelo
