// The errors of the graphics library. Every failure of the archive reader, the
// sprite decoder and the file helpers is raised as one of these; the sprite
// loader and the command-line tool catch them and use their reason: the
// windows word it in their language, the tool prints it in English.
#pragma once

#include "base/Reason.h"
#include "gfx/GfxReasons.h"

#include <QByteArray>
#include <QString>

#include <exception>

class GraphicsError : public std::exception {
public:
    explicit GraphicsError(const Reason &why)
        : m_why(why)
        , m_message(why.english())
        , m_utf8(m_message.toUtf8())
    {
    }
    const Reason &why() const { return m_why; }
    // The reason in English.
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    Reason m_why;
    QString m_message;
    QByteArray m_utf8;
};

// A list index (an archive entry, a sprite frame) that does not exist.
class ELodException : public GraphicsError {
public:
    using GraphicsError::GraphicsError;
    static ELodException indexOutOfBounds(qint64 index)
    {
        return ELodException(Reason(reasons::GfxIndexOutOfBounds, {index}));
    }
};

// Bytes that cannot be read as what they claim to be: a sprite file whose
// structure runs past its end, an archive entry outside the archive, a zlib
// stream that is corrupt or ends early, a file that cannot be opened or read.
class StreamReadError : public GraphicsError {
public:
    using GraphicsError::GraphicsError;
    static StreamReadError defInvalid() { return StreamReadError(Reason(reasons::GfxDefInvalid)); }
};

// An internal check that failed, named by its source unit and line.
class AssertionFailure : public GraphicsError {
public:
    AssertionFailure(const char *source, int line)
        : GraphicsError(Reason(reasons::GfxAssertion))
        , m_source(QString::fromLatin1(source))
        , m_line(line)
    {
    }
    const QString &source() const { return m_source; }
    int line() const { return m_line; }

private:
    QString m_source;
    int m_line;
};

// A frame whose pixel encoding the decoder does not know. It carries the
// message of an assertion, as callers of the decoder expect, and the encoding,
// so that a caller that knows the file can say which file and which encoding.
class UnknownFrameEncoding : public AssertionFailure {
public:
    UnknownFrameEncoding(const char *source, int line, qint32 frame, qint32 encoding)
        : AssertionFailure(source, line)
        , m_frame(frame)
        , m_encoding(encoding)
    {
    }
    qint32 frame() const { return m_frame; }
    qint32 encoding() const { return m_encoding; }
    // The failure in words, for a message that names the file.
    Reason descriptionWhy() const { return Reason(reasons::GfxUnknownEncoding, {m_frame, m_encoding}); }
    QString description() const { return descriptionWhy().english(); }

private:
    qint32 m_frame;
    qint32 m_encoding;
};

// A failed call to the operating system, with the system's error code (0 when
// the system gave none).
class OSError : public GraphicsError {
public:
    OSError(int code, const Reason &why)
        : GraphicsError(why)
        , m_code(code)
    {
    }
    int code() const { return m_code; }

private:
    int m_code;
};
