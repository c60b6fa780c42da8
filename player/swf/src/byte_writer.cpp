// Little-endian writing of bytes and bit fields.
#include "byte_writer.h"

#include <cstring>

namespace zn::swf {

void ByteWriter::U8(uint8_t value)
{
    Align();
    bytes_.push_back(value);
}

void ByteWriter::U16(uint16_t value)
{
    U8(static_cast<uint8_t>(value));
    U8(static_cast<uint8_t>(value >> 8));
}

void ByteWriter::U32(uint32_t value)
{
    U16(static_cast<uint16_t>(value));
    U16(static_cast<uint16_t>(value >> 16));
}

void ByteWriter::F64(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    U32(static_cast<uint32_t>(bits >> 32));
    U32(static_cast<uint32_t>(bits));
}

void ByteWriter::BigUnsigned(uint32_t value, unsigned bytes)
{
    for (unsigned i = bytes; i-- > 0;)
        U8(static_cast<uint8_t>(value >> (8 * i)));
}

void ByteWriter::BigF64(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    BigU32(static_cast<uint32_t>(bits >> 32));
    BigU32(static_cast<uint32_t>(bits));
}

void ByteWriter::Text(std::string_view text)
{
    Align();
    bytes_.insert(bytes_.end(), text.begin(), text.end());
}

void ByteWriter::String(std::string_view text)
{
    Align();
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    bytes_.push_back(0);
}

void ByteWriter::Bytes(const uint8_t* data, size_t size)
{
    Align();
    bytes_.insert(bytes_.end(), data, data + size);
}

void ByteWriter::Bits(uint32_t value, unsigned count)
{
    for (unsigned i = count; i-- > 0;) {
        bitBuffer_ = static_cast<uint8_t>(bitBuffer_ << 1 | ((value >> i) & 1));
        if (++bitCount_ == 8) {
            bytes_.push_back(bitBuffer_);
            bitBuffer_ = 0;
            bitCount_ = 0;
        }
    }
}

void ByteWriter::Align()
{
    if (bitCount_ == 0)
        return;
    bytes_.push_back(static_cast<uint8_t>(bitBuffer_ << (8 - bitCount_)));
    bitBuffer_ = 0;
    bitCount_ = 0;
}

unsigned ByteWriter::SignedBitsNeeded(std::initializer_list<int32_t> values)
{
    unsigned needed = 1;
    for (int32_t value : values) {
        uint32_t magnitude =
            value < 0 ? ~static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
        unsigned bits = 1;
        while (magnitude) {
            ++bits;
            magnitude >>= 1;
        }
        if (bits > needed)
            needed = bits;
    }
    return needed;
}

unsigned ByteWriter::UnsignedBitsNeeded(uint32_t value)
{
    unsigned bits = 0;
    while (value) {
        ++bits;
        value >>= 1;
    }
    return bits;
}

} // namespace zn::swf
