// The little-endian numbers the edit journal is made of: appending them to a
// buffer, and reading them back with every read checked against the end.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtEndian>

#include <cstdint>
#include <optional>

template <typename Number>
void appendLittleEndian(QByteArray &bytes, Number value)
{
    const Number stored = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char *>(&stored), qsizetype(sizeof stored));
}

// Reads numbers and byte runs from the front of a view; a read past the end
// gives nothing and leaves the position where it was.
class JournalBytes {
public:
    explicit JournalBytes(QByteArrayView bytes)
        : m_bytes(bytes)
    {
    }

    template <typename Number>
    std::optional<Number> read()
    {
        if (remaining() < qsizetype(sizeof(Number)))
            return std::nullopt;
        const Number value = qFromLittleEndian<Number>(m_bytes.data() + m_position);
        m_position += qsizetype(sizeof(Number));
        return value;
    }

    std::optional<QByteArrayView> take(qsizetype length)
    {
        if (length < 0 || remaining() < length)
            return std::nullopt;
        const QByteArrayView piece = m_bytes.sliced(m_position, length);
        m_position += length;
        return piece;
    }

    qsizetype position() const { return m_position; }
    qsizetype remaining() const { return m_bytes.size() - m_position; }

private:
    QByteArrayView m_bytes;
    qsizetype m_position = 0;
};
