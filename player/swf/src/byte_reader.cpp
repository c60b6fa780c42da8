// Bounded little-endian reading of bytes and bit fields.
#include "byte_reader.h"

#include <cstring>

namespace zn::swf {

bool ByteReader::Take(size_t count)
{
    Align();
    if (failed_ || count > size_ - position_) {
        failed_ = true;
        return false;
    }
    return true;
}

uint8_t ByteReader::U8()
{
    if (!Take(1))
        return 0;
    return data_[position_++];
}

uint16_t ByteReader::U16()
{
    if (!Take(2))
        return 0;
    uint16_t value = static_cast<uint16_t>(data_[position_] | data_[position_ + 1] << 8);
    position_ += 2;
    return value;
}

uint32_t ByteReader::U32()
{
    if (!Take(4))
        return 0;
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | data_[position_ + i];
    position_ += 4;
    return value;
}

namespace {

double DoubleFromWords(uint64_t high, uint64_t low)
{
    uint64_t bits = high << 32 | low;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace

double ByteReader::F64()
{
    uint32_t high = U32();
    return DoubleFromWords(high, U32());
}

float ByteReader::F32()
{
    uint32_t bits = U32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string ByteReader::String()
{
    if (!Take(0))
        return {};
    const void* end = std::memchr(data_ + position_, 0, size_ - position_);
    if (!end) {
        failed_ = true;
        return {};
    }
    size_t length = static_cast<const uint8_t*>(end) - (data_ + position_);
    std::string text(reinterpret_cast<const char*>(data_ + position_), length);
    position_ += length + 1;
    return text;
}

uint32_t ByteReader::BigUnsigned(size_t bytes)
{
    if (!Take(bytes))
        return 0;
    uint32_t value = 0;
    for (size_t i = 0; i < bytes; ++i)
        value = value << 8 | data_[position_++];
    return value;
}

double ByteReader::BigF64()
{
    uint32_t high = BigU32();
    return DoubleFromWords(high, BigU32());
}

std::string ByteReader::Text(size_t length)
{
    if (!Take(length))
        return {};
    std::string text(reinterpret_cast<const char*>(data_ + position_), length);
    position_ += length;
    return text;
}

void ByteReader::Skip(size_t count)
{
    if (Take(count))
        position_ += count;
}

uint32_t ByteReader::Bits(unsigned count)
{
    uint32_t value = 0;
    for (unsigned i = 0; i < count; ++i) {
        if (bitCount_ == 0) {
            if (failed_ || position_ >= size_) {
                failed_ = true;
                return 0;
            }
            bitBuffer_ = data_[position_++];
            bitCount_ = 8;
        }
        --bitCount_;
        value = value << 1 | ((bitBuffer_ >> bitCount_) & 1);
    }
    return value;
}

int32_t ByteReader::SignedBits(unsigned count)
{
    if (count == 0)
        return 0;
    uint32_t value = Bits(count);
    if (count < 32 && (value & (1u << (count - 1))))
        value |= ~0u << count;
    return static_cast<int32_t>(value);
}

} // namespace zn::swf
