// Little-endian byte assembly for the format writers.
#pragma once

#include <QByteArray>

#include <cstdint>

class ByteWriter {
public:
    ByteWriter &u8(std::uint8_t value);
    ByteWriter &u16(std::uint16_t value);
    ByteWriter &u32(std::uint32_t value);
    ByteWriter &i32(std::int32_t value) { return u32(static_cast<std::uint32_t>(value)); }
    ByteWriter &bytes(const QByteArray &data);
    ByteWriter &zeros(qsizetype count);
    // Overwrites four bytes at an offset already written.
    ByteWriter &patchU32(qsizetype offset, std::uint32_t value);

    qsizetype size() const { return m_bytes.size(); }
    const QByteArray &data() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
