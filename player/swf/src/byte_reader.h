// Bounded reading of bytes and bit fields, little-endian as movies store them and big-endian
// as video files do. Reading past the end yields zeros and marks the reader failed, so a
// parser checks once at the end instead of at every field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zn::swf {

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Failed() const { return failed_; }
    size_t Position() const { return position_; }
    size_t Remaining() const { return failed_ ? 0 : size_ - position_; }
    const uint8_t* Current() const { return data_ + position_; }

    uint8_t U8();
    uint16_t U16();
    uint32_t U32();
    int16_t S16() { return static_cast<int16_t>(U16()); }
    double F64(); // the action format's double: two little-endian words, high word first
    float F32();
    std::string String(); // zero-terminated
    // Big-endian fields of video files and their script data.
    uint16_t BigU16() { return static_cast<uint16_t>(BigUnsigned(2)); }
    uint32_t BigU24() { return BigUnsigned(3); }
    uint32_t BigU32() { return BigUnsigned(4); }
    double BigF64();
    std::string Text(size_t length); // exactly `length` bytes
    void Skip(size_t count);

    // Bit fields, most significant bit first; byte reads realign first.
    uint32_t Bits(unsigned count);
    int32_t SignedBits(unsigned count);
    void Align() { bitCount_ = 0; }

private:
    bool Take(size_t count);
    uint32_t BigUnsigned(size_t bytes);

    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
    bool failed_ = false;
    uint8_t bitBuffer_ = 0;
    unsigned bitCount_ = 0;
};

} // namespace zn::swf
