// One owner for each system handle: a move-only template over "a handle and how to close it",
// with a named alias per kind of handle the library holds.
#pragma once

#include <windows.h>

#include <utility>

namespace zn {

// Traits name the handle type, its empty value and how to close it. Close is only called on a
// handle that is not the empty value.
template <class TTraits>
class TUniqueHandle {
public:
    using Handle = typename TTraits::Handle;

    TUniqueHandle() noexcept = default;
    explicit TUniqueHandle(Handle handle) noexcept : FHandle(handle) {}
    TUniqueHandle(TUniqueHandle&& other) noexcept : FHandle(other.release()) {}
    TUniqueHandle& operator=(TUniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;
    ~TUniqueHandle() { reset(); }

    Handle get() const noexcept { return FHandle; }
    explicit operator bool() const noexcept { return !TTraits::IsEmpty(FHandle); }

    // Closes the handle held so far, after the new one is stored: a close that re-enters sees
    // the new state.
    void reset(Handle handle = TTraits::Empty()) noexcept
    {
        Handle old = std::exchange(FHandle, handle);
        if (!TTraits::IsEmpty(old))
            TTraits::Close(old);
    }
    [[nodiscard]] Handle release() noexcept { return std::exchange(FHandle, TTraits::Empty()); }

private:
    Handle FHandle = TTraits::Empty();
};

// Traits for handles whose empty value is a null pointer.
template <class THandle, BOOL(WINAPI* CloseFunction)(THandle)>
struct TPointerHandleTraits {
    using Handle = THandle;
    static constexpr Handle Empty() noexcept { return nullptr; }
    static constexpr bool IsEmpty(Handle handle) noexcept { return handle == nullptr; }
    static void Close(Handle handle) noexcept { CloseFunction(handle); }
};

// A GDI object of a given type (a DIB section, a pen, a brush), deleted with DeleteObject.
template <class TObjectHandle>
struct TGdiObjectTraits {
    using Handle = TObjectHandle;
    static constexpr Handle Empty() noexcept { return nullptr; }
    static constexpr bool IsEmpty(Handle handle) noexcept { return handle == nullptr; }
    static void Close(Handle handle) noexcept { DeleteObject(handle); }
};

// An object selected into a device context, remembered with what it replaced; closing selects
// the previous object back, so the object and the context can then be deleted in any order.
struct TSelection {
    HDC DC = nullptr;
    HGDIOBJ Previous = nullptr;
};

struct TSelectionTraits {
    using Handle = TSelection;
    static constexpr Handle Empty() noexcept { return {}; }
    static constexpr bool IsEmpty(Handle selection) noexcept
    {
        return selection.DC == nullptr || selection.Previous == nullptr;
    }
    static void Close(Handle selection) noexcept { SelectObject(selection.DC, selection.Previous); }
};

using TMemoryDC = TUniqueHandle<TPointerHandleTraits<HDC, &DeleteDC>>;
using TGdiObject = TUniqueHandle<TGdiObjectTraits<HGDIOBJ>>;
using TDibSection = TUniqueHandle<TGdiObjectTraits<HBITMAP>>;
using TPen = TUniqueHandle<TGdiObjectTraits<HPEN>>;
using TModule = TUniqueHandle<TPointerHandleTraits<HMODULE, &FreeLibrary>>;
using TSelectedObject = TUniqueHandle<TSelectionTraits>;

// Selects Object into DC for the lifetime of the result. A failed selection gives an empty
// result, which restores nothing.
inline TSelectedObject SelectInto(HDC DC, HGDIOBJ Object) noexcept
{
    if (DC == nullptr || Object == nullptr)
        return {};
    HGDIOBJ previous = SelectObject(DC, Object);
    if (previous == nullptr || previous == HGDI_ERROR)
        return {};
    return TSelectedObject(TSelection{DC, previous});
}

} // namespace zn
