// Components with one published property of every kind, used by the streaming tests.
#pragma once

#include "zintara/framework/collection.h"
#include "zintara/framework/component.h"
#include "zintara/framework/filer.h"
#include "zintara/framework/method.h"
#include "zintara/framework/streams.h"
#include "zintara/framework/strings.h"

#include <string>
#include <vector>

namespace zn::test {

enum TPlugin { znDefault, znNetscape, znActiveX };
enum class TOption { opLoop, opMenu, opScale };
using TOptions = TSet<TOption>;

// A collection item with a name and a block of bytes stored as a binary property.
class TTestItem : public TCollectionItem {
public:
    explicit TTestItem(TCollection* ACollection) : TCollectionItem(ACollection) {}
    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    std::wstring Caption() const { return FCaption; }
    void SetCaption(const std::wstring& Value) { FCaption = Value; }
    std::string Bytes;
    int Weight = 0;
    std::wstring FCaption;

    void DefineProperties(TFiler& Filer) override;

private:
    void ReadBytes(TStream& Stream);
    void WriteBytes(TStream& Stream) const;
};

// A persistent sub-object, streamed as dotted properties (Font.Size = 12).
class TTestFont : public TPersistent {
public:
    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;
    int Size = 8;
    std::wstring Face = L"Tahoma";
};

class TTestComponent : public TComponent {
public:
    explicit TTestComponent(TComponent* AOwner);
    ~TTestComponent() override;
    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    int Count() const { return FCount; }
    void SetCount(int Value) { FCount = Value; }
    std::uint32_t Color() const { return FColor; }
    void SetColor(std::uint32_t Value) { FColor = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    TPlugin Plugin() const { return FPlugin; }
    void SetPlugin(TPlugin Value) { FPlugin = Value; }
    TOptions Options() const { return FOptions; }
    void SetOptions(TOptions Value) { FOptions = Value; }
    std::wstring Movie() const { return FMovie; }
    void SetMovie(const std::wstring& Value) { FMovie = Value; }
    TCollection* Items() const { return FItems; }
    TTestFont* Font() const { return FFont; }
    TStringList* Lines() const { return FLines; }
    bool CountStored() const { return FCount != 99; }

    TNotifyEvent OnChange;
    // What Loaded saw, to check that it runs after the whole tree is read.
    int LoadedCalls = 0;
    int ComponentsSeenAtLoaded = -1;
    bool WasReadingAtLoaded = true;
    std::vector<std::wstring>* LoadLog = nullptr;

    void Loaded() override;

private:
    int FCount = 0;
    std::uint32_t FColor = 0xFF000000;
    bool FEnabled = true;
    TPlugin FPlugin = znDefault;
    TOptions FOptions;
    std::wstring FMovie;
    TCollection* FItems;
    TTestFont* FFont;
    TStringList* FLines;
};

// A component whose setter fails, to abort reading from inside a property.
class TFailingComponent : public TComponent {
public:
    explicit TFailingComponent(TComponent* AOwner) : TComponent(AOwner) { ++Alive; }
    ~TFailingComponent() override { --Alive; }
    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;
    int Value() const { return 0; }
    void SetValue(int Value);
    static int Alive;
};

void RegisterTestClasses();

} // namespace zn::test
