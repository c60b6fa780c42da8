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

std::wstring Widen(const std::string& Name) { return std::wstring(Name.begin(), Name.end()); }

// Failures of the components' own code while a form is read become read errors, so that the
// caller has one kind of exception to expect.
[[noreturn]] void RaiseAsFilerError(std::exception_ptr Failure) {
    try {
        std::rethrow_exception(Failure);
    } catch (const EFilerError&) {
        throw;
    } catch (const Exception& E) {
        throw EReadError(L"Error reading form: " + E.Message());
    } catch (const std::bad_alloc&) {
        throw EReadError(L"Error reading form: out of memory");
    } catch (const std::exception& E) {
        throw EReadError(L"Error reading form: " + Utf8ToWide(E.what()));
    } catch (...) {
        throw EReadError(L"Error reading form: unknown failure");
    }
}

std::wstring ComponentPath(const TComponent* Component) {
    if (!Component) return L"";
    return Component->Name().empty() ? Component->ClassName() : Component->Name();
}

} // namespace

TReader::TReader(TStream& Stream) : TFiler(Stream), FInput(Stream) {}

void TReader::Enter() {
    if (++FDepth > MaxFormNesting) throw EReadError(L"Form nested too deeply");
}

std::int64_t TReader::ReadInteger() { return FInput.ReadIntegerValue(FInput.ReadValue()); }

bool TReader::ReadBoolean() {
    TValueType Type = FInput.ReadValue();
    if (Type != vaTrue && Type != vaFalse) throw EReadError(L"Boolean value expected");
    return Type == vaTrue;
}

std::wstring TReader::ReadString() { return FInput.ReadStringValue(FInput.ReadValue()); }

std::wstring TReader::ReadIdent() {
    switch (FInput.ReadValue()) {
    case vaIdent: return Widen(FInput.ReadShortString());
    case vaFalse: return L"False";
    case vaTrue: return L"True";
    case vaNil: return L"nil";
    default: throw EReadError(L"Identifier expected");
    }
}

long double TReader::ReadFloat() { return FInput.ReadFloatValue(FInput.ReadValue()); }

void TReader::ReadListBegin() {
    if (FInput.ReadValue() != vaList) throw EReadError(L"List expected");
}

void TReader::ReadListEnd() { FInput.ReadListEnd(); }
bool TReader::EndOfList() { return FInput.EndOfList(); }
TValueType TReader::NextValue() { return FInput.NextValue(); }
void TReader::SkipValue() { FInput.SkipValue(); }

TComponent* TReader::ReadRootComponent(TComponent* Root) {
    FLoaded.clear();
    FCreated.clear();
    FFixups.clear();
    FDepth = 0;
    FPropertyErrorNamed = false;
    bool CreatedRoot = false;
    try {
        FInput.ReadSignature();
        std::uint8_t Flags;
        std::int32_t Position;
        FInput.ReadPrefix(Flags, Position);
        std::wstring ClassName = Widen(FInput.ReadShortString());
        std::wstring Name = Widen(FInput.ReadShortString());
        if (!Root) {
            const TClassInfo& Class = FindClass(ClassName);
            if (!Class.CreateComponent) throw EClassNotFound(L"Class " + ClassName + L" is not a component class");
            Root = Class.CreateComponent(nullptr);
            CreatedRoot = true;
        }
        FRoot = Root;
        Root->BeginLoading();
        FLoaded.push_back(Root);
        Root->SetName(UniqueRootName(*Root, Name));
        Enter();
        ReadProperties(*Root);
        while (!FInput.EndOfList()) ReadComponent(Root);
        FInput.ReadListEnd();
        Leave();
        ResolveFixups();
        for (TComponent* Component : FLoaded) Component->EndReading();
        for (TComponent* Component : FLoaded) Component->Loaded();
    } catch (...) {
        std::exception_ptr Failure = std::current_exception();
        FreeHalfBuilt(CreatedRoot ? Root : nullptr);
        RaiseAsFilerError(Failure);
    }
    FLoaded.clear();
    FCreated.clear();
    return Root;
}

void TReader::ResolveFixups() {
    for (const TFixup& Fixup : FFixups) {
        TComponent* Target = SameText(Fixup.Name, FRoot->Name()) ? FRoot : FRoot->FindComponent(Fixup.Name);
        if (!Target)
            throw EReadError(L"Unresolved reference to " + Fixup.Name + L" in property " + Fixup.Property->Name);
        Fixup.Property->SetComponent(*Fixup.Instance, Target);
    }
    FFixups.clear();
}

void TReader::FreeHalfBuilt(TComponent* CreatedRoot) {
    for (TComponent* Component : FLoaded)
        if (std::find(FCreated.begin(), FCreated.end(), Component) == FCreated.end()) Component->AbortLoading();
    for (auto It = FCreated.rbegin(); It != FCreated.rend(); ++It) delete *It;
    delete CreatedRoot;
    FFixups.clear();
    FLoaded.clear();
    FCreated.clear();
    FRoot = nullptr;
}

std::wstring TReader::UniqueRootName(TComponent& Root, const std::wstring& Name) const {
    TComponent* Owner = Root.Owner();
    if (!Owner || Name.empty()) return Name;
    std::wstring Candidate = Name;
    for (int I = 1; Owner->FindComponent(Candidate) && Owner->FindComponent(Candidate) != &Root; ++I)
        Candidate = Name + L"_" + std::to_wstring(I);
    return Candidate;
}

TComponent* TReader::ReadComponent(TComponent* Parent) {
    Enter();
    std::uint8_t Flags;
    std::int32_t Position;
    FInput.ReadPrefix(Flags, Position);
    std::wstring ClassName = Widen(FInput.ReadShortString());
    std::wstring Name = Widen(FInput.ReadShortString());
    // A component the root made itself (in its constructor) is filled, not made again.
    TComponent* Instance = FRoot->FindComponent(Name);
    if (Instance && !SameText(Instance->ClassName(), ClassName))
        throw EReadError(L"Component " + Name + L" is a " + Instance->ClassName() + L", not a " + ClassName);
    if (!Instance) {
        const TClassInfo& Class = FindClass(ClassName);
        if (!Class.CreateComponent) throw EReadError(L"Class " + ClassName + L" is not a component class");
        Instance = Class.CreateComponent(FRoot);
        FCreated.push_back(Instance);
        Instance->SetName(Name);
    }
    Instance->BeginLoading();
    FLoaded.push_back(Instance);
    Instance->SetParentComponent(Parent);
    ReadProperties(*Instance);
    while (!FInput.EndOfList()) ReadComponent(Instance);
    FInput.ReadListEnd();
    Leave();
    return Instance;
}

void TReader::ReadProperties(TPersistent& Instance) {
    while (!FInput.EndOfList()) ReadProperty(Instance);
    FInput.ReadListEnd();
}

void TReader::ReadProperty(TPersistent& Instance) {
    std::wstring Path = Widen(FInput.ReadShortString());
    try {
        TPersistent* Target = &Instance;
        std::wstring Name = Path;
        // "Font.Name": walk the sub-objects to the one that has the last name.
        for (size_t Dot; (Dot = Name.find(L'.')) != std::wstring::npos;) {
            const TPropertyInfo* Step = Target->ClassType().FindProperty(Name.substr(0, Dot));
            TPersistent* Next = Step && Step->Kind == TTypeKind::Class ? Step->GetObject(*Target) : nullptr;
            if (!Next) throw EReadError(L"Property " + Path + L" does not exist");
            Target = Next;
            Name = Name.substr(Dot + 1);
        }
        if (const TPropertyInfo* Property = Target->ClassType().FindProperty(Name)) {
            ReadPropertyValue(*Target, *Property);
            return;
        }
        FPropertyName = Name;
        FPropertyFound = false;
        Target->DefineProperties(*this);
        if (!FPropertyFound) throw EReadError(L"Property " + Path + L" does not exist");
    } catch (const Exception& E) {
        // Name the property once, where the innermost failure happened.
        if (FPropertyErrorNamed) throw;
        FPropertyErrorNamed = true;
        std::wstring Owner = dynamic_cast<TComponent*>(&Instance) ? ComponentPath(static_cast<TComponent*>(&Instance))
                                                                  : Instance.ClassName();
        throw EReadError(L"Error reading " + Owner + L"." + Path + L": " + E.Message());
    }
}

void TReader::ReadPropertyValue(TPersistent& Instance, const TPropertyInfo& Property) {
    switch (Property.Kind) {
    case TTypeKind::Integer: {
        std::int64_t Value = ReadInteger();
        if (Value < INT32_MIN || Value > INT32_MAX) throw EReadError(L"Integer value out of range");
        Property.SetOrdinal(Instance, Value);
        return;
    }
    case TTypeKind::Cardinal: {
        std::int64_t Value = ReadInteger();
        // Older writers stored values above 2^31 as negative 32-bit integers.
        if (Value < INT32_MIN || Value > UINT32_MAX) throw EReadError(L"Cardinal value out of range");
        Property.SetOrdinal(Instance, static_cast<std::uint32_t>(Value));
        return;
    }
    case TTypeKind::Boolean: Property.SetOrdinal(Instance, ReadBoolean() ? 1 : 0); return;
    case TTypeKind::Enumeration: {
        std::wstring Ident = ReadIdent();
        int Index = Property.ValueIndex(Ident);
        if (Index < 0) throw EReadError(L"Invalid property value " + Ident);
        Property.SetOrdinal(Instance, Index);
        return;
    }
    case TTypeKind::Set: {
        if (FInput.ReadValue() != vaSet) throw EReadError(L"Set value expected");
        std::uint32_t Bits = 0;
        for (std::wstring Element; !(Element = Widen(FInput.ReadShortString())).empty();) {
            int Index = Property.ValueIndex(Element);
            if (Index < 0 || Index >= 32) throw EReadError(L"Invalid set element " + Element);
            Bits |= std::uint32_t{1} << Index;
        }
        Property.SetOrdinal(Instance, Bits);
        return;
    }
    case TTypeKind::WideString: Property.SetString(Instance, ReadString()); return;
    case TTypeKind::Class: {
        TPersistent* Object = Property.GetObject(Instance);
        auto* Collection = dynamic_cast<TCollection*>(Object);
        TValueType Type = FInput.ReadValue();
        if (Collection && Type == vaCollection) {
            ReadCollection(*Collection);
            return;
        }
        if (Type != vaNil) throw EReadError(L"Invalid property value");
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
        TValueType Type = FInput.NextValue();
        if (Type != vaIdent && Type != vaNil && Type != vaString) throw EReadError(L"Method name expected");
        FInput.SkipValue();
        return;
    }
    }
}

void TReader::ReadCollection(TCollection& Collection) {
    Enter();
    if (!FInput.EndOfList()) Collection.Clear();
    while (!FInput.EndOfList()) {
        TValueType Next = FInput.NextValue();
        if (Next == vaInt8 || Next == vaInt16 || Next == vaInt32) ReadInteger();
        ReadListBegin();
        TCollectionItem* Item = Collection.Add();
        ReadProperties(*Item);
    }
    FInput.ReadListEnd();
    Leave();
}

void TReader::DefineProperty(const std::wstring& Name, TReaderProc ReadData, TWriterProc, bool) {
    if (FPropertyFound || !ReadData || !SameText(Name, FPropertyName)) return;
    FPropertyFound = true;
    ReadData(*this);
}

void TReader::DefineBinaryProperty(const std::wstring& Name, TStreamProc ReadData, TStreamProc, bool) {
    if (FPropertyFound || !ReadData || !SameText(Name, FPropertyName)) return;
    FPropertyFound = true;
    if (FInput.ReadValue() != vaBinary) throw EReadError(L"Binary value expected");
    TMemoryStream Data;
    FInput.ReadBinaryValue(Data);
    ReadData(Data);
}

} // namespace zn
