// Form streaming's object side: TFiler and its two directions, TWriter, which writes a
// component tree with its published and defined properties, and TReader, which builds one
// back, creating components through the class registry.
#pragma once

#include "zintara/framework/component.h"
#include "zintara/framework/form_binary.h"
#include "zintara/framework/method.h"
#include "zintara/framework/properties.h"
#include "zintara/framework/streams.h"

#include <string>
#include <vector>

namespace zn {

class TReader;
class TWriter;
class TCollection;

using TReaderProc = TMethod<void(TReader& Reader)>;
using TWriterProc = TMethod<void(TWriter& Writer)>;
using TStreamProc = TMethod<void(TStream& Stream)>;

class TFiler : public TObject {
public:
    explicit TFiler(TStream& Stream) : FStream(Stream) {}

    // A property stored beside the published ones, written through the writer's typed values
    // when HasData is true: Filer.DefineProperty(L"Strings", Read, Write, Count() > 0).
    virtual void DefineProperty(const std::wstring& Name, TReaderProc ReadData,
                                TWriterProc WriteData, bool HasData) = 0;
    // A property stored as a block of bytes: a length-prefixed vaBinary value in binary forms,
    // hexadecimal in text forms. ReadData gets a stream holding exactly the block, at 0.
    virtual void DefineBinaryProperty(const std::wstring& Name, TStreamProc ReadData,
                                      TStreamProc WriteData, bool HasData) = 0;

    // The same with the object's member functions:
    //   Filer.DefineBinaryProperty<&TItem::ReadData, &TItem::WriteData>(L"Data", this, true);
    template <auto ReadData, auto WriteData, class C>
    void DefineBinaryProperty(const std::wstring& Name, C* Object, bool HasData)
    {
        DefineBinaryProperty(Name, TStreamProc::Bind<ReadData>(Object),
                             TStreamProc::Bind<WriteData>(Object), HasData);
    }
    template <auto ReadData, auto WriteData, class C>
    void DefineProperty(const std::wstring& Name, C* Object, bool HasData)
    {
        DefineProperty(Name, TReaderProc::Bind<ReadData>(Object),
                       TWriterProc::Bind<WriteData>(Object), HasData);
    }

    TStream& Stream() const { return FStream; }
    // The component at the top of the tree being written or read.
    TComponent* Root() const { return FRoot; }

protected:
    TStream& FStream;
    TComponent* FRoot = nullptr;
};

class TWriter : public TFiler {
public:
    explicit TWriter(TStream& Stream);
    using TFiler::DefineBinaryProperty;
    using TFiler::DefineProperty;

    // The signature, then Root with its properties and the components it holds.
    void WriteDescendent(TComponent& Root);
    void WriteComponent(TComponent& Component);
    // The published properties that differ from their defaults, then the defined ones.
    void WriteProperties(const TPersistent& Instance);

    void DefineProperty(const std::wstring& Name, TReaderProc ReadData, TWriterProc WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const std::wstring& Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

    // Typed values, for DefineProperty writers.
    void WriteInteger(std::int64_t Value) { FOutput.WriteInteger(Value); }
    void WriteBoolean(bool Value) { FOutput.WriteBoolean(Value); }
    void WriteString(const std::wstring& Value) { FOutput.WriteString(Value); }
    void WriteIdent(const std::wstring& Ident) { FOutput.WriteIdent(Ident); }
    void WriteFloat(long double Value) { FOutput.WriteFloat(vaExtended, Value); }
    void WriteListBegin() { FOutput.WriteValue(vaList); }
    void WriteListEnd() { FOutput.WriteListEnd(); }
    void WriteCollection(const TCollection& Collection);

private:
    void WriteProperty(const TPersistent& Instance, const TPropertyInfo& Property);
    void WritePropertyName(const std::wstring& Name);

    TFormOutput FOutput;
    // The path of the sub-object whose properties are being written ("Font."), else empty.
    std::wstring FPropertyPath;
};

class TReader : public TFiler {
public:
    explicit TReader(TStream& Stream);
    using TFiler::DefineBinaryProperty;
    using TFiler::DefineProperty;

    // Reads a whole form: into Root, or, when Root is null, into a new component of the class
    // the form names. Every component read has csLoading and csReading set while the tree is
    // read, and Loaded called once all of it is. When reading fails, the components it created
    // are freed (a new root with them) and the error raised as an EFilerError: EReadError
    // (EParserError for text) naming the property, or EClassNotFound.
    TComponent* ReadRootComponent(TComponent* Root);

    void DefineProperty(const std::wstring& Name, TReaderProc ReadData, TWriterProc WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const std::wstring& Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

    // Typed values, for DefineProperty readers; a value of another type raises EReadError.
    std::int64_t ReadInteger();
    bool ReadBoolean();
    std::wstring ReadString();
    std::wstring ReadIdent();
    long double ReadFloat();
    void ReadListBegin();
    void ReadListEnd();
    bool EndOfList();
    TValueType NextValue();
    void SkipValue();
    void ReadCollection(TCollection& Collection);

private:
    TComponent* ReadComponent(TComponent* Parent);
    void ReadProperties(TPersistent& Instance);
    void ReadProperty(TPersistent& Instance);
    void ReadPropertyValue(TPersistent& Instance, const TPropertyInfo& Property);
    void Enter();
    void Leave() { --FDepth; }
    std::wstring UniqueRootName(TComponent& Root, const std::wstring& Name) const;
    // After a failure: frees the components this read created and clears the others' state.
    void FreeHalfBuilt(TComponent* CreatedRoot);

    TFormInput FInput;
    // Component references read, set once the whole form is read.
    struct TFixup {
        TPersistent* Instance;
        const TPropertyInfo* Property;
        std::wstring Name;
    };
    void ResolveFixups();
    std::vector<TFixup> FFixups;
    std::vector<TComponent*> FLoaded;
    std::vector<TComponent*> FCreated;
    std::wstring FPropertyName;
    bool FPropertyFound = false;
    bool FPropertyErrorNamed = false;
    int FDepth = 0;
};

} // namespace zn
