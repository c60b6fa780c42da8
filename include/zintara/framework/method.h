// Method pointers: a function bound to an object, the type of every event. A method pointer is
// two words (the object and a thunk), copyable and comparable, and never allocates.
#pragma once

#include "zintara/framework/exceptions.h"

#include <functional>
#include <utility>

namespace zn {

class TObject;

template <class Signature>
class TMethod;

template <class R, class... A>
class TMethod<R(A...)> {
public:
    constexpr TMethod() = default;
    constexpr TMethod(std::nullptr_t) {}

    // Binds Function to Object. Function is a member function of Object's class, or a free
    // function taking Object first: TMethod<void(TObject*)>::Bind<&TForm::ButtonClick>(Form).
    template <auto Function, class C>
    static TMethod Bind(C* Object)
    {
        TMethod result;
        result.FData = const_cast<void*>(static_cast<const void*>(Object));
        result.FCode = &Thunk<Function, C>;
        return result;
    }

    // Assigned when the function part is set.
    explicit operator bool() const { return FCode != nullptr; }
    const void* Data() const { return FData; }

    bool operator==(const TMethod&) const = default;

    R operator()(A... Arguments) const
    {
        if (!FCode)
            throw EInvalidOperation(L"Call of an unassigned method pointer");
        return FCode(FData, std::forward<A>(Arguments)...);
    }

private:
    using TThunk = R (*)(void*, A...);

    template <auto Function, class C>
    static R Thunk(void* Data, A... Arguments)
    {
        return std::invoke(Function, static_cast<C*>(Data), std::forward<A>(Arguments)...);
    }

    void* FData = nullptr;
    TThunk FCode = nullptr;
};

using TNotifyEvent = TMethod<void(TObject* Sender)>;

} // namespace zn
