// The components the form targets read: between them a published property of every kind, a
// collection whose items hold an embedded-file block, a sub-object, a component reference and
// a property defined through the reader's typed values.
#pragma once

#include "zintara/framework/collection.h"
#include "zintara/framework/component.h"
#include "zintara/framework/filer.h"
#include "zintara/framework/streams.h"
#include "zintara/framework/types.h"

#include <string>
#include <vector>

namespace zn::fuzz {

enum TFuzzMode { fmNone, fmLoop, fmOnce };
enum class TFuzzFlag { ffAudio, ffVideo, ffScale, ffMenu };
using TFuzzFlags = TSet<TFuzzFlag>;

// One embedded file, stored as the library stores its items: the "FlashStream" block.
class TFuzzFile : public TCollectionItem {
public:
    explicit TFuzzFile(TCollection* ACollection) : TCollectionItem(ACollection) {}
    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;
    void DefineProperties(TFiler& Filer) override;

    std::wstring Title;
    std::wstring FileName;
    TMemoryStream Bytes;

private:
    void ReadBlock(TStream& Stream);
    void WriteBlock(TStream& Stream);
};

class TFuzzStyle : public TPersistent {
public:
    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;
    int Size = 10;
    std::wstring Face = L"Sans";
};

class TFuzzComponent : public TComponent {
public:
    explicit TFuzzComponent(TComponent* AOwner);
    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;
    void DefineProperties(TFiler& Filer) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    int Count = 0;
    std::uint32_t Color = 0;
    bool Visible = true;
    TFuzzMode Mode = fmNone;
    TFuzzFlags Flags;
    std::wstring Caption;
    TCollection Files;
    TFuzzStyle Style;
    TComponent* Partner = nullptr;
    // The defined property "Points": a list of numbers and texts.
    std::vector<long double> Numbers;
    std::vector<std::wstring> Texts;

    TCollection* GetFiles() const { return const_cast<TCollection*>(&Files); }
    TFuzzStyle* GetStyle() const { return const_cast<TFuzzStyle*>(&Style); }
    TComponent* GetPartner() const { return Partner; }
    void SetPartner(TComponent* Value);

private:
    void ReadPoints(TReader& Reader);
    void WritePoints(TWriter& Writer);
};

void RegisterFuzzClasses();

} // namespace zn::fuzz
