// The root classes: TObject with its class information (name, base class, published
// properties, how to construct one), and TPersistent, an object that can be copied and stored.
#pragma once

#include <cstddef>
#include <string>

namespace zn {

class TObject;
class TPersistent;
class TComponent;
class TCollection;
class TCollectionItem;
class TFiler;
struct TPropertyInfo;

// What the framework knows of a class at run time: the stand-in for a class reference. Each
// class has one, returned by its static ClassInfo(); see DeclareClass in properties.h.
struct TClassInfo {
    const wchar_t* Name = L"";
    const TClassInfo* Parent = nullptr;
    // The class's own published properties; the inherited ones are the parent's.
    const TPropertyInfo* Properties = nullptr;
    std::size_t PropertyCount = 0;
    // Virtual constructors: set for concrete components and collection items respectively.
    TComponent* (*CreateComponent)(TComponent* Owner) = nullptr;
    TCollectionItem* (*CreateItem)(TCollection* Collection) = nullptr;

    bool InheritsFrom(const TClassInfo& Ancestor) const;
    // The published property of this class or an ancestor, by name (ASCII case-insensitive).
    const TPropertyInfo* FindProperty(const std::wstring& PropertyName) const;
};

class TObject {
public:
    virtual ~TObject() = default;
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;

    static const TClassInfo& ClassInfo();
    virtual const TClassInfo& ClassType() const;
    std::wstring ClassName() const;
    bool InheritsFrom(const TClassInfo& Ancestor) const
    {
        return ClassType().InheritsFrom(Ancestor);
    }
};

class TPersistent : public TObject {
public:
    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    // Copies Source into this object. The default asks Source to AssignTo this object and
    // raises EConvertError ("Cannot assign a TX to a TY") when neither side knows how.
    virtual void Assign(const TPersistent* Source);
    // Declares the properties stored beside the published ones (see TFiler).
    virtual void DefineProperties(TFiler& Filer);
    // The object this one belongs to, for naming in the designer; null when none.
    virtual TPersistent* GetOwner() const { return nullptr; }

protected:
    virtual void AssignTo(TPersistent* Dest) const;
};

} // namespace zn
