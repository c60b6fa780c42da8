// Published properties: the table each class declares of the properties that form streaming
// and the designer read and write, and DeclareClass, which ties a class's table to its base's.
//
//   const TClassInfo& TMyList::ClassInfo() {
//       using P = TPublished<TMyList>;
//       static const TPropertyInfo Properties[] = {
//           P::Integer<&TMyList::GetLimit, &TMyList::SetLimit>(L"Limit", 10),
//           P::Enumeration<&TMyList::GetMode, &TMyList::SetMode>(L"Mode", ModeNames, mdFast),
//           P::WideString<&TMyList::GetTitle, &TMyList::SetTitle>(L"Title"),
//           P::Object<&TMyList::Items>(L"Items"),
//           P::Event(L"OnChange"),
//       };
//       static const TClassInfo Info = DeclareClass<TMyList, TComponent>(L"TMyList", Properties);
//       return Info;
//   }
//
// Accessors are member functions, data members or captureless lambdas taking the object
// first; nothing is allocated per property.
#pragma once

#include "zintara/framework/object.h"
#include "zintara/framework/types.h"

#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>

namespace zn {

enum class TTypeKind {
    Integer,
    Cardinal,
    Boolean,
    Enumeration,
    Set,
    WideString,
    Class,
    Method,
    Component
};

struct TPropertyInfo {
    const wchar_t* Name = L"";
    TTypeKind Kind = TTypeKind::Integer;
    // The value names of an enumeration, or of the elements of a set, by ordinal.
    const wchar_t* const* ValueNames = nullptr;
    std::size_t ValueCount = 0;
    // Integer, Cardinal, Boolean, Enumeration: the value; Set: the bits of the elements.
    std::int64_t (*GetOrdinal)(const TPersistent&) = nullptr;
    void (*SetOrdinal)(TPersistent&, std::int64_t) = nullptr;
    std::wstring (*GetString)(const TPersistent&) = nullptr;
    void (*SetString)(TPersistent&, const std::wstring&) = nullptr;
    // Class: the sub-object, streamed nested (a collection as its items).
    TPersistent* (*GetObject)(const TPersistent&) = nullptr;
    const TClassInfo& (*ObjectClass)() = nullptr;
    // Component: a component referred to, not owned.
    TComponent* (*GetComponent)(const TPersistent&) = nullptr;
    void (*SetComponent)(TPersistent&, TComponent*) = nullptr;
    // Null means always stored.
    bool (*IsStored)(const TPersistent&) = nullptr;
    bool HasDefault = false;
    std::int64_t OrdinalDefault = 0;
    const wchar_t* StringDefault = L"";

    bool Stored(const TPersistent& Instance) const { return !IsStored || IsStored(Instance); }
    // True when the value equals the default, so that the writer leaves it out.
    bool IsDefault(const TPersistent& Instance) const;
    bool Writable() const { return SetOrdinal || SetString || GetObject || SetComponent; }
    // The ordinal of an enumeration value name (ASCII case-insensitive), -1 when unknown.
    int ValueIndex(const std::wstring& ValueName) const;
};

// Builds the property descriptions of class C.
template <class C>
struct TPublished {
    // Integer properties: 32-bit signed values.
    template <auto Getter, auto Setter, auto StoredFn = nullptr>
    static constexpr TPropertyInfo Integer(const wchar_t* Name)
    {
        return Ordinal<Getter, Setter, StoredFn>(Name, TTypeKind::Integer);
    }
    template <auto Getter, auto Setter, auto StoredFn = nullptr>
    static constexpr TPropertyInfo Integer(const wchar_t* Name, std::int32_t Default)
    {
        return WithDefault(Integer<Getter, Setter, StoredFn>(Name), Default);
    }
    // Cardinal properties: 32-bit unsigned values.
    template <auto Getter, auto Setter, auto StoredFn = nullptr>
    static constexpr TPropertyInfo Cardinal(const wchar_t* Name)
    {
        return Ordinal<Getter, Setter, StoredFn>(Name, TTypeKind::Cardinal);
    }
    template <auto Getter, auto Setter, auto StoredFn = nullptr>
    static constexpr TPropertyInfo Cardinal(const wchar_t* Name, std::uint32_t Default)
    {
        return WithDefault(Cardinal<Getter, Setter, StoredFn>(Name), Default);
    }
    template <auto Getter, auto Setter, auto StoredFn = nullptr>
    static constexpr TPropertyInfo Boolean(const wchar_t* Name)
    {
        return Ordinal<Getter, Setter, StoredFn>(Name, TTypeKind::Boolean);
    }
    template <auto Getter, auto Setter, auto StoredFn = nullptr>
    static constexpr TPropertyInfo Boolean(const wchar_t* Name, bool Default)
    {
        return WithDefault(Boolean<Getter, Setter, StoredFn>(Name), Default ? 1 : 0);
    }
    // Enumeration properties: the getter returns an enumeration whose values are 0..N-1,
    // streamed by the names in ValueNames.
    template <auto Getter, auto Setter, auto StoredFn = nullptr, std::size_t N>
    static constexpr TPropertyInfo Enumeration(const wchar_t* Name,
                                               const wchar_t* const (&ValueNames)[N])
    {
        TPropertyInfo info = Ordinal<Getter, Setter, StoredFn>(Name, TTypeKind::Enumeration);
        info.ValueNames = ValueNames;
        info.ValueCount = N;
        return info;
    }
    template <auto Getter, auto Setter, auto StoredFn = nullptr, std::size_t N, class E>
    static constexpr TPropertyInfo Enumeration(const wchar_t* Name,
                                               const wchar_t* const (&ValueNames)[N], E Default)
    {
        return WithDefault(Enumeration<Getter, Setter, StoredFn>(Name, ValueNames),
                           static_cast<std::int64_t>(Default));
    }
    // Set properties: the getter returns a TSet; ValueNames name its elements.
    template <auto Getter, auto Setter, auto StoredFn = nullptr, std::size_t N>
    static constexpr TPropertyInfo Set(const wchar_t* Name, const wchar_t* const (&ValueNames)[N])
    {
        TPropertyInfo info = Ordinal<Getter, Setter, StoredFn>(Name, TTypeKind::Set);
        info.ValueNames = ValueNames;
        info.ValueCount = N;
        return info;
    }
    template <auto Getter, auto Setter, auto StoredFn = nullptr, std::size_t N, class E>
    static constexpr TPropertyInfo Set(const wchar_t* Name, const wchar_t* const (&ValueNames)[N],
                                       TSet<E> Default)
    {
        return WithDefault(Set<Getter, Setter, StoredFn>(Name, ValueNames), Default.Bits());
    }
    // String properties; an empty string (or the given default) is not written, and with a
    // null default every value is.
    template <auto Getter, auto Setter, auto StoredFn = nullptr>
    static constexpr TPropertyInfo WideString(const wchar_t* Name, const wchar_t* Default = L"")
    {
        TPropertyInfo info{Name, TTypeKind::WideString};
        info.GetString = [](const TPersistent& Instance) -> std::wstring {
            return std::invoke(Getter, static_cast<const C&>(Instance));
        };
        info.SetString = [](TPersistent& Instance, const std::wstring& Value) {
            Write<Setter>(static_cast<C&>(Instance), Value);
        };
        info.IsStored = StoredThunk<StoredFn>();
        info.HasDefault = Default != nullptr;
        info.StringDefault = Default ? Default : L"";
        return info;
    }
    // A persistent sub-object the class owns, read and written in place: a collection is
    // streamed as its items, any other object as its own properties (Font.Name = ...).
    template <auto Getter, auto StoredFn = nullptr>
    static constexpr TPropertyInfo Object(const wchar_t* Name)
    {
        using TSub = std::remove_pointer_t<
            std::decay_t<decltype(std::invoke(Getter, std::declval<const C&>()))>>;
        TPropertyInfo info{Name, TTypeKind::Class};
        info.GetObject = [](const TPersistent& Instance) -> TPersistent* {
            return std::invoke(Getter, static_cast<const C&>(Instance));
        };
        info.ObjectClass = &TSub::ClassInfo;
        info.IsStored = StoredThunk<StoredFn>();
        return info;
    }
    // A reference to a component of the same form, not owned: stored by name and set once the
    // whole form is read; none is the default.
    template <auto Getter, auto Setter>
    static constexpr TPropertyInfo Component(const wchar_t* Name)
    {
        TPropertyInfo info{Name, TTypeKind::Component};
        info.GetComponent = [](const TPersistent& Instance) -> TComponent* {
            return std::invoke(Getter, static_cast<const C&>(Instance));
        };
        info.SetComponent = [](TPersistent& Instance, TComponent* Value) {
            Write<Setter>(static_cast<C&>(Instance), Value);
        };
        info.HasDefault = true;
        return info;
    }
    // An event: method pointers are bound in code, so the reader accepts and skips a handler
    // name stored in a form, and the writer writes none.
    static constexpr TPropertyInfo Event(const wchar_t* Name)
    {
        return TPropertyInfo{Name, TTypeKind::Method};
    }

private:
    template <auto Getter>
    using TValue = std::decay_t<decltype(std::invoke(Getter, std::declval<const C&>()))>;

    template <class T>
    static constexpr std::int64_t ToOrdinal(const T& Value)
    {
        if constexpr (std::is_enum_v<T>)
            return static_cast<std::int64_t>(Value);
        else if constexpr (std::is_integral_v<T>)
            return static_cast<std::int64_t>(Value);
        else
            return static_cast<std::int64_t>(Value.Bits());
    }

    template <class T>
    static constexpr T FromOrdinal(std::int64_t Value)
    {
        if constexpr (std::is_same_v<T, bool>)
            return Value != 0;
        else if constexpr (std::is_enum_v<T> || std::is_integral_v<T>)
            return static_cast<T>(Value);
        else
            return T::FromBits(static_cast<std::uint32_t>(Value));
    }

    template <auto Setter, class V>
    static void Write(C& Instance, const V& Value)
    {
        if constexpr (std::is_member_object_pointer_v<decltype(Setter)>)
            Instance.*Setter = Value;
        else
            std::invoke(Setter, Instance, Value);
    }

    template <auto StoredFn>
    static constexpr bool (*StoredThunk())(const TPersistent&)
    {
        if constexpr (std::is_same_v<decltype(StoredFn), std::nullptr_t>)
            return nullptr;
        else
            return [](const TPersistent& Instance) -> bool {
                return std::invoke(StoredFn, static_cast<const C&>(Instance));
            };
    }

    template <auto Getter, auto Setter, auto StoredFn>
    static constexpr TPropertyInfo Ordinal(const wchar_t* Name, TTypeKind Kind)
    {
        TPropertyInfo info{Name, Kind};
        info.GetOrdinal = [](const TPersistent& Instance) -> std::int64_t {
            return ToOrdinal(std::invoke(Getter, static_cast<const C&>(Instance)));
        };
        info.SetOrdinal = [](TPersistent& Instance, std::int64_t Value) {
            Write<Setter>(static_cast<C&>(Instance), FromOrdinal<TValue<Getter>>(Value));
        };
        info.IsStored = StoredThunk<StoredFn>();
        return info;
    }

    static constexpr TPropertyInfo WithDefault(TPropertyInfo Info, std::int64_t Default)
    {
        Info.HasDefault = true;
        Info.OrdinalDefault = Default;
        return Info;
    }
};

// The class information of T, derived from Base: its name, its own published properties and,
// for concrete components and collection items, its virtual constructor.
template <class T, class Base>
TClassInfo DeclareClass(const wchar_t* Name, const TPropertyInfo* Properties, std::size_t Count)
{
    TClassInfo info;
    info.Name = Name;
    info.Parent = &Base::ClassInfo();
    info.Properties = Properties;
    info.PropertyCount = Count;
    if constexpr (!std::is_abstract_v<T> && std::is_constructible_v<T, TComponent*>)
        info.CreateComponent = [](TComponent* Owner) -> TComponent* { return new T(Owner); };
    if constexpr (!std::is_abstract_v<T> && std::is_constructible_v<T, TCollection*>)
        info.CreateItem = [](TCollection* Collection) -> TCollectionItem* {
            return new T(Collection);
        };
    return info;
}

template <class T, class Base, std::size_t N>
TClassInfo DeclareClass(const wchar_t* Name, const TPropertyInfo (&Properties)[N])
{
    return DeclareClass<T, Base>(Name, Properties, N);
}

template <class T, class Base>
TClassInfo DeclareClass(const wchar_t* Name)
{
    return DeclareClass<T, Base>(Name, nullptr, 0);
}

} // namespace zn
