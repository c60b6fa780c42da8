// Plain value types shared by the framework and the library: rectangles, points, typed sets
// of enumerations, and the input states that mouse and keyboard events carry.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace zn {

// Layout-compatible with the Win32 RECT, so a pointer to one may be passed where the other is
// expected; no Windows header is needed to use it.
struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;

    constexpr std::int32_t Width() const { return Right - Left; }
    constexpr std::int32_t Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool operator==(const TRect&) const = default;
};

// Layout-compatible with the Win32 POINT.
struct TPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;

    constexpr bool operator==(const TPoint&) const = default;
};

constexpr TRect Rect(std::int32_t Left, std::int32_t Top, std::int32_t Right, std::int32_t Bottom)
{
    return TRect{Left, Top, Right, Bottom};
}

constexpr TRect Bounds(std::int32_t Left, std::int32_t Top, std::int32_t Width, std::int32_t Height)
{
    return TRect{Left, Top, Left + Width, Top + Height};
}

// A set of the values of an enumeration whose values lie in 0..31, held as one bit per value;
// form streaming reads and writes sets through Bits().
template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> Elements)
    {
        for (E element : Elements)
            Include(element);
    }
    static constexpr TSet FromBits(std::uint32_t Bits)
    {
        TSet result;
        result.FBits = Bits;
        return result;
    }

    constexpr std::uint32_t Bits() const { return FBits; }
    constexpr bool Contains(E Element) const { return (FBits & Bit(Element)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TSet& Include(E Element)
    {
        FBits |= Bit(Element);
        return *this;
    }
    constexpr TSet& Exclude(E Element)
    {
        FBits &= ~Bit(Element);
        return *this;
    }

    constexpr TSet operator+(TSet Other) const { return FromBits(FBits | Other.FBits); }
    constexpr TSet operator-(TSet Other) const { return FromBits(FBits & ~Other.FBits); }
    constexpr TSet operator*(TSet Other) const { return FromBits(FBits & Other.FBits); }
    constexpr bool operator==(const TSet&) const = default;

private:
    static constexpr std::uint32_t Bit(E Element)
    {
        return std::uint32_t{1} << static_cast<unsigned>(Element);
    }
    std::uint32_t FBits = 0;
};

enum class TShiftStateElement { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateElement>;
inline constexpr TShiftStateElement ssShift = TShiftStateElement::ssShift;
inline constexpr TShiftStateElement ssAlt = TShiftStateElement::ssAlt;
inline constexpr TShiftStateElement ssCtrl = TShiftStateElement::ssCtrl;
inline constexpr TShiftStateElement ssLeft = TShiftStateElement::ssLeft;
inline constexpr TShiftStateElement ssRight = TShiftStateElement::ssRight;
inline constexpr TShiftStateElement ssMiddle = TShiftStateElement::ssMiddle;
inline constexpr TShiftStateElement ssDouble = TShiftStateElement::ssDouble;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

} // namespace zn
