// The streaming tests' components and their property tables.
#include "test_components.h"

#include "zintara/framework/class_registry.h"
#include "zintara/framework/exceptions.h"
#include "zintara/framework/properties.h"

namespace zn::test {

namespace {
const wchar_t* const PluginNames[] = {L"znDefault", L"znNetscape", L"znActiveX"};
const wchar_t* const OptionNames[] = {L"opLoop", L"opMenu", L"opScale"};
} // namespace

const TClassInfo& TTestItem::ClassInfo()
{
    using P = TPublished<TTestItem>;
    static const TPropertyInfo properties[] = {
        P::WideString<&TTestItem::Caption, &TTestItem::SetCaption>(L"Caption", nullptr),
        P::Integer<&TTestItem::Weight, &TTestItem::Weight>(L"Weight", 0),
    };
    static const TClassInfo info =
        DeclareClass<TTestItem, TCollectionItem>(L"TTestItem", properties);
    return info;
}
const TClassInfo& TTestItem::ClassType() const
{
    return ClassInfo();
}

void TTestItem::DefineProperties(TFiler& Filer)
{
    TCollectionItem::DefineProperties(Filer);
    Filer.DefineBinaryProperty<&TTestItem::ReadBytes, &TTestItem::WriteBytes>(L"Bytes", this,
                                                                              !Bytes.empty());
}

void TTestItem::ReadBytes(TStream& Stream)
{
    Bytes.assign(static_cast<size_t>(Stream.Size()), '\0');
    Stream.ReadBuffer(Bytes.data(), Bytes.size());
}

void TTestItem::WriteBytes(TStream& Stream) const
{
    Stream.WriteBuffer(Bytes.data(), Bytes.size());
}

const TClassInfo& TTestFont::ClassInfo()
{
    using P = TPublished<TTestFont>;
    static const TPropertyInfo properties[] = {
        P::Integer<&TTestFont::Size, &TTestFont::Size>(L"Size", 8),
        P::WideString<&TTestFont::Face, &TTestFont::Face>(L"Face", L"Tahoma"),
    };
    static const TClassInfo info = DeclareClass<TTestFont, TPersistent>(L"TTestFont", properties);
    return info;
}
const TClassInfo& TTestFont::ClassType() const
{
    return ClassInfo();
}

TTestComponent::TTestComponent(TComponent* AOwner)
    : TComponent(AOwner), FItems(new TCollection(TTestItem::ClassInfo())), FFont(new TTestFont),
      FLines(new TStringList)
{}

TTestComponent::~TTestComponent()
{
    delete FItems;
    delete FFont;
    delete FLines;
}

const TClassInfo& TTestComponent::ClassInfo()
{
    using P = TPublished<TTestComponent>;
    static const TPropertyInfo properties[] = {
        P::Integer<&TTestComponent::Count, &TTestComponent::SetCount, &TTestComponent::CountStored>(
            L"Count", 0),
        P::Cardinal<&TTestComponent::Color, &TTestComponent::SetColor>(L"Color", 0xFF000000u),
        P::Boolean<&TTestComponent::Enabled, &TTestComponent::SetEnabled>(L"Enabled", true),
        P::Enumeration<&TTestComponent::Plugin, &TTestComponent::SetPlugin>(L"Plugin", PluginNames,
                                                                            znDefault),
        P::Set<&TTestComponent::Options, &TTestComponent::SetOptions>(L"Options", OptionNames,
                                                                      TOptions{}),
        P::WideString<&TTestComponent::Movie, &TTestComponent::SetMovie>(L"Movie"),
        P::Object<&TTestComponent::Items>(L"Items"),
        P::Object<&TTestComponent::Font>(L"Font"),
        P::Object<&TTestComponent::Lines>(L"Lines"),
        P::Event(L"OnChange"),
    };
    static const TClassInfo info =
        DeclareClass<TTestComponent, TComponent>(L"TTestComponent", properties);
    return info;
}
const TClassInfo& TTestComponent::ClassType() const
{
    return ClassInfo();
}

void TTestComponent::Loaded()
{
    TComponent::Loaded();
    ++LoadedCalls;
    ComponentsSeenAtLoaded = Owner() ? Owner()->ComponentCount() : ComponentCount();
    WasReadingAtLoaded = ComponentState().Contains(csReading);
    if (LoadLog)
        LoadLog->push_back(Name());
}

int TFailingComponent::Alive = 0;

const TClassInfo& TFailingComponent::ClassInfo()
{
    using P = TPublished<TFailingComponent>;
    static const TPropertyInfo properties[] = {
        P::Integer<&TFailingComponent::Value, &TFailingComponent::SetValue>(L"Value", 0),
    };
    static const TClassInfo info =
        DeclareClass<TFailingComponent, TComponent>(L"TFailingComponent", properties);
    return info;
}
const TClassInfo& TFailingComponent::ClassType() const
{
    return ClassInfo();
}

void TFailingComponent::SetValue(int Value)
{
    if (Value < 0)
        throw EConvertError(L"negative values are refused");
}

void RegisterTestClasses()
{
    RegisterClasses({&TTestComponent::ClassInfo(), &TFailingComponent::ClassInfo()});
}

} // namespace zn::test
