#include "writers/ByteWriter.h"

ByteWriter &ByteWriter::u8(std::uint8_t value)
{
    m_bytes.append(char(value));
    return *this;
}

ByteWriter &ByteWriter::u16(std::uint16_t value)
{
    return u8(value & 0xFF).u8(value >> 8);
}

ByteWriter &ByteWriter::u32(std::uint32_t value)
{
    return u16(value & 0xFFFF).u16(value >> 16);
}

ByteWriter &ByteWriter::bytes(const QByteArray &data)
{
    m_bytes.append(data);
    return *this;
}

ByteWriter &ByteWriter::zeros(qsizetype count)
{
    m_bytes.append(count, '\0');
    return *this;
}

ByteWriter &ByteWriter::patchU32(qsizetype offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        m_bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
    return *this;
}
