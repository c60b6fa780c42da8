// Writing of bytes and bit fields, little- and big-endian, the mirror of ByteReader.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace zn::swf {

class ByteWriter {
public:
    void U8(uint8_t value);
    void U16(uint16_t value);
    void U32(uint32_t value);
    void F64(double value);
    void String(std::string_view text); // zero-terminated
    void BigU16(uint16_t value) { BigUnsigned(value, 2); }
    void BigU24(uint32_t value) { BigUnsigned(value, 3); }
    void BigU32(uint32_t value) { BigUnsigned(value, 4); }
    void BigF64(double value);
    void Text(std::string_view text); // the bytes only
    void Bytes(const uint8_t* data, size_t size);
    void Bytes(const std::vector<uint8_t>& data) { Bytes(data.data(), data.size()); }

    void Bits(uint32_t value, unsigned count);
    void SignedBits(int32_t value, unsigned count) { Bits(static_cast<uint32_t>(value), count); }
    void Align(); // pads the bit field to a byte; byte writes do it themselves

    // Bits needed to hold every value as a signed field (at least 1).
    static unsigned SignedBitsNeeded(std::initializer_list<int32_t> values);
    static unsigned UnsignedBitsNeeded(uint32_t value);

    std::vector<uint8_t> Take()
    {
        Align();
        return std::move(bytes_);
    }

private:
    void BigUnsigned(uint32_t value, unsigned bytes);

    std::vector<uint8_t> bytes_;
    uint8_t bitBuffer_ = 0;
    unsigned bitCount_ = 0;
};

} // namespace zn::swf
