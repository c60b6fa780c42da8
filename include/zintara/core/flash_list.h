// The embedded file library: files carried inside a form, each a named item of a list
// component, all of them entered by name in one process-wide registry that the drivers consult
// before they read a requested file from the disk.
#pragma once

#include "zintara/framework/collection.h"
#include "zintara/framework/component.h"
#include "zintara/framework/streams.h"
#include "zintara/framework/strings.h"

#include <memory>
#include <string>

namespace zn {

// The "FlashStream" block of an item, as stored inside its binary property. All integers are
// little-endian:
//   Kind 4: 1 byte 4, int32 name length N (UTF-16 units), N units of name, int32 size S, S bytes
//   Kind 0: the single byte 0, an item without bytes
//   Kind 2 (read only): 1 byte 2, int32 length L, L bytes of name in the system code page,
//           then the size and bytes as for Kind 4
// Any other Kind is that one byte and nothing more.
inline constexpr unsigned char FlashBlockEmpty = 0;
inline constexpr unsigned char FlashBlockAnsiName = 2;
inline constexpr unsigned char FlashBlockWideName = 4;

// Writes Data's whole contents, from its start, under Name: Kind 4, or Kind 0 when Data is
// empty. Raises EWriteError for a name or size that the block's 32-bit fields cannot hold.
void WriteFlashBlock(TStream& Stream, const std::wstring& Name, TCustomMemoryStream& Data);

// Reads one block. For Kind 2 and 4 the name goes to Name and the bytes replace Data's
// (Data's position is kept) and the result is true; any other Kind changes neither and the
// result is false. Every length is checked against the bytes left in Stream before anything is
// allocated: a negative one, or one beyond the end, raises EReadError and leaves Name and Data
// as they were. Name is set only once the whole block has been read.
bool ReadFlashBlock(TStream& Stream, std::wstring& Name, TMemoryStream& Data);

// What an item is called while it holds no bytes, whatever name it was given.
inline constexpr const wchar_t* EmptyFlashName = L"(empty)";

class TznFlashList;

// One embedded file: a name, normally a file name without a path (intro.swf), and the file's
// bytes. Every live item has exactly one entry in the registry (FlashList()).
class TznFlashStream : public TCollectionItem {
public:
    // Appends the item to Collection, empty and named "(empty)", and enters it in the registry.
    explicit TznFlashStream(TCollection* Collection);
    // Removes the item's entry; the registry goes with the last entry.
    ~TznFlashStream() override;

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    // The file's bytes, through which applications fill and read the item.
    TMemoryStream& Flash() const { return *FFlash; }
    // The public name: the name given, or "(empty)" while the item holds no bytes.
    std::wstring GetFlashStore() const;
    // Renames the item and its registry entry; an equal name (compared exactly) changes nothing.
    void SetFlashStore(const std::wstring& Value);

    // From another item: its name and bytes. Any other source is left to the framework.
    void Assign(const TPersistent* Source) override;
    // The binary property "FlashStream", always written, holding the name and the bytes.
    void DefineProperties(TFiler& Filer) override;
    std::wstring GetDisplayName() const override { return GetFlashStore(); }

private:
    void ReadData(TStream& Stream);
    void WriteData(TStream& Stream);

    std::unique_ptr<TMemoryStream> FFlash;
    std::wstring FFlashStore = EmptyFlashName;
};

// The items of one list component.
class TznFlashCollection : public TCollection {
public:
    explicit TznFlashCollection(TznFlashList* AOwner);

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    TznFlashStream* Add() { return static_cast<TznFlashStream*>(TCollection::Add()); }
    // Raise EListError for an index outside 0..Count-1.
    TznFlashStream* GetItem(int Index) const { return static_cast<TznFlashStream*>(Items(Index)); }
    void SetItem(int Index, const TznFlashStream* Value) { SetItems(Index, Value); }
    // The list component, which names the collection in the designer.
    TPersistent* GetOwner() const override;

private:
    TznFlashList* FFlashList;
};

// A non-visual component holding embedded files, stored with its form.
class TznFlashList : public TComponent {
public:
    explicit TznFlashList(TComponent* AOwner);
    ~TznFlashList() override;

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    TznFlashCollection* Flashs() const { return FFlashs.get(); }
    // The first item whose public name equals AName, ignoring the case of A-Z only; null when
    // none does. The whole name must match: no path or extension rules.
    TznFlashStream* FindFlash(const std::wstring& AName) const;

private:
    std::unique_ptr<TznFlashCollection> FFlashs;
};

// The process-wide registry of every live item by name, in creation order: each entry's text is
// the name last given to its item through SetFlashStore, its object the item. Null while no
// item exists.
const TStringList* FlashList();

// What the drivers serve for a requested file name: a new stream holding a copy of the bytes
// of the first registered item of that name (whole name, case-insensitive by the user's
// locale), at position 0; null when no item has that name. The item is left untouched.
std::unique_ptr<TMemoryStream> CopyFlashListStream(const std::wstring& Name);

// Makes TznFlashList known to the form reader. Call once before reading forms that hold one.
void RegisterFlashListClasses();

} // namespace zn
