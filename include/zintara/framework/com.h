// What every COM object and C entry point of the library shares: an owning interface pointer,
// the boundary no exception may cross, and the one way an unimplemented method is marked.
#pragma once

#include "zintara/framework/exceptions.h"

#include <oaidl.h>
#include <objbase.h>

#include <cstddef>
#include <utility>

namespace zn {

class TObject;

// Owns one reference to an interface. Constructing from a raw pointer or copying adds a
// reference; attach takes over a reference the caller already holds.
template <class T>
class TComPtr {
public:
    TComPtr() noexcept = default;
    TComPtr(std::nullptr_t) noexcept {}
    explicit TComPtr(T* Pointer) noexcept : FPointer(Pointer)
    {
        if (FPointer)
            FPointer->AddRef();
    }
    TComPtr(const TComPtr& Other) noexcept : TComPtr(Other.FPointer) {}
    TComPtr(TComPtr&& Other) noexcept : FPointer(Other.detach()) {}
    TComPtr& operator=(const TComPtr& Other) noexcept
    {
        TComPtr(Other).swap(*this);
        return *this;
    }
    TComPtr& operator=(TComPtr&& Other) noexcept
    {
        TComPtr(std::move(Other)).swap(*this);
        return *this;
    }
    ~TComPtr() { reset(); }

    T* get() const noexcept { return FPointer; }
    T* operator->() const noexcept { return FPointer; }
    explicit operator bool() const noexcept { return FPointer != nullptr; }

    // The pointer is emptied before the reference goes: a Release that re-enters the owner
    // finds it empty rather than half released.
    void reset() noexcept
    {
        if (T* old = std::exchange(FPointer, nullptr))
            old->Release();
    }
    // Takes over a reference the caller owns, releasing the one held so far.
    void attach(T* Pointer) noexcept
    {
        T* old = std::exchange(FPointer, Pointer);
        if (old)
            old->Release();
    }
    // Hands the reference to the caller.
    [[nodiscard]] T* detach() noexcept { return std::exchange(FPointer, nullptr); }
    // For an out parameter: releases what is held, then gives the address to fill.
    T** put() noexcept
    {
        reset();
        return &FPointer;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    void swap(TComPtr& Other) noexcept { std::swap(FPointer, Other.FPointer); }

    // Asks the object for another of its interfaces; Result is emptied first and stays empty
    // when the object refuses.
    template <class U>
    HRESULT query(REFIID Iid, TComPtr<U>& Result) const noexcept
    {
        void** out = Result.put_void();
        return FPointer ? FPointer->QueryInterface(Iid, out) : E_POINTER;
    }
    template <class U>
    HRESULT query(TComPtr<U>& Result) const noexcept
    {
        return query(__uuidof(U), Result);
    }

private:
    T* FPointer = nullptr;
};

// Hands the exception being handled to the application's exception handler, or, when no
// application object has installed one, to the framework's report of unhandled exceptions.
// Call only from inside a catch block. Never raises.
void ReportCurrentException(TObject* Sender = nullptr) noexcept;

// Runs the body of an NPAPI entry or a COM method. An exception, mostly one raised by an
// application's event handler called from the body, is reported as ReportCurrentException does
// and the entry returns Fallback: nothing unwinds into the caller's C code.
template <class TResult, class TBody>
TResult ExceptionBoundary(TResult Fallback, TBody&& Body, TObject* Sender = nullptr) noexcept
{
    try {
        return std::forward<TBody>(Body)();
    } catch (...) {
        ReportCurrentException(Sender);
        return Fallback;
    }
}

// A checked COM call that failed: the framework's OLE error, carrying the call's HRESULT.
class EOleSysError : public Exception {
public:
    explicit EOleSysError(HRESULT AErrorCode);
    HRESULT ErrorCode() const noexcept { return FErrorCode; }

protected:
    EOleSysError(HRESULT AErrorCode, const std::wstring& AMessage);

private:
    HRESULT FErrorCode;
};

// An automation call that failed, with the description its object gave when it gave one.
class EOleException : public EOleSysError {
public:
    EOleException(HRESULT AErrorCode, const std::wstring& AMessage)
        : EOleSysError(AErrorCode, AMessage)
    {}
};

// Raises EOleException when Result of IDispatch::Invoke is a failure code: for
// DISP_E_EXCEPTION with the object's description from Info (whose strings it frees), else with
// the system's message for Result.
void DispatchCheck(HRESULT Result, EXCEPINFO& Info);

// Raises EOleSysError when Result is a failure code; answers Result otherwise.
HRESULT OleCheck(HRESULT Result);

// The one mark of a COM method this library does not implement: search for NotImplemented.
constexpr HRESULT NotImplemented() noexcept
{
    return E_NOTIMPL;
}

} // namespace zn
