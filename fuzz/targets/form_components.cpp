// The form targets' components and their property tables (see form_components.h).
#include "form_components.h"

#include "zintara/core/flash_list.h"
#include "zintara/framework/class_registry.h"
#include "zintara/framework/data_module.h"
#include "zintara/framework/properties.h"

namespace zn::fuzz {

namespace {
const wchar_t* const ModeNames[] = {L"fmNone", L"fmLoop", L"fmOnce"};
const wchar_t* const FlagNames[] = {L"ffAudio", L"ffVideo", L"ffScale", L"ffMenu"};
} // namespace

const TClassInfo& TFuzzFile::ClassInfo()
{
    using P = TPublished<TFuzzFile>;
    static const TPropertyInfo properties[] = {
        P::WideString<&TFuzzFile::Title, &TFuzzFile::Title>(L"Title"),
    };
    static const TClassInfo info =
        DeclareClass<TFuzzFile, TCollectionItem>(L"TFuzzFile", properties);
    return info;
}
const TClassInfo& TFuzzFile::ClassType() const
{
    return ClassInfo();
}

void TFuzzFile::DefineProperties(TFiler& Filer)
{
    TCollectionItem::DefineProperties(Filer);
    Filer.DefineBinaryProperty<&TFuzzFile::ReadBlock, &TFuzzFile::WriteBlock>(L"FlashStream", this,
                                                                              true);
}

void TFuzzFile::ReadBlock(TStream& Stream)
{
    ReadFlashBlock(Stream, FileName, Bytes);
}

void TFuzzFile::WriteBlock(TStream& Stream)
{
    WriteFlashBlock(Stream, FileName, Bytes);
}

const TClassInfo& TFuzzStyle::ClassInfo()
{
    using P = TPublished<TFuzzStyle>;
    static const TPropertyInfo properties[] = {
        P::Integer<&TFuzzStyle::Size, &TFuzzStyle::Size>(L"Size", 10),
        P::WideString<&TFuzzStyle::Face, &TFuzzStyle::Face>(L"Face", L"Sans"),
    };
    static const TClassInfo info = DeclareClass<TFuzzStyle, TPersistent>(L"TFuzzStyle", properties);
    return info;
}
const TClassInfo& TFuzzStyle::ClassType() const
{
    return ClassInfo();
}

TFuzzComponent::TFuzzComponent(TComponent* AOwner)
    : TComponent(AOwner), Files(TFuzzFile::ClassInfo())
{}

const TClassInfo& TFuzzComponent::ClassInfo()
{
    using P = TPublished<TFuzzComponent>;
    static const TPropertyInfo properties[] = {
        P::Integer<&TFuzzComponent::Count, &TFuzzComponent::Count>(L"Count", 0),
        P::Cardinal<&TFuzzComponent::Color, &TFuzzComponent::Color>(L"Color", 0u),
        P::Boolean<&TFuzzComponent::Visible, &TFuzzComponent::Visible>(L"Visible", true),
        P::Enumeration<&TFuzzComponent::Mode, &TFuzzComponent::Mode>(L"Mode", ModeNames, fmNone),
        P::Set<&TFuzzComponent::Flags, &TFuzzComponent::Flags>(L"Flags", FlagNames, TFuzzFlags{}),
        P::WideString<&TFuzzComponent::Caption, &TFuzzComponent::Caption>(L"Caption"),
        P::Object<&TFuzzComponent::GetFiles>(L"Files"),
        P::Object<&TFuzzComponent::GetStyle>(L"Style"),
        P::Component<&TFuzzComponent::GetPartner, &TFuzzComponent::SetPartner>(L"Partner"),
        P::Event(L"OnChange"),
    };
    static const TClassInfo info =
        DeclareClass<TFuzzComponent, TComponent>(L"TFuzzComponent", properties);
    return info;
}
const TClassInfo& TFuzzComponent::ClassType() const
{
    return ClassInfo();
}

void TFuzzComponent::DefineProperties(TFiler& Filer)
{
    TComponent::DefineProperties(Filer);
    Filer.DefineProperty(L"Points", TReaderProc::Bind<&TFuzzComponent::ReadPoints>(this),
                         TWriterProc::Bind<&TFuzzComponent::WritePoints>(this),
                         !Numbers.empty() || !Texts.empty());
}

void TFuzzComponent::SetPartner(TComponent* Value)
{
    if (Partner)
        Partner->RemoveFreeNotification(this);
    Partner = Value;
    if (Partner)
        Partner->FreeNotification(this);
}

void TFuzzComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == Partner)
        Partner = nullptr;
}

void TFuzzComponent::ReadPoints(TReader& Reader)
{
    Reader.ReadListBegin();
    while (!Reader.EndOfList()) {
        if (Reader.NextValue() == vaExtended)
            Numbers.push_back(Reader.ReadFloat());
        else
            Texts.push_back(Reader.ReadString());
    }
    Reader.ReadListEnd();
}

void TFuzzComponent::WritePoints(TWriter& Writer)
{
    Writer.WriteListBegin();
    for (long double number : Numbers)
        Writer.WriteFloat(number);
    for (const std::wstring& text : Texts)
        Writer.WriteString(text);
    Writer.WriteListEnd();
}

void RegisterFuzzClasses()
{
    RegisterClasses({&TFuzzComponent::ClassInfo(), &TDataModule::ClassInfo()});
}

} // namespace zn::fuzz
