// TznFlashStream, one embedded file, and the process-wide registry that every item enters.
#include "zintara/core/flash_list.h"

#include "zintara/framework/filer.h"
#include "zintara/framework/properties.h"

namespace zn {

namespace {

// Owned through the items: created with the first, freed with the last.
TStringList* Registry = nullptr;

int RegistryIndex(const TznFlashStream* Item) { return Registry ? Registry->IndexOfObject(Item) : -1; }

} // namespace

const TClassInfo& TznFlashStream::ClassInfo() {
    using P = TPublished<TznFlashStream>;
    static const TPropertyInfo Properties[] = {
        // No default: a name is stored even when it is empty.
        P::WideString<&TznFlashStream::GetFlashStore, &TznFlashStream::SetFlashStore>(L"FlashStore", nullptr),
    };
    static const TClassInfo Info = DeclareClass<TznFlashStream, TCollectionItem>(L"TznFlashStream", Properties);
    return Info;
}
const TClassInfo& TznFlashStream::ClassType() const { return ClassInfo(); }

TznFlashStream::TznFlashStream(TCollection* Collection)
    : TCollectionItem(Collection), FFlash(std::make_unique<TMemoryStream>()) {
    std::unique_ptr<TStringList> Created;
    if (!Registry) {
        Created = std::make_unique<TStringList>();
        Registry = Created.get();
    }
    try {
        Registry->AddObject(FFlashStore, this);
    } catch (...) {
        if (Created) Registry = nullptr;
        throw;
    }
    Created.release();
}

TznFlashStream::~TznFlashStream() {
    int Index = RegistryIndex(this);
    if (Index >= 0) Registry->Delete(Index);
    if (Registry && Registry->Count() == 0) {
        delete Registry;
        Registry = nullptr;
    }
}

std::wstring TznFlashStream::GetFlashStore() const { return FFlash->Size() > 0 ? FFlashStore : EmptyFlashName; }

void TznFlashStream::SetFlashStore(const std::wstring& Value) {
    if (Value == FFlashStore) return;
    int Index = RegistryIndex(this);
    if (Index >= 0) Registry->SetStrings(Index, Value);
    FFlashStore = Value;
}

void TznFlashStream::Assign(const TPersistent* Source) {
    if (Source && Source->InheritsFrom(ClassInfo())) {
        auto* Other = static_cast<const TznFlashStream*>(Source);
        if (Other == this) return;
        FFlash->SetSize(Other->FFlash->Size());
        FFlash->SetPosition(0);
        Other->FFlash->SaveToStream(*FFlash);
        FFlash->SetPosition(0);
        SetFlashStore(Other->FFlashStore);
        return;
    }
    TCollectionItem::Assign(Source);
}

void TznFlashStream::DefineProperties(TFiler& Filer) {
    TCollectionItem::DefineProperties(Filer);
    Filer.DefineBinaryProperty<&TznFlashStream::ReadData, &TznFlashStream::WriteData>(L"FlashStream", this, true);
}

void TznFlashStream::ReadData(TStream& Stream) { ReadFlashBlock(Stream, FFlashStore, *FFlash); }

void TznFlashStream::WriteData(TStream& Stream) { WriteFlashBlock(Stream, FFlashStore, *FFlash); }

const TStringList* FlashList() { return Registry; }

std::unique_ptr<TMemoryStream> CopyFlashListStream(const std::wstring& Name) {
    int Index = Registry ? Registry->IndexOf(Name) : -1;
    if (Index < 0) return nullptr;
    auto& Item = *static_cast<TznFlashStream*>(Registry->Objects(Index));
    auto Copy = std::make_unique<TMemoryStream>();
    Copy->SetSize(Item.Flash().Size());
    Item.Flash().SaveToStream(*Copy);
    Copy->SetPosition(0);
    return Copy;
}

} // namespace zn
