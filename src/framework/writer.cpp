// TWriter: components, their published properties (only values other than the defaults),
// their defined properties, and the components they hold.
#include "zintara/framework/collection.h"
#include "zintara/framework/exceptions.h"
#include "zintara/framework/filer.h"

#include <algorithm>

namespace zn {

namespace {

// The classes of an object from TObject down, so that inherited properties come first.
std::vector<const TClassInfo*> ClassChain(const TClassInfo& Class)
{
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* each = &Class; each; each = each->Parent)
        chain.push_back(each);
    std::reverse(chain.begin(), chain.end());
    return chain;
}

} // namespace

TWriter::TWriter(TStream& Stream) : TFiler(Stream), FOutput(Stream) {}

void TWriter::WriteDescendent(TComponent& Root)
{
    FRoot = &Root;
    FOutput.WriteSignature();
    WriteComponent(Root);
}

void TWriter::WriteComponent(TComponent& Component)
{
    if (!FRoot)
        FRoot = &Component;
    FOutput.WriteClassName(Component.ClassName());
    FOutput.WriteShortString(Component.Name());
    WriteProperties(Component);
    FOutput.WriteListEnd();
    std::vector<TComponent*> children;
    Component.GetChildren(children, FRoot);
    for (TComponent* child : children)
        WriteComponent(*child);
    FOutput.WriteListEnd();
}

void TWriter::WriteProperties(const TPersistent& Instance)
{
    for (const TClassInfo* class_info : ClassChain(Instance.ClassType()))
        for (std::size_t i = 0; i < class_info->PropertyCount; ++i)
            WriteProperty(Instance, class_info->Properties[i]);
    const_cast<TPersistent&>(Instance).DefineProperties(*this);
}

void TWriter::WritePropertyName(const std::wstring& Name)
{
    FOutput.WriteShortString(FPropertyPath + Name);
}

void TWriter::WriteProperty(const TPersistent& Instance, const TPropertyInfo& Property)
{
    // A property a descendant publishes again is written once, where the descendant has it.
    if (Instance.ClassType().FindProperty(Property.Name) != &Property)
        return;
    if (!Property.Stored(Instance) || Property.IsDefault(Instance))
        return;
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
        std::int64_t value = Property.GetOrdinal(Instance);
        if (value < 0 || static_cast<std::uint64_t>(value) >= Property.ValueCount)
            throw EWriteError(std::wstring(L"Property ") + Property.Name +
                              L" has no name for its value " + std::to_wstring(value));
        WritePropertyName(Property.Name);
        WriteIdent(Property.ValueNames[value]);
        return;
    }
    case TTypeKind::Set: {
        auto bits = static_cast<std::uint32_t>(Property.GetOrdinal(Instance));
        WritePropertyName(Property.Name);
        FOutput.WriteValue(vaSet);
        for (std::size_t i = 0; i < Property.ValueCount && i < 32; ++i)
            if (bits & (std::uint32_t{1} << i))
                FOutput.WriteShortString(Property.ValueNames[i]);
        FOutput.WriteShortString(L"");
        return;
    }
    case TTypeKind::WideString:
        WritePropertyName(Property.Name);
        WriteString(Property.GetString(Instance));
        return;
    case TTypeKind::Class: {
        TPersistent* object = Property.GetObject(Instance);
        if (!object)
            return;
        if (const auto* collection = dynamic_cast<const TCollection*>(object)) {
            if (collection->Count() == 0)
                return;
            WritePropertyName(Property.Name);
            WriteCollection(*collection);
            return;
        }
        std::wstring saved = FPropertyPath;
        FPropertyPath += std::wstring(Property.Name) + L".";
        WriteProperties(*object);
        FPropertyPath = saved;
        return;
    }
    case TTypeKind::Method: return;
    case TTypeKind::Component: {
        TComponent* value = Property.GetComponent(Instance);
        if ((value != FRoot && value->Owner() != FRoot) || value->Name().empty())
            throw EWriteError(std::wstring(L"Property ") + Property.Name +
                              L" refers to a component outside the form");
        WritePropertyName(Property.Name);
        WriteIdent(value->Name());
        return;
    }
    }
}

void TWriter::WriteCollection(const TCollection& Collection)
{
    std::wstring saved = FPropertyPath;
    FPropertyPath.clear();
    FOutput.WriteValue(vaCollection);
    for (int i = 0; i < Collection.Count(); ++i) {
        WriteListBegin();
        WriteProperties(*Collection.Items(i));
        WriteListEnd();
    }
    WriteListEnd();
    FPropertyPath = saved;
}

void TWriter::DefineProperty(const std::wstring& Name, TReaderProc, TWriterProc WriteData,
                             bool HasData)
{
    if (!HasData || !WriteData)
        return;
    WritePropertyName(Name);
    WriteData(*this);
}

void TWriter::DefineBinaryProperty(const std::wstring& Name, TStreamProc, TStreamProc WriteData,
                                   bool HasData)
{
    if (!HasData || !WriteData)
        return;
    TMemoryStream data;
    WriteData(data);
    WritePropertyName(Name);
    FOutput.WriteBinary(data.Memory(), static_cast<std::size_t>(data.Size()));
}

} // namespace zn
