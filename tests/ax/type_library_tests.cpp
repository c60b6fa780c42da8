// The control's type information as containers read it: the published positions of the dual
// interface's methods, the shorter interface of a control older than version 8, the events, the
// enumerated property, and IDispatch served from it.
#include "control_fixture.h"

#include <gmock/gmock.h>

#include <map>

namespace zn::test {
namespace {

using ::testing::IsEmpty;

// Position after the seven IUnknown and IDispatch methods, as the published interface has it.
const std::vector<std::pair<int, std::wstring>>& PublishedPositions()
{
    static const std::vector<std::pair<int, std::wstring>> positions = {
        {0, L"ReadyState"},
        {1, L"TotalFrames"},
        {2, L"Playing"},
        {4, L"Quality"},
        {6, L"ScaleMode"},
        {8, L"AlignMode"},
        {10, L"BackgroundColor"},
        {12, L"Loop"},
        {14, L"Movie"},
        {16, L"FrameNum"},
        {18, L"SetZoomRect"},
        {19, L"Zoom"},
        {20, L"Pan"},
        {21, L"Play"},
        {22, L"Stop"},
        {23, L"Back"},
        {24, L"Forward"},
        {25, L"Rewind"},
        {26, L"StopPlay"},
        {27, L"GotoFrame"},
        {28, L"CurrentFrame"},
        {29, L"IsPlaying"},
        {30, L"PercentLoaded"},
        {31, L"FrameLoaded"},
        {32, L"FlashVersion"},
        {33, L"WMode"},
        {35, L"SAlign"},
        {37, L"Menu"},
        {39, L"Base"},
        {41, L"Scale"},
        {43, L"DeviceFont"},
        {45, L"EmbedMovie"},
        {47, L"BGColor"},
        {49, L"Quality2"},
        {51, L"LoadMovie"},
        {52, L"TGotoFrame"},
        {53, L"TGotoLabel"},
        {54, L"TCurrentFrame"},
        {55, L"TCurrentLabel"},
        {56, L"TPlay"},
        {57, L"TStopPlay"},
        {58, L"SetVariable"},
        {59, L"GetVariable"},
        {60, L"TSetProperty"},
        {61, L"TGetProperty"},
        {62, L"TCallFrame"},
        {63, L"TCallLabel"},
        {64, L"TSetPropertyNum"},
        {65, L"TGetPropertyNum"},
        {66, L"TGetPropertyAsNumber"},
        {67, L"SWRemote"},
        {69, L"FlashVars"},
        {71, L"AllowScriptAccess"},
        {73, L"MovieData"},
        {75, L"InlineData"},
        {77, L"SeamlessTabbing"},
        {79, L"EnforceLocalSecurity"},
        {80, L"Profile"},
        {82, L"ProfileAddress"},
        {84, L"ProfilePort"},
        {86, L"CallFunction"},
        {87, L"SetReturnValue"},
        {88, L"DisableLocalSecurity"},
        {89, L"AllowNetworking"},
        {91, L"AllowFullScreen"}};
    return positions;
}

struct Member {
    int position;
    INVOKEKIND kind;
    MEMBERID id;
};

// Every method of the interface kind of info, by name: positions from its vtable offsets.
std::multimap<std::wstring, Member> Members(ITypeInfo* info, int* count)
{
    std::multimap<std::wstring, Member> members;
    TYPEATTR* attributes = nullptr;
    if (FAILED(info->GetTypeAttr(&attributes)))
        return members;
    *count = attributes->cFuncs;
    for (int i = 0; i < attributes->cFuncs; ++i) {
        FUNCDESC* function = nullptr;
        if (FAILED(info->GetFuncDesc(i, &function)))
            continue;
        BSTR name = nullptr;
        info->GetDocumentation(function->memid, &name, nullptr, nullptr, nullptr);
        members.emplace(name ? name : L"",
                        Member{function->oVft / static_cast<int>(sizeof(void*)) - 7,
                               function->invkind, function->memid});
        SysFreeString(name);
        info->ReleaseFuncDesc(function);
    }
    info->ReleaseTypeAttr(attributes);
    return members;
}

// The interface kind of the dual interface, as the control's IDispatch describes it.
ITypeInfo* InterfaceKind(IznFlashPlayer* player)
{
    ITypeInfo* dispatch = nullptr;
    if (player->GetTypeInfo(0, LOCALE_USER_DEFAULT, &dispatch) != S_OK)
        return nullptr;
    HREFTYPE reference = 0;
    ITypeInfo* interface_kind = nullptr;
    if (SUCCEEDED(dispatch->GetRefTypeOfImplType(-1, &reference)))
        dispatch->GetRefTypeInfo(reference, &interface_kind);
    dispatch->Release();
    return interface_kind;
}

VARIANT CallByName(IznFlashPlayer* player, const wchar_t* name, WORD flags, HRESULT* result,
                   VARIANT* argument = nullptr)
{
    VARIANT value;
    VariantInit(&value);
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    *result = player->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(*result))
        return value;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{argument, flags == DISPATCH_PROPERTYPUT ? &named : nullptr,
                      argument ? 1u : 0u, flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
    *result = player->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                             flags == DISPATCH_PROPERTYPUT ? nullptr : &value, nullptr, nullptr);
    return value;
}

TEST_F(ControlTest, DualInterfaceHasEveryMethodAtItsPublishedPosition)
{
    ITypeInfo* info = InterfaceKind(player);
    ASSERT_NE(info, nullptr);
    int count = 0;
    auto members = Members(info, &count);
    info->Release();
    EXPECT_EQ(count, 93);
    for (const auto& [position, name] : PublishedPositions()) {
        auto [first, last] = members.equal_range(name);
        ASSERT_NE(first, last) << "missing: " << std::string(name.begin(), name.end());
        EXPECT_EQ(first->second.position, position) << std::string(name.begin(), name.end());
        // A property's put follows its get.
        if (std::next(first) != last) {
            EXPECT_EQ(std::next(first)->second.position, position + 1);
        }
    }
    EXPECT_EQ(members.find(L"WMode")->second.id, 0x85);
    EXPECT_EQ(members.find(L"LoadMovie")->second.id, 0x8E);
    EXPECT_EQ(members.find(L"SetVariable")->second.id, 0x97);
    EXPECT_EQ(members.find(L"GetVariable")->second.id, 0x98);
    EXPECT_EQ(members.find(L"CallFunction")->second.id, 0xC6);
    EXPECT_EQ(members.find(L"SetReturnValue")->second.id, 0xC7);
    EXPECT_EQ(members.find(L"DisableLocalSecurity")->second.id, 0xC8);
}

TEST_F(ControlTest, EventsAndTheEnumeratedPropertyAreDescribed)
{
    ITypeLib* library = nullptr;
    ASSERT_EQ(LoadRegTypeLib(LIBID_ZnPlayerControlLib, 1, 0, LOCALE_NEUTRAL, &library), S_OK);
    ITypeInfo* events = nullptr;
    ASSERT_EQ(library->GetTypeInfoOfGuid(DIID__IznFlashPlayerEvents, &events), S_OK);
    std::vector<MEMBERID> ids;
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(events->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->typekind, TKIND_DISPATCH);
    for (int i = 0; i < attributes->cFuncs; ++i) {
        FUNCDESC* function = nullptr;
        ASSERT_EQ(events->GetFuncDesc(i, &function), S_OK);
        ids.push_back(function->memid);
        events->ReleaseFuncDesc(function);
    }
    events->ReleaseTypeAttr(attributes);
    events->Release();
    library->Release();
    EXPECT_THAT(ids, ::testing::ElementsAre(-609, 1958, 150, 197));

    // ScaleMode's get answers a type that is an enumeration of three named values.
    ITypeInfo* info = InterfaceKind(player);
    ASSERT_NE(info, nullptr);
    int count = 0;
    const Member scale_mode = Members(info, &count).find(L"ScaleMode")->second;
    FUNCDESC* function = nullptr;
    ASSERT_EQ(info->GetFuncDesc(scale_mode.position, &function), S_OK);
    const TYPEDESC& result = function->lprgelemdescParam[0].tdesc;
    ASSERT_EQ(result.vt, VT_PTR);
    ASSERT_EQ(result.lptdesc->vt, VT_USERDEFINED);
    ITypeInfo* enumeration = nullptr;
    ASSERT_EQ(info->GetRefTypeInfo(result.lptdesc->hreftype, &enumeration), S_OK);
    info->ReleaseFuncDesc(function);
    info->Release();
    ASSERT_EQ(enumeration->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->typekind, TKIND_ENUM);
    EXPECT_EQ(attributes->cVars, 3);
    enumeration->ReleaseTypeAttr(attributes);
    enumeration->Release();
}

TEST_F(ControlTest, DispatchGoesThroughTheTypeLibrary)
{
    HRESULT hr = E_FAIL;
    VARIANT version = CallByName(player, L"FlashVersion", DISPATCH_METHOD, &hr);
    ASSERT_EQ(hr, S_OK);
    EXPECT_EQ(version.vt, VT_I4);
    EXPECT_EQ(version.lVal, 10 << 16);
    VARIANT transparent;
    transparent.vt = VT_BSTR;
    transparent.bstrVal = SysAllocString(L"Transparent");
    CallByName(player, L"WMode", DISPATCH_PROPERTYPUT, &hr, &transparent);
    EXPECT_EQ(hr, S_OK);
    VariantClear(&transparent);
    VARIANT mode = CallByName(player, L"WMode", DISPATCH_PROPERTYGET, &hr);
    ASSERT_EQ(hr, S_OK);
    ASSERT_EQ(mode.vt, VT_BSTR);
    EXPECT_STREQ(mode.bstrVal, L"Transparent");
    VariantClear(&mode);
    // A value outside the enumeration is refused by the property itself.
    VARIANT odd;
    odd.vt = VT_I4;
    odd.lVal = 7;
    CallByName(player, L"ScaleMode", DISPATCH_PROPERTYPUT, &hr, &odd);
    EXPECT_EQ(hr, DISP_E_EXCEPTION);
    EXPECT_THAT(Violations(), IsEmpty());
}

TEST_F(ControlTest, BeforeVersion8TheInterfaceEndsBeforeCallFunction)
{
    Destroy();
    exports.SetVersion(7);
    Create();
    exports.SetVersion(10);
    ITypeInfo* info = InterfaceKind(player);
    ASSERT_NE(info, nullptr);
    int count = 0;
    auto members = Members(info, &count);
    info->Release();
    EXPECT_EQ(count, 86);
    EXPECT_EQ(members.count(L"CallFunction"), 0u);
    EXPECT_EQ(members.find(L"ProfilePort")->second.position, 84);

    HRESULT hr = E_FAIL;
    VARIANT version = CallByName(player, L"FlashVersion", DISPATCH_METHOD, &hr);
    EXPECT_EQ(version.lVal, 7 << 16);
    CallByName(player, L"CallFunction", DISPATCH_METHOD, &hr);
    EXPECT_EQ(hr, DISP_E_UNKNOWNNAME);
    DISPPARAMS none{};
    EXPECT_EQ(player->Invoke(0xC8, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr,
                             nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_THAT(Violations(), IsEmpty());
    // A container that calls past the end of the older interface is told so.
    EXPECT_EQ(player->DisableLocalSecurity(), E_NOTIMPL);
    EXPECT_THAT(Violations(), ::testing::ElementsAre(::testing::HasSubstr(
                                  "DisableLocalSecurity on a control of version 7")));
}

} // namespace
} // namespace zn::test
