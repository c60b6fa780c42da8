// TStrings' shared operations and TStringList's storage.
#include "zintara/framework/strings.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/filer.h"
#include "zintara/framework/properties.h"

#include <windows.h>

namespace zn {

namespace {

int LocaleCompare(const std::wstring& A, const std::wstring& B, DWORD Flags)
{
    int result = CompareStringW(LOCALE_USER_DEFAULT, Flags, A.c_str(), static_cast<int>(A.size()),
                                B.c_str(), static_cast<int>(B.size()));
    return result - CSTR_EQUAL;
}

} // namespace

const TClassInfo& TStrings::ClassInfo()
{
    static const TClassInfo info = DeclareClass<TStrings, TPersistent>(L"TStrings");
    return info;
}
const TClassInfo& TStrings::ClassType() const
{
    return ClassInfo();
}

int TStrings::AddObject(const std::wstring& S, TObject* AObject)
{
    int index = Count();
    InsertObject(index, S, AObject);
    return index;
}

int TStrings::IndexOf(const std::wstring& S) const
{
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Strings(i), S) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const
{
    for (int i = 0; i < Count(); ++i)
        if (Objects(i) == AObject)
            return i;
    return -1;
}

int TStrings::CompareStrings(const std::wstring& A, const std::wstring& B) const
{
    return LocaleCompare(A, B, NORM_IGNORECASE);
}

void TStrings::IndexError(int Index) const
{
    throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
}

std::wstring TStrings::Text() const
{
    std::wstring result;
    for (int i = 0; i < Count(); ++i)
        result += Strings(i) + L"\r\n";
    return result;
}

void TStrings::SetText(const std::wstring& Value)
{
    Clear();
    size_t start = 0;
    while (start < Value.size()) {
        size_t end = Value.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos)
            end = Value.size();
        Add(Value.substr(start, end - start));
        if (end < Value.size() && Value[end] == L'\r')
            ++end;
        if (end < Value.size() && Value[end] == L'\n')
            ++end;
        start = end;
    }
}

void TStrings::Assign(const TPersistent* Source)
{
    if (const auto* other = dynamic_cast<const TStrings*>(Source)) {
        if (other == this)
            return;
        Clear();
        for (int i = 0; i < other->Count(); ++i)
            AddObject(other->Strings(i), other->Objects(i));
        return;
    }
    TPersistent::Assign(Source);
}

void TStrings::DefineProperties(TFiler& Filer)
{
    Filer.DefineProperty(L"Strings", TReaderProc::Bind<&TStrings::ReadData>(this),
                         TWriterProc::Bind<&TStrings::WriteData>(this), Count() > 0);
}

void TStrings::ReadData(TReader& Reader)
{
    Clear();
    Reader.ReadListBegin();
    while (!Reader.EndOfList())
        Add(Reader.ReadString());
    Reader.ReadListEnd();
}

void TStrings::WriteData(TWriter& Writer) const
{
    Writer.WriteListBegin();
    for (int i = 0; i < Count(); ++i)
        Writer.WriteString(Strings(i));
    Writer.WriteListEnd();
}

const TClassInfo& TStringList::ClassInfo()
{
    static const TClassInfo info = DeclareClass<TStringList, TStrings>(L"TStringList");
    return info;
}
const TClassInfo& TStringList::ClassType() const
{
    return ClassInfo();
}

const TStringList::TItem& TStringList::Item(int Index) const
{
    if (Index < 0 || Index >= Count())
        IndexError(Index);
    return FItems[static_cast<size_t>(Index)];
}

std::wstring TStringList::Strings(int Index) const
{
    return Item(Index).String;
}

void TStringList::SetStrings(int Index, const std::wstring& S)
{
    const_cast<TItem&>(Item(Index)).String = S;
}

TObject* TStringList::Objects(int Index) const
{
    return Item(Index).Object;
}

void TStringList::SetObjects(int Index, TObject* AObject)
{
    const_cast<TItem&>(Item(Index)).Object = AObject;
}

void TStringList::InsertObject(int Index, const std::wstring& S, TObject* AObject)
{
    if (Index < 0 || Index > Count())
        IndexError(Index);
    FItems.insert(FItems.begin() + Index, TItem{S, AObject});
}

void TStringList::Delete(int Index)
{
    Item(Index);
    FItems.erase(FItems.begin() + Index);
}

void TStringList::Clear()
{
    FItems.clear();
}

int TStringList::CompareStrings(const std::wstring& A, const std::wstring& B) const
{
    return FCaseSensitive ? LocaleCompare(A, B, 0) : TStrings::CompareStrings(A, B);
}

} // namespace zn
