// String lists: TStrings, the interface, and TStringList, a list of UTF-16 strings each with
// an associated object, compared by the user's locale.
#pragma once

#include "zintara/framework/object.h"

#include <string>
#include <vector>

namespace zn {

class TReader;
class TWriter;

class TStrings : public TPersistent {
public:
    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    virtual int Count() const = 0;
    // Indexed access raises EListError outside 0..Count-1 (Insert accepts Count).
    virtual std::wstring Strings(int Index) const = 0;
    virtual void SetStrings(int Index, const std::wstring& S) = 0;
    virtual TObject* Objects(int Index) const = 0;
    virtual void SetObjects(int Index, TObject* AObject) = 0;
    virtual void InsertObject(int Index, const std::wstring& S, TObject* AObject) = 0;
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;

    void Insert(int Index, const std::wstring& S) { InsertObject(Index, S, nullptr); }
    int Add(const std::wstring& S) { return AddObject(S, nullptr); }
    int AddObject(const std::wstring& S, TObject* AObject);
    // The first entry equal to S by CompareStrings, -1 when none.
    virtual int IndexOf(const std::wstring& S) const;
    int IndexOfObject(const TObject* AObject) const;

    // Lines separated by CR LF, each one ended by it.
    std::wstring Text() const;
    void SetText(const std::wstring& Value);

    void Assign(const TPersistent* Source) override;
    // Stored in forms as the list property "Strings".
    void DefineProperties(TFiler& Filer) override;

protected:
    // Negative, zero or positive; the default ignores case by the user's locale.
    virtual int CompareStrings(const std::wstring& A, const std::wstring& B) const;
    [[noreturn]] void IndexError(int Index) const;

private:
    void ReadData(TReader& Reader);
    void WriteData(TWriter& Writer) const;
};

class TStringList : public TStrings {
public:
    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    int Count() const override { return static_cast<int>(FItems.size()); }
    std::wstring Strings(int Index) const override;
    void SetStrings(int Index, const std::wstring& S) override;
    TObject* Objects(int Index) const override;
    void SetObjects(int Index, TObject* AObject) override;
    void InsertObject(int Index, const std::wstring& S, TObject* AObject) override;
    void Delete(int Index) override;
    void Clear() override;

    // False by default: IndexOf ignores case, by the rules of the user's locale.
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }

protected:
    int CompareStrings(const std::wstring& A, const std::wstring& B) const override;

private:
    struct TItem {
        std::wstring String;
        TObject* Object;
    };
    const TItem& Item(int Index) const;
    std::vector<TItem> FItems;
    bool FCaseSensitive = false;
};

} // namespace zn
