// TznFlashDriverActiveX: the control's properties by DISPID through its automation interface,
// the property-browsing helpers, and the descriptions of its enumerated properties.
#include "zintara/zn_driver_activex.h"

#include "control_host.h"
#include "zintara/framework/text.h"

#include <olectl.h>

#include <cwctype>

namespace zn {
namespace {

// A variant cleared when it goes.
class TVariant {
public:
    TVariant() { VariantInit(&FValue); }
    ~TVariant() { VariantClear(&FValue); }
    TVariant(const TVariant&) = delete;
    TVariant& operator=(const TVariant&) = delete;
    VARIANT* operator&() { return &FValue; }
    VARIANT& get() { return FValue; }

private:
    VARIANT FValue;
};

VARIANT Typed(VARTYPE Type)
{
    VARIANT value;
    VariantInit(&value);
    value.vt = Type;
    return value;
}

std::vector<TEnumPropDesc> EnumDescriptions;
bool EnumDescriptionsRead = false;

// A type's attributes for as long as the holder lives.
class TTypeAttributes {
public:
    explicit TTypeAttributes(ITypeInfo& Info) : FInfo(Info) { OleCheck(Info.GetTypeAttr(&FAttr)); }
    ~TTypeAttributes() { FInfo.ReleaseTypeAttr(FAttr); }
    TTypeAttributes(const TTypeAttributes&) = delete;
    TTypeAttributes& operator=(const TTypeAttributes&) = delete;
    const TYPEATTR* operator->() const { return FAttr; }

private:
    ITypeInfo& FInfo;
    TYPEATTR* FAttr = nullptr;
};

bool Described(DISPID DispID)
{
    for (const TEnumPropDesc& desc : EnumDescriptions)
        if (desc.DispID() == DispID)
            return true;
    return false;
}

// A property of Info typed Type gets a description when Type names an enumeration.
void DescribeIfEnumeration(ITypeInfo& Info, DISPID DispID, const TYPEDESC& Type)
{
    const TYPEDESC* type = &Type;
    if (type->vt == VT_PTR)
        type = type->lptdesc;
    if (type->vt != VT_USERDEFINED || Described(DispID))
        return;
    TComPtr<ITypeInfo> referenced;
    if (FAILED(Info.GetRefTypeInfo(type->hreftype, referenced.put())))
        return;
    const TTypeAttributes attributes(*referenced.get());
    if (attributes->typekind == TKIND_ENUM)
        EnumDescriptions.emplace_back(DispID, attributes->cVars, *referenced.get());
}

void DescribeType(ITypeInfo& Info)
{
    const TTypeAttributes attributes(Info);
    if (attributes->guid == IID_IDispatch)
        return;
    const bool is_interface =
        attributes->typekind == TKIND_INTERFACE || (attributes->wTypeFlags & TYPEFLAG_FDUAL);
    if (is_interface && (attributes->wTypeFlags & TYPEFLAG_FNONEXTENSIBLE) &&
        attributes->cImplTypes > 0) {
        HREFTYPE base_ref = 0;
        TComPtr<ITypeInfo> base;
        if (SUCCEEDED(Info.GetRefTypeOfImplType(0, &base_ref)) &&
            SUCCEEDED(Info.GetRefTypeInfo(base_ref, base.put())))
            DescribeType(*base.get());
    }
    for (UINT i = 0; i < attributes->cVars; ++i) {
        VARDESC* variable = nullptr;
        OleCheck(Info.GetVarDesc(i, &variable));
        DescribeIfEnumeration(Info, variable->memid, variable->elemdescVar.tdesc);
        Info.ReleaseVarDesc(variable);
    }
    for (UINT i = 0; i < attributes->cFuncs; ++i) {
        FUNCDESC* function = nullptr;
        OleCheck(Info.GetFuncDesc(i, &function));
        if (function->invkind == INVOKE_PROPERTYGET)
            DescribeIfEnumeration(Info, function->memid, function->elemdescFunc.tdesc);
        else if (function->cParams > 0 && (function->invkind == INVOKE_PROPERTYPUT ||
                                           function->invkind == INVOKE_PROPERTYPUTREF))
            DescribeIfEnumeration(Info, function->memid,
                                  function->lprgelemdescParam[function->cParams - 1].tdesc);
        Info.ReleaseFuncDesc(function);
    }
}

} // namespace

TEnumPropDesc::TEnumPropDesc(DISPID ADispID, int ValueCount, ITypeInfo& TypeInfo) : FDispID(ADispID)
{
    for (int i = 0; i < ValueCount; ++i) {
        VARDESC* member = nullptr;
        OleCheck(TypeInfo.GetVarDesc(static_cast<UINT>(i), &member));
        TEnumValue value{0, {}};
        TVariant number;
        if (member->varkind == VAR_CONST &&
            SUCCEEDED(VariantChangeType(&number, member->lpvarValue, 0, VT_I4)))
            value.Value = number.get().lVal;
        BSTR name = nullptr;
        TypeInfo.GetDocumentation(member->memid, &name, nullptr, nullptr, nullptr);
        TypeInfo.ReleaseVarDesc(member);
        value.Ident = name ? name : L"";
        SysFreeString(name);
        while (value.Ident.size() >= 2 && value.Ident.front() == L'_')
            value.Ident.erase(0, 1);
        FValues.push_back(std::move(value));
    }
}

std::vector<std::wstring> TEnumPropDesc::GetStrings() const
{
    std::vector<std::wstring> strings;
    for (const TEnumValue& value : FValues)
        strings.push_back(std::to_wstring(value.Value) + L" - " + value.Ident);
    return strings;
}

std::wstring TEnumPropDesc::ValueToString(int V) const
{
    for (const TEnumValue& value : FValues)
        if (value.Value == V)
            return std::to_wstring(V) + L" - " + value.Ident;
    return std::to_wstring(V);
}

int TEnumPropDesc::StringToValue(const std::wstring& S) const
{
    std::size_t digits = 0;
    while (digits < S.size() && (S[digits] == L'-' || std::iswdigit(S[digits])))
        ++digits;
    if (digits > 0) {
        try {
            const int number = std::stoi(S.substr(0, digits));
            for (const TEnumValue& value : FValues)
                if (value.Value == number)
                    return number;
        } catch (const std::logic_error&) {
        }
    } else {
        for (const TEnumValue& value : FValues)
            if (SameText(value.Ident, S))
                return value.Value;
    }
    throw EOleException(CTL_E_INVALIDPROPERTYVALUE, L"Invalid property value: '" + S + L"'");
}

const std::vector<TEnumPropDesc>& TznFlashDriverActiveX::CreateEnumPropDescs()
{
    if (EnumDescriptionsRead || FFlashNotExists || !FHost->FControlDispatch)
        return EnumDescriptions;
    const activex::TControlCall call(*FHost);
    try {
        TComPtr<ITypeInfo> info;
        OleCheck(FHost->FControlDispatch->GetTypeInfo(0, 0, info.put()));
        DescribeType(*info.get());
        EnumDescriptionsRead = true;
    } catch (...) {
        DestroyEnumPropDescs();
        throw;
    }
    return EnumDescriptions;
}

void TznFlashDriverActiveX::DestroyEnumPropDescs()
{
    EnumDescriptions.clear();
    EnumDescriptionsRead = false;
}

VARIANT TznFlashDriverActiveX::GetProperty(DISPID DispID)
{
    if (FFlashNotExists || !FHost->FControlDispatch)
        throw EOleSysError(E_UNEXPECTED);
    const TComPtr<IDispatch> control = FHost->FControlDispatch;
    const activex::TControlCall call(*FHost);
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS no_arguments{};
    EXCEPINFO exception{};
    DispatchCheck(control->Invoke(DispID, IID_NULL, 0, DISPATCH_PROPERTYGET, &no_arguments, &result,
                                  &exception, nullptr),
                  exception);
    return result;
}

void TznFlashDriverActiveX::SetProperty(DISPID DispID, const VARIANT& Value)
{
    if (FFlashNotExists || !FHost->FControlDispatch)
        return;
    const TComPtr<IDispatch> control = FHost->FControlDispatch;
    const activex::TControlCall call(*FHost);
    VARIANT argument = Value;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{&argument, &named, 1, 1};
    EXCEPINFO exception{};
    const WORD flags = Value.vt == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
    DispatchCheck(
        control->Invoke(DispID, IID_NULL, 0, flags, &parameters, nullptr, &exception, nullptr),
        exception);
}

// The typed getters read the payload as the type asks; the variant is freed after.
#define ZN_TYPED_PROPERTY(Name, Type, VarType, Field)                                              \
    Type TznFlashDriverActiveX::Get##Name##Prop(DISPID DispID)                                     \
    {                                                                                              \
        VARIANT value = GetProperty(DispID);                                                       \
        const Type result = static_cast<Type>(value.Field);                                        \
        VariantClear(&value);                                                                      \
        return result;                                                                             \
    }                                                                                              \
    void TznFlashDriverActiveX::Set##Name##Prop(DISPID DispID, Type Value)                         \
    {                                                                                              \
        VARIANT value = Typed(VarType);                                                            \
        value.Field = Value;                                                                       \
        SetProperty(DispID, value);                                                                \
    }

ZN_TYPED_PROPERTY(Integer, int, VT_I4, lVal)
ZN_TYPED_PROPERTY(Word, std::uint16_t, VT_I4, lVal)
ZN_TYPED_PROPERTY(Single, float, VT_R4, fltVal)

#undef ZN_TYPED_PROPERTY

bool TznFlashDriverActiveX::GetOleBoolProp(DISPID DispID)
{
    VARIANT value = GetProperty(DispID);
    const bool result = value.boolVal != VARIANT_FALSE;
    VariantClear(&value);
    return result;
}

void TznFlashDriverActiveX::SetOleBoolProp(DISPID DispID, bool Value)
{
    VARIANT value = Typed(VT_BOOL);
    value.boolVal = Value ? VARIANT_TRUE : VARIANT_FALSE;
    SetProperty(DispID, value);
}

std::wstring TznFlashDriverActiveX::GetStringProp(DISPID DispID)
{
    TVariant value;
    value.get() = GetProperty(DispID);
    OleCheck(VariantChangeType(&value, &value, 0, VT_BSTR));
    const BSTR text = value.get().bstrVal;
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

void TznFlashDriverActiveX::SetStringProp(DISPID DispID, const std::wstring& Value)
{
    TVariant value;
    value.get().vt = VT_BSTR;
    value.get().bstrVal =
        Value.empty() ? nullptr : SysAllocStringLen(Value.data(), static_cast<UINT>(Value.size()));
    SetProperty(DispID, value.get());
}

TComPtr<IDispatch> TznFlashDriverActiveX::GetIDispatchProp(DISPID DispID)
{
    TVariant value;
    value.get() = GetProperty(DispID);
    return value.get().vt == VT_DISPATCH ? TComPtr<IDispatch>(value.get().pdispVal)
                                         : TComPtr<IDispatch>();
}

void TznFlashDriverActiveX::SetIDispatchProp(DISPID DispID, IDispatch* Value)
{
    VARIANT value = Typed(VT_DISPATCH);
    value.pdispVal = Value;
    SetProperty(DispID, value);
}

TComPtr<IUnknown> TznFlashDriverActiveX::GetIUnknownProp(DISPID DispID)
{
    TVariant value;
    value.get() = GetProperty(DispID);
    return value.get().vt == VT_UNKNOWN || value.get().vt == VT_DISPATCH
               ? TComPtr<IUnknown>(value.get().punkVal)
               : TComPtr<IUnknown>();
}

void TznFlashDriverActiveX::SetIUnknownProp(DISPID DispID, IUnknown* Value)
{
    VARIANT value = Typed(VT_UNKNOWN);
    value.punkVal = Value;
    SetProperty(DispID, value);
}

std::wstring TznFlashDriverActiveX::GetPropDisplayString(DISPID DispID)
{
    if (const TComPtr<IPerPropertyBrowsing> browsing = FHost->FPropBrowsing) {
        const activex::TControlCall call(*FHost);
        BSTR text = nullptr;
        if (SUCCEEDED(browsing->GetDisplayString(DispID, &text))) {
            std::wstring result = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
            SysFreeString(text);
            return result;
        }
    }
    return GetStringProp(DispID);
}

std::vector<std::pair<std::wstring, DWORD>>
TznFlashDriverActiveX::GetPropDisplayStrings(DISPID DispID)
{
    std::vector<std::pair<std::wstring, DWORD>> strings;
    const TComPtr<IPerPropertyBrowsing> browsing = FHost->FPropBrowsing;
    if (!browsing)
        return strings;
    const activex::TControlCall call(*FHost);
    CALPOLESTR texts{};
    CADWORD cookies{};
    if (FAILED(browsing->GetPredefinedStrings(DispID, &texts, &cookies)))
        return strings;
    for (ULONG i = 0; i < texts.cElems; ++i) {
        strings.emplace_back(texts.pElems[i] ? texts.pElems[i] : L"",
                             i < cookies.cElems ? cookies.pElems[i] : 0);
        CoTaskMemFree(texts.pElems[i]);
    }
    CoTaskMemFree(texts.pElems);
    CoTaskMemFree(cookies.pElems);
    return strings;
}

void TznFlashDriverActiveX::SetPropDisplayString(DISPID DispID, const std::wstring& Value)
{
    for (const auto& [text, cookie] : GetPropDisplayStrings(DispID)) {
        if (!SameText(text, Value))
            continue;
        TVariant value;
        {
            const activex::TControlCall call(*FHost);
            OleCheck(FHost->FPropBrowsing->GetPredefinedValue(DispID, cookie, &value));
        }
        SetProperty(DispID, value.get());
        return;
    }
    SetStringProp(DispID, Value);
}

} // namespace zn
