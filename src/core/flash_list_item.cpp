// TznFlashStream, one embedded file, and the process-wide registry that every item enters.
#include "zintara/core/flash_list.h"

#include "zintara/framework/filer.h"
#include "zintara/framework/properties.h"

namespace zn {

namespace {

// Owned through the items: created with the first, freed with the last.
TStringList* Registry = nullptr;

int RegistryIndex(const TznFlashStream* Item)
{
    return Registry ? Registry->IndexOfObject(Item) : -1;
}

} // namespace

const TClassInfo& TznFlashStream::ClassInfo()
{
    using P = TPublished<TznFlashStream>;
    static const TPropertyInfo properties[] = {
        // No default: a name is stored even when it is empty.
        P::WideString<&TznFlashStream::GetFlashStore, &TznFlashStream::SetFlashStore>(L"FlashStore",
                                                                                      nullptr),
    };
    static const TClassInfo info =
        DeclareClass<TznFlashStream, TCollectionItem>(L"TznFlashStream", properties);
    return info;
}
const TClassInfo& TznFlashStream::ClassType() const
{
    return ClassInfo();
}

TznFlashStream::TznFlashStream(TCollection* Collection)
    : TCollectionItem(Collection), FFlash(std::make_unique<TMemoryStream>())
{
    std::unique_ptr<TStringList> created;
    if (!Registry) {
        created = std::make_unique<TStringList>();
        Registry = created.get();
    }
    try {
        Registry->AddObject(FFlashStore, this);
    } catch (...) {
        if (created)
            Registry = nullptr;
        throw;
    }
    created.release();
}

TznFlashStream::~TznFlashStream()
{
    int index = RegistryIndex(this);
    if (index >= 0)
        Registry->Delete(index);
    if (Registry && Registry->Count() == 0) {
        delete Registry;
        Registry = nullptr;
    }
}

std::wstring TznFlashStream::GetFlashStore() const
{
    return FFlash->Size() > 0 ? FFlashStore : EmptyFlashName;
}

void TznFlashStream::SetFlashStore(const std::wstring& Value)
{
    if (Value == FFlashStore)
        return;
    int index = RegistryIndex(this);
    if (index >= 0)
        Registry->SetStrings(index, Value);
    FFlashStore = Value;
}

void TznFlashStream::Assign(const TPersistent* Source)
{
    if (Source && Source->InheritsFrom(ClassInfo())) {
        auto* other = static_cast<const TznFlashStream*>(Source);
        if (other == this)
            return;
        FFlash->SetSize(other->FFlash->Size());
        FFlash->SetPosition(0);
        other->FFlash->SaveToStream(*FFlash);
        FFlash->SetPosition(0);
        SetFlashStore(other->FFlashStore);
        return;
    }
    TCollectionItem::Assign(Source);
}

void TznFlashStream::DefineProperties(TFiler& Filer)
{
    TCollectionItem::DefineProperties(Filer);
    Filer.DefineBinaryProperty<&TznFlashStream::ReadData, &TznFlashStream::WriteData>(
        L"FlashStream", this, true);
}

void TznFlashStream::ReadData(TStream& Stream)
{
    ReadFlashBlock(Stream, FFlashStore, *FFlash);
}

void TznFlashStream::WriteData(TStream& Stream)
{
    WriteFlashBlock(Stream, FFlashStore, *FFlash);
}

const TStringList* FlashList()
{
    return Registry;
}

std::unique_ptr<TMemoryStream> CopyFlashListStream(const std::wstring& Name)
{
    int index = Registry ? Registry->IndexOf(Name) : -1;
    if (index < 0)
        return nullptr;
    auto& item = *static_cast<TznFlashStream*>(Registry->Objects(index));
    auto copy = std::make_unique<TMemoryStream>();
    copy->SetSize(item.Flash().Size());
    item.Flash().SaveToStream(*copy);
    copy->SetPosition(0);
    return copy;
}

} // namespace zn
