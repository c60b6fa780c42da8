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
    // For a system call's out parameter: closes the handle held so far, then gives the address
    // to fill.
    Handle* put() noexcept
    {
        reset();
        return &FHandle;
    }

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

// Kernel handles whose failure value is INVALID_HANDLE_VALUE rather than null: files.
struct TFileHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsEmpty(Handle handle) noexcept
    {
        return handle == INVALID_HANDLE_VALUE || handle == nullptr;
    }
    static void Close(Handle handle) noexcept { CloseHandle(handle); }
};

// Traits for a value taken from a context and given back to it by a function of both: a
// device context borrowed from a window (or from the screen, the window null), an object
// selected into a device context (given back by selecting the object it replaced, so the two
// can then be deleted in any order), a device context's saved state (restoring it undoes the
// clipping and selections made since). Empty while the value is zero.
template <class TContext, class TValue, auto GiveBack>
struct TContextHandleTraits {
    struct Handle {
        TContext Context{};
        TValue Value{};
    };
    static constexpr Handle Empty() noexcept { return {}; }
    static constexpr bool IsEmpty(Handle handle) noexcept { return handle.Value == TValue{}; }
    static void Close(Handle handle) noexcept { GiveBack(handle.Context, handle.Value); }
};

using TMemoryDC = TUniqueHandle<TPointerHandleTraits<HDC, &DeleteDC>>;
// A GDI object (a pen, a brush), and a DIB section among them.
using TGdiObject = TUniqueHandle<TPointerHandleTraits<HGDIOBJ, &DeleteObject>>;
using TDibSection = TUniqueHandle<TPointerHandleTraits<HBITMAP, &DeleteObject>>;
using TModule = TUniqueHandle<TPointerHandleTraits<HMODULE, &FreeLibrary>>;
using TRegion = TUniqueHandle<TPointerHandleTraits<HRGN, &DeleteObject>>;
using TRegistryKey = TUniqueHandle<TPointerHandleTraits<HKEY, &RegCloseKey>>;
// A file (CreateFileW fails with INVALID_HANDLE_VALUE).
using TFileHandle = TUniqueHandle<TFileHandleTraits>;
// Any other kernel object whose failure value is null: a process, a thread, a pipe's end.
using TKernelHandle = TUniqueHandle<TPointerHandleTraits<HANDLE, &CloseHandle>>;
// The value of these three is the device context, the replaced object and the saved level.
using TWindowDC = TUniqueHandle<TContextHandleTraits<HWND, HDC, &ReleaseDC>>;
using TSelectedObject = TUniqueHandle<TContextHandleTraits<HDC, HGDIOBJ, &SelectObject>>;
using TSavedDCState = TUniqueHandle<TContextHandleTraits<HDC, int, &RestoreDC>>;

// Selects Object into DC for the lifetime of the result. A failed selection gives an empty
// result, which restores nothing.
inline TSelectedObject SelectInto(HDC DC, HGDIOBJ Object) noexcept
{
    if (DC == nullptr || Object == nullptr)
        return {};
    HGDIOBJ previous = SelectObject(DC, Object);
    if (previous == nullptr || previous == HGDI_ERROR)
        return {};
    return TSelectedObject({DC, previous});
}

// Window's device context (the screen's when Window is null) for the lifetime of the result.
inline TWindowDC WindowDC(HWND Window) noexcept
{
    return TWindowDC({Window, GetDC(Window)});
}

// Saves DC's state for the lifetime of the result.
inline TSavedDCState SaveState(HDC DC) noexcept
{
    return DC == nullptr ? TSavedDCState() : TSavedDCState({DC, SaveDC(DC)});
}

} // namespace zn
