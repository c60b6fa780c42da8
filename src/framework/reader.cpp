// TReader: builds a component tree from a binary form, in two phases (read everything, then
// Loaded), and frees what it built when the form turns out to be damaged.
#include "zintara/framework/class_registry.h"
#include "zintara/framework/collection.h"
#include "zintara/framework/exceptions.h"
#include "zintara/framework/filer.h"
#include "zintara/framework/text.h"

#include <algorithm>

namespace zn {

namespace {

std::wstring Widen(const std::string& Name)
{
    return std::wstring(Name.begin(), Name.end());
}

// Failures of the components' own code while a form is read become read errors, so that the
// caller has one kind of exception to expect.
[[noreturn]] void RaiseAsFilerError(std::exception_ptr Failure)
{
    try {
        std::rethrow_exception(Failure);
    } catch (const EFilerError&) {
        throw;
    } catch (const Exception& e) {
        throw EReadError(L"Error reading form: " + e.Message());
    } catch (const std::bad_alloc&) {
        throw EReadError(L"Error reading form: out of memory");
    } catch (const std::exception& e) {
        throw EReadError(L"Error reading form: " + Utf8ToWide(e.what()));
    } catch (...) {
        throw EReadError(L"Error reading form: unknown failure");
    }
}

std::wstring ComponentPath(const TComponent* Component)
{
    if (!Component)
        return L"";
    return Component->Name().empty() ? Component->ClassName() : Component->Name();
}

} // namespace

TReader::TReader(TStream& Stream) : TFiler(Stream), FInput(Stream) {}

void TReader::Enter()
{
    if (++FDepth > MaxFormNesting)
        throw EReadError(L"Form nested too deeply");
}

std::int64_t TReader::ReadInteger()
{
    return FInput.ReadIntegerValue(FInput.ReadValue());
}

bool TReader::ReadBoolean()
{
    TValueType type = FInput.ReadValue();
    if (type != vaTrue && type != vaFalse)
        throw EReadError(L"Boolean value expected");
    return type == vaTrue;
}

std::wstring TReader::ReadString()
{
    return FInput.ReadStringValue(FInput.ReadValue());
}

std::wstring TReader::ReadIdent()
{
    switch (FInput.ReadValue()) {
    case vaIdent: return Widen(FInput.ReadShortString());
    case vaFalse: return L"False";
    case vaTrue: return L"True";
    case vaNil: return L"nil";
    default: throw EReadError(L"Identifier expected");
    }
}

long double TReader::ReadFloat()
{
    return FInput.ReadFloatValue(FInput.ReadValue());
}

void TReader::ReadListBegin()
{
    if (FInput.ReadValue() != vaList)
        throw EReadError(L"List expected");
}

void TReader::ReadListEnd()
{
    FInput.ReadListEnd();
}
bool TReader::EndOfList()
{
    return FInput.EndOfList();
}
TValueType TReader::NextValue()
{
    return FInput.NextValue();
}
void TReader::SkipValue()
{
    FInput.SkipValue();
}

TComponent* TReader::ReadRootComponent(TComponent* Root)
{
    FLoaded.clear();
    FCreated.clear();
    FFixups.clear();
    FDepth = 0;
    FPropertyErrorNamed = false;
    bool created_root = false;
    try {
        FInput.ReadSignature();
        std::uint8_t flags;
        std::int32_t position;
        FInput.ReadPrefix(flags, position);
        std::wstring class_name = Widen(FInput.ReadShortString());
        std::wstring name = Widen(FInput.ReadShortString());
        if (!Root) {
            const TClassInfo& class_info = FindClass(class_name);
            if (!class_info.CreateComponent)
                throw EClassNotFound(L"Class " + class_name + L" is not a component class");
            Root = class_info.CreateComponent(nullptr);
            created_root = true;
        }
        FRoot = Root;
        Root->BeginLoading();
        FLoaded.push_back(Root);
        Root->SetName(UniqueRootName(*Root, name));
        Enter();
        ReadProperties(*Root);
        while (!FInput.EndOfList())
            ReadComponent(Root);
        FInput.ReadListEnd();
        Leave();
        ResolveFixups();
        for (TComponent* component : FLoaded)
            component->EndReading();
        for (TComponent* component : FLoaded)
            component->Loaded();
    } catch (...) {
        std::exception_ptr failure = std::current_exception();
        FreeHalfBuilt(created_root ? Root : nullptr);
        RaiseAsFilerError(failure);
    }
    FLoaded.clear();
    FCreated.clear();
    return Root;
}

void TReader::ResolveFixups()
{
    for (const TFixup& fixup : FFixups) {
        TComponent* target =
            SameText(fixup.Name, FRoot->Name()) ? FRoot : FRoot->FindComponent(fixup.Name);
        if (!target)
            throw EReadError(L"Unresolved reference to " + fixup.Name + L" in property " +
                             fixup.Property->Name);
        fixup.Property->SetComponent(*fixup.Instance, target);
    }
    FFixups.clear();
}

void TReader::FreeHalfBuilt(TComponent* CreatedRoot)
{
    for (TComponent* component : FLoaded)
        if (std::find(FCreated.begin(), FCreated.end(), component) == FCreated.end())
            component->AbortLoading();
    for (auto it = FCreated.rbegin(); it != FCreated.rend(); ++it)
        delete *it;
    delete CreatedRoot;
    FFixups.clear();
    FLoaded.clear();
    FCreated.clear();
    FRoot = nullptr;
}

std::wstring TReader::UniqueRootName(TComponent& Root, const std::wstring& Name) const
{
    TComponent* owner = Root.Owner();
    if (!owner || Name.empty())
        return Name;
    std::wstring candidate = Name;
    for (int i = 1; owner->FindComponent(candidate) && owner->FindComponent(candidate) != &Root;
         ++i)
        candidate = Name + L"_" + std::to_wstring(i);
    return candidate;
}

TComponent* TReader::ReadComponent(TComponent* Parent)
{
    Enter();
    std::uint8_t flags;
    std::int32_t position;
    FInput.ReadPrefix(flags, position);
    std::wstring class_name = Widen(FInput.ReadShortString());
    std::wstring name = Widen(FInput.ReadShortString());
    // A component the root made itself (in its constructor) is filled, not made again.
    TComponent* instance = FRoot->FindComponent(name);
    if (instance && !SameText(instance->ClassName(), class_name))
        throw EReadError(L"Component " + name + L" is a " + instance->ClassName() + L", not a " +
                         class_name);
    if (!instance) {
        const TClassInfo& class_info = FindClass(class_name);
        if (!class_info.CreateComponent)
            throw EReadError(L"Class " + class_name + L" is not a component class");
        instance = class_info.CreateComponent(FRoot);
        FCreated.push_back(instance);
        instance->SetName(name);
    }
    instance->BeginLoading();
    FLoaded.push_back(instance);
    instance->SetParentComponent(Parent);
    ReadProperties(*instance);
    while (!FInput.EndOfList())
        ReadComponent(instance);
    FInput.ReadListEnd();
    Leave();
    return instance;
}

void TReader::ReadProperties(TPersistent& Instance)
{
    while (!FInput.EndOfList())
        ReadProperty(Instance);
    FInput.ReadListEnd();
}

void TReader::ReadProperty(TPersistent& Instance)
{
    std::wstring path = Widen(FInput.ReadShortString());
    try {
        TPersistent* target = &Instance;
        std::wstring name = path;
        // "Font.Name": walk the sub-objects to the one that has the last name.
        for (size_t dot; (dot = name.find(L'.')) != std::wstring::npos;) {
            const TPropertyInfo* step = target->ClassType().FindProperty(name.substr(0, dot));
            TPersistent* next =
                step && step->Kind == TTypeKind::Class ? step->GetObject(*target) : nullptr;
            if (!next)
                throw EReadError(L"Property " + path + L" does not exist");
            target = next;
            name = name.substr(dot + 1);
        }
        if (const TPropertyInfo* property = target->ClassType().FindProperty(name)) {
            ReadPropertyValue(*target, *property);
            return;
        }
        FPropertyName = name;
        FPropertyFound = false;
        target->DefineProperties(*this);
        if (!FPropertyFound)
            throw EReadError(L"Property " + path + L" does not exist");
    } catch (const Exception& e) {
        // Name the property once, where the innermost failure happened.
        if (FPropertyErrorNamed)
            throw;
        FPropertyErrorNamed = true;
        std::wstring owner = dynamic_cast<TComponent*>(&Instance)
                                 ? ComponentPath(static_cast<TComponent*>(&Instance))
                                 : Instance.ClassName();
        throw EReadError(L"Error reading " + owner + L"." + path + L": " + e.Message());
    }
}

void TReader::ReadPropertyValue(TPersistent& Instance, const TPropertyInfo& Property)
{
    switch (Property.Kind) {
    case TTypeKind::Integer: {
        std::int64_t value = ReadInteger();
        if (value < INT32_MIN || value > INT32_MAX)
            throw EReadError(L"Integer value out of range");
        Property.SetOrdinal(Instance, value);
        return;
    }
    case TTypeKind::Cardinal: {
        std::int64_t value = ReadInteger();
        // Older writers stored values above 2^31 as negative 32-bit integers.
        if (value < INT32_MIN || value > UINT32_MAX)
            throw EReadError(L"Cardinal value out of range");
        Property.SetOrdinal(Instance, static_cast<std::uint32_t>(value));
        return;
    }
    case TTypeKind::Boolean: Property.SetOrdinal(Instance, ReadBoolean() ? 1 : 0); return;
    case TTypeKind::Enumeration: {
        std::wstring ident = ReadIdent();
        int index = Property.ValueIndex(ident);
        if (index < 0)
            throw EReadError(L"Invalid property value " + ident);
        Property.SetOrdinal(Instance, index);
        return;
    }
    case TTypeKind::Set: {
        if (FInput.ReadValue() != vaSet)
            throw EReadError(L"Set value expected");
        std::uint32_t bits = 0;
        for (std::wstring element; !(element = Widen(FInput.ReadShortString())).empty();) {
            int index = Property.ValueIndex(element);
            if (index < 0 || index >= 32)
                throw EReadError(L"Invalid set element " + element);
            bits |= std::uint32_t{1} << index;
        }
        Property.SetOrdinal(Instance, bits);
        return;
    }
    case TTypeKind::WideString: Property.SetString(Instance, ReadString()); return;
    case TTypeKind::Class: {
        TPersistent* object = Property.GetObject(Instance);
        auto* collection = dynamic_cast<TCollection*>(object);
        TValueType type = FInput.ReadValue();
        if (collection && type == vaCollection) {
            ReadCollection(*collection);
            return;
        }
        if (type != vaNil)
            throw EReadError(L"Invalid property value");
        return;
    }
    case TTypeKind::Component:
        if (FInput.NextValue() == vaNil) {
            FInput.SkipValue();
            Property.SetComponent(Instance, nullptr);
            return;
        }
        FFixups.push_back(TFixup{&Instance, &Property, ReadIdent()});
        return;
    case TTypeKind::Method: {
        TValueType type = FInput.NextValue();
        if (type != vaIdent && type != vaNil && type != vaString)
            throw EReadError(L"Method name expected");
        FInput.SkipValue();
        return;
    }
    }
}

void TReader::ReadCollection(TCollection& Collection)
{
    Enter();
    if (!FInput.EndOfList())
        Collection.Clear();
    while (!FInput.EndOfList()) {
        TValueType next = FInput.NextValue();
        if (next == vaInt8 || next == vaInt16 || next == vaInt32)
            ReadInteger();
        ReadListBegin();
        TCollectionItem* item = Collection.Add();
        ReadProperties(*item);
    }
    FInput.ReadListEnd();
    Leave();
}

void TReader::DefineProperty(const std::wstring& Name, TReaderProc ReadData, TWriterProc, bool)
{
    if (FPropertyFound || !ReadData || !SameText(Name, FPropertyName))
        return;
    FPropertyFound = true;
    ReadData(*this);
}

void TReader::DefineBinaryProperty(const std::wstring& Name, TStreamProc ReadData, TStreamProc,
                                   bool)
{
    if (FPropertyFound || !ReadData || !SameText(Name, FPropertyName))
        return;
    FPropertyFound = true;
    if (FInput.ReadValue() != vaBinary)
        throw EReadError(L"Binary value expected");
    TMemoryStream data;
    FInput.ReadBinaryValue(data);
    ReadData(data);
}

} // namespace zn
