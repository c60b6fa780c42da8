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

// Traits for handles whose empty value is a null pointer, closed by one system function.
template <class THandle, auto CloseFunction>
struct TPointerHandleTraits {
    using Handle = THandle;
    static constexpr Handle Empty() noexcept { return nullptr; }
    static constexpr bool IsEmpty(Handle handle) noexcept { return handle == nullptr; }
    static void Close(Handle handle) noexcept { CloseFunction(handle); }
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

// A device context's saved state; closing restores it, undoing clipping and selections made
// since it was saved.
struct TSavedState {
    HDC DC = nullptr;
    int Level = 0;
};

struct TSavedStateTraits {
    using Handle = TSavedState;
    static constexpr Handle Empty() noexcept { return {}; }
    static constexpr bool IsEmpty(Handle state) noexcept
    {
        return state.DC == nullptr || state.Level == 0;
    }
    static void Close(Handle state) noexcept { RestoreDC(state.DC, state.Level); }
};

using TMemoryDC = TUniqueHandle<TPointerHandleTraits<HDC, &DeleteDC>>;
// A GDI object (a pen, a brush), and a DIB section among them.
using TGdiObject = TUniqueHandle<TPointerHandleTraits<HGDIOBJ, &DeleteObject>>;
using TDibSection = TUniqueHandle<TPointerHandleTraits<HBITMAP, &DeleteObject>>;
using TModule = TUniqueHandle<TPointerHandleTraits<HMODULE, &FreeLibrary>>;
using TSelectedObject = TUniqueHandle<TSelectionTraits>;
using TSavedDCState = TUniqueHandle<TSavedStateTraits>;

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

// Saves DC's state for the lifetime of the result.
inline TSavedDCState SaveState(HDC DC) noexcept
{
    return DC == nullptr ? TSavedDCState() : TSavedDCState(TSavedState{DC, SaveDC(DC)});
}

} // namespace zn
