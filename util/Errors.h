#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace mirel {

// Base of every failure the program raises. The message is what the standard
// exception report shows (before its "." rule).
class Exception : public std::exception
{
public:
    explicit Exception(QString message);
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A file or folder that cannot be created or written.
class EFCreateError : public Exception
{
public:
    using Exception::Exception;
    // "Cannot create file \"<path>\". <reason>"
    static EFCreateError forFile(const QString &path, const QString &reason);
};

// A file that cannot be opened or read.
class EFOpenError : public Exception
{
public:
    using Exception::Exception;
    static EFOpenError forFile(const QString &path, const QString &reason);
};

// "Resource %s not found"
class EResNotFound : public Exception
{
public:
    using Exception::Exception;
};

// Conversion of text to a number failed: "'%s' is not a valid integer value".
class EConvertError : public Exception
{
public:
    using Exception::Exception;
};

// A format string asked for more arguments than it was given.
class EFormatError : public Exception
{
public:
    using Exception::Exception;
};

// A silent abort: the exception report shows nothing for it.
class EAbort : public Exception
{
public:
    EAbort() : Exception(QString()) {}
};

// The text the standard exception report shows for a message: a "." is appended when
// the message is not empty and its last character sorts after ".".
QString exceptionReportText(const QString &message);

} // namespace mirel
