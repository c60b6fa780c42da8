// TStrings' shared operations and TStringList's storage.
#include "zintara/framework/strings.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/filer.h"
#include "zintara/framework/properties.h"

#include <windows.h>

namespace zn {

namespace {

int LocaleCompare(const std::wstring& A, const std::wstring& B, DWORD Flags) {
    int Result = CompareStringW(LOCALE_USER_DEFAULT, Flags, A.c_str(), static_cast<int>(A.size()), B.c_str(),
                                static_cast<int>(B.size()));
    return Result - CSTR_EQUAL;
}

} // namespace

const TClassInfo& TStrings::ClassInfo() {
    static const TClassInfo Info = DeclareClass<TStrings, TPersistent>(L"TStrings");
    return Info;
}
const TClassInfo& TStrings::ClassType() const { return ClassInfo(); }

int TStrings::AddObject(const std::wstring& S, TObject* AObject) {
    int Index = Count();
    InsertObject(Index, S, AObject);
    return Index;
}

int TStrings::IndexOf(const std::wstring& S) const {
    for (int I = 0; I < Count(); ++I)
        if (CompareStrings(Strings(I), S) == 0) return I;
    return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
    for (int I = 0; I < Count(); ++I)
        if (Objects(I) == AObject) return I;
    return -1;
}

int TStrings::CompareStrings(const std::wstring& A, const std::wstring& B) const {
    return LocaleCompare(A, B, NORM_IGNORECASE);
}

void TStrings::IndexError(int Index) const {
    throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
}

std::wstring TStrings::Text() const {
    std::wstring Result;
    for (int I = 0; I < Count(); ++I) Result += Strings(I) + L"\r\n";
    return Result;
}

void TStrings::SetText(const std::wstring& Value) {
    Clear();
    size_t Start = 0;
    while (Start < Value.size()) {
        size_t End = Value.find_first_of(L"\r\n", Start);
        if (End == std::wstring::npos) End = Value.size();
        Add(Value.substr(Start, End - Start));
        if (End < Value.size() && Value[End] == L'\r') ++End;
        if (End < Value.size() && Value[End] == L'\n') ++End;
        Start = End;
    }
}

void TStrings::Assign(const TPersistent* Source) {
    if (const auto* Other = dynamic_cast<const TStrings*>(Source)) {
        if (Other == this) return;
        Clear();
        for (int I = 0; I < Other->Count(); ++I) AddObject(Other->Strings(I), Other->Objects(I));
        return;
    }
    TPersistent::Assign(Source);
}

void TStrings::DefineProperties(TFiler& Filer) {
    Filer.DefineProperty(L"Strings", TReaderProc::Bind<&TStrings::ReadData>(this),
                         TWriterProc::Bind<&TStrings::WriteData>(this), Count() > 0);
}

void TStrings::ReadData(TReader& Reader) {
    Clear();
    Reader.ReadListBegin();
    while (!Reader.EndOfList()) Add(Reader.ReadString());
    Reader.ReadListEnd();
}

void TStrings::WriteData(TWriter& Writer) const {
    Writer.WriteListBegin();
    for (int I = 0; I < Count(); ++I) Writer.WriteString(Strings(I));
    Writer.WriteListEnd();
}

const TClassInfo& TStringList::ClassInfo() {
    static const TClassInfo Info = DeclareClass<TStringList, TStrings>(L"TStringList");
    return Info;
}
const TClassInfo& TStringList::ClassType() const { return ClassInfo(); }

const TStringList::TItem& TStringList::Item(int Index) const {
    if (Index < 0 || Index >= Count()) IndexError(Index);
    return FItems[static_cast<size_t>(Index)];
}

std::wstring TStringList::Strings(int Index) const { return Item(Index).String; }

void TStringList::SetStrings(int Index, const std::wstring& S) { const_cast<TItem&>(Item(Index)).String = S; }

TObject* TStringList::Objects(int Index) const { return Item(Index).Object; }

void TStringList::SetObjects(int Index, TObject* AObject) { const_cast<TItem&>(Item(Index)).Object = AObject; }

void TStringList::InsertObject(int Index, const std::wstring& S, TObject* AObject) {
    if (Index < 0 || Index > Count()) IndexError(Index);
    FItems.insert(FItems.begin() + Index, TItem{S, AObject});
}

void TStringList::Delete(int Index) {
    Item(Index);
    FItems.erase(FItems.begin() + Index);
}

void TStringList::Clear() { FItems.clear(); }

int TStringList::CompareStrings(const std::wstring& A, const std::wstring& B) const {
    return FCaseSensitive ? LocaleCompare(A, B, 0) : TStrings::CompareStrings(A, B);
}

} // namespace zn
