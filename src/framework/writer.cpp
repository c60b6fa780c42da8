// TWriter: components, their published properties (only values other than the defaults),
// their defined properties, and the components they hold.
#include "zintara/framework/collection.h"
#include "zintara/framework/exceptions.h"
#include "zintara/framework/filer.h"

#include <algorithm>

namespace zn {

namespace {

// The classes of an object from TObject down, so that inherited properties come first.
std::vector<const TClassInfo*> ClassChain(const TClassInfo& Class) {
    std::vector<const TClassInfo*> Chain;
    for (const TClassInfo* Each = &Class; Each; Each = Each->Parent) Chain.push_back(Each);
    std::reverse(Chain.begin(), Chain.end());
    return Chain;
}

} // namespace

TWriter::TWriter(TStream& Stream) : TFiler(Stream), FOutput(Stream) {}

void TWriter::WriteDescendent(TComponent& Root) {
    FRoot = &Root;
    FOutput.WriteSignature();
    WriteComponent(Root);
}

void TWriter::WriteComponent(TComponent& Component) {
    if (!FRoot) FRoot = &Component;
    FOutput.WriteClassName(Component.ClassName());
    FOutput.WriteShortString(Component.Name());
    WriteProperties(Component);
    FOutput.WriteListEnd();
    std::vector<TComponent*> Children;
    Component.GetChildren(Children, FRoot);
    for (TComponent* Child : Children) WriteComponent(*Child);
    FOutput.WriteListEnd();
}

void TWriter::WriteProperties(const TPersistent& Instance) {
    for (const TClassInfo* Class : ClassChain(Instance.ClassType()))
        for (std::size_t I = 0; I < Class->PropertyCount; ++I) WriteProperty(Instance, Class->Properties[I]);
    const_cast<TPersistent&>(Instance).DefineProperties(*this);
}

void TWriter::WritePropertyName(const std::wstring& Name) { FOutput.WriteShortString(FPropertyPath + Name); }

void TWriter::WriteProperty(const TPersistent& Instance, const TPropertyInfo& Property) {
    // A property a descendant publishes again is written once, where the descendant has it.
    if (Instance.ClassType().FindProperty(Property.Name) != &Property) return;
    if (!Property.Stored(Instance) || Property.IsDefault(Instance)) return;
    switch (Property.Kind) {
    case TTypeKind::Integer:
    case TTypeKind::Cardinal:
        WritePropertyName(Property.Name);
        WriteInteger(Property.GetOrdinal(Instance));
        return;
    case TTypeKind::Boolean:
        WritePropertyName(Property.Name);
        WriteBoolean(Property.GetOrdinal(Instance) != 0);
        return;
    case TTypeKind::Enumeration: {
        std::int64_t Value = Property.GetOrdinal(Instance);
        if (Value < 0 || static_cast<std::uint64_t>(Value) >= Property.ValueCount)
            throw EWriteError(std::wstring(L"Property ") + Property.Name + L" has no name for its value " +
                              std::to_wstring(Value));
        WritePropertyName(Property.Name);
        WriteIdent(Property.ValueNames[Value]);
        return;
    }
    case TTypeKind::Set: {
        auto Bits = static_cast<std::uint32_t>(Property.GetOrdinal(Instance));
        WritePropertyName(Property.Name);
        FOutput.WriteValue(vaSet);
        for (std::size_t I = 0; I < Property.ValueCount && I < 32; ++I)
            if (Bits & (std::uint32_t{1} << I)) FOutput.WriteShortString(Property.ValueNames[I]);
        FOutput.WriteShortString(L"");
        return;
    }
    case TTypeKind::WideString:
        WritePropertyName(Property.Name);
        WriteString(Property.GetString(Instance));
        return;
    case TTypeKind::Class: {
        TPersistent* Object = Property.GetObject(Instance);
        if (!Object) return;
        if (const auto* Collection = dynamic_cast<const TCollection*>(Object)) {
            if (Collection->Count() == 0) return;
            WritePropertyName(Property.Name);
            WriteCollection(*Collection);
            return;
        }
        std::wstring Saved = FPropertyPath;
        FPropertyPath += std::wstring(Property.Name) + L".";
        WriteProperties(*Object);
        FPropertyPath = Saved;
        return;
    }
    case TTypeKind::Method: return;
    case TTypeKind::Component: {
        TComponent* Value = Property.GetComponent(Instance);
        if ((Value != FRoot && Value->Owner() != FRoot) || Value->Name().empty())
            throw EWriteError(std::wstring(L"Property ") + Property.Name + L" refers to a component outside the form");
        WritePropertyName(Property.Name);
        WriteIdent(Value->Name());
        return;
    }
    }
}

void TWriter::WriteCollection(const TCollection& Collection) {
    std::wstring Saved = FPropertyPath;
    FPropertyPath.clear();
    FOutput.WriteValue(vaCollection);
    for (int I = 0; I < Collection.Count(); ++I) {
        WriteListBegin();
        WriteProperties(*Collection.Items(I));
        WriteListEnd();
    }
    WriteListEnd();
    FPropertyPath = Saved;
}

void TWriter::DefineProperty(const std::wstring& Name, TReaderProc, TWriterProc WriteData, bool HasData) {
    if (!HasData || !WriteData) return;
    WritePropertyName(Name);
    WriteData(*this);
}

void TWriter::DefineBinaryProperty(const std::wstring& Name, TStreamProc, TStreamProc WriteData, bool HasData) {
    if (!HasData || !WriteData) return;
    TMemoryStream Data;
    WriteData(Data);
    WritePropertyName(Name);
    FOutput.WriteBinary(Data.Memory(), static_cast<std::size_t>(Data.Size()));
}

} // namespace zn
