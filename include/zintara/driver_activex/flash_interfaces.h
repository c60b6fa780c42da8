// The Flash control's own interfaces, which the system headers do not declare: its dual
// interface IznFlashPlayer as the published method table, and the interfaces the control's type
// library names beside it. The standard OLE interfaces the driver uses are the SDK's own.
//
// IznFlashPlayer is declared as its method table, a plain record of function pointers, so that
// the position of every method the driver calls is checked at compile time below. The header
// needs only the automation types, so that it also compiles where the SDK's interfaces are
// plain C records (interface_layouts.cpp compares the two there).
#pragma once

#include <oaidl.h>

#include <cstddef>

namespace zn {

struct IznFlashPlayer;

// The control's dual interface: IUnknown, IDispatch, then its own methods in the order of its
// type library. Properties are a get method and, when writable, a put method after it.
struct TIznFlashPlayerVtbl {
    using Self = IznFlashPlayer*;
    // IUnknown
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(Self, REFIID riid, void** ppvObject);
    ULONG(STDMETHODCALLTYPE* AddRef)(Self);
    ULONG(STDMETHODCALLTYPE* Release)(Self);
    // IDispatch
    HRESULT(STDMETHODCALLTYPE* GetTypeInfoCount)(Self, UINT* pctinfo);
    HRESULT(STDMETHODCALLTYPE* GetTypeInfo)(Self, UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo);
    HRESULT(STDMETHODCALLTYPE* GetIDsOfNames)
    (Self, REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId);
    HRESULT(STDMETHODCALLTYPE* Invoke)
    (Self, DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
     VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr);
    // 0
    HRESULT(STDMETHODCALLTYPE* get_ReadyState)(Self, long* thestate);
    HRESULT(STDMETHODCALLTYPE* get_TotalFrames)(Self, long* numframes);
    HRESULT(STDMETHODCALLTYPE* get_Playing)(Self, VARIANT_BOOL* Playing);
    HRESULT(STDMETHODCALLTYPE* put_Playing)(Self, VARIANT_BOOL Playing);
    HRESULT(STDMETHODCALLTYPE* get_Quality)(Self, int* Quality);
    HRESULT(STDMETHODCALLTYPE* put_Quality)(Self, int Quality);
    HRESULT(STDMETHODCALLTYPE* get_ScaleMode)(Self, int* scale);
    HRESULT(STDMETHODCALLTYPE* put_ScaleMode)(Self, int scale);
    HRESULT(STDMETHODCALLTYPE* get_AlignMode)(Self, int* align);
    HRESULT(STDMETHODCALLTYPE* put_AlignMode)(Self, int align);
    // 10
    HRESULT(STDMETHODCALLTYPE* get_BackgroundColor)(Self, long* color);
    HRESULT(STDMETHODCALLTYPE* put_BackgroundColor)(Self, long color);
    HRESULT(STDMETHODCALLTYPE* get_Loop)(Self, VARIANT_BOOL* Loop);
    HRESULT(STDMETHODCALLTYPE* put_Loop)(Self, VARIANT_BOOL Loop);
    HRESULT(STDMETHODCALLTYPE* get_Movie)(Self, BSTR* path);
    HRESULT(STDMETHODCALLTYPE* put_Movie)(Self, BSTR path);
    HRESULT(STDMETHODCALLTYPE* get_FrameNum)(Self, long* FrameNum);
    HRESULT(STDMETHODCALLTYPE* put_FrameNum)(Self, long FrameNum);
    HRESULT(STDMETHODCALLTYPE* SetZoomRect)(Self, long left, long top, long right, long bottom);
    HRESULT(STDMETHODCALLTYPE* Zoom)(Self, int factor);
    // 20
    HRESULT(STDMETHODCALLTYPE* Pan)(Self, long x, long y, int mode);
    HRESULT(STDMETHODCALLTYPE* Play)(Self);
    HRESULT(STDMETHODCALLTYPE* Stop)(Self);
    HRESULT(STDMETHODCALLTYPE* Back)(Self);
    HRESULT(STDMETHODCALLTYPE* Forward)(Self);
    HRESULT(STDMETHODCALLTYPE* Rewind)(Self);
    HRESULT(STDMETHODCALLTYPE* StopPlay)(Self);
    HRESULT(STDMETHODCALLTYPE* GotoFrame)(Self, long FrameNum);
    HRESULT(STDMETHODCALLTYPE* CurrentFrame)(Self, long* FrameNum);
    HRESULT(STDMETHODCALLTYPE* IsPlaying)(Self, VARIANT_BOOL* Playing);
    // 30
    HRESULT(STDMETHODCALLTYPE* PercentLoaded)(Self, long* percent);
    HRESULT(STDMETHODCALLTYPE* FrameLoaded)(Self, long FrameNum, VARIANT_BOOL* loaded);
    HRESULT(STDMETHODCALLTYPE* FlashVersion)(Self, long* version);
    HRESULT(STDMETHODCALLTYPE* get_WMode)(Self, BSTR* pVal);
    HRESULT(STDMETHODCALLTYPE* put_WMode)(Self, BSTR pVal);
    HRESULT(STDMETHODCALLTYPE* get_SAlign)(Self, BSTR* pVal);
    HRESULT(STDMETHODCALLTYPE* put_SAlign)(Self, BSTR pVal);
    HRESULT(STDMETHODCALLTYPE* get_Menu)(Self, VARIANT_BOOL* pVal);
    HRESULT(STDMETHODCALLTYPE* put_Menu)(Self, VARIANT_BOOL pVal);
    HRESULT(STDMETHODCALLTYPE* get_Base)(Self, BSTR* pVal);
    // 40
    HRESULT(STDMETHODCALLTYPE* put_Base)(Self, BSTR pVal);
    HRESULT(STDMETHODCALLTYPE* get_Scale)(Self, BSTR* pVal);
    HRESULT(STDMETHODCALLTYPE* put_Scale)(Self, BSTR pVal);
    HRESULT(STDMETHODCALLTYPE* get_DeviceFont)(Self, VARIANT_BOOL* pVal);
    HRESULT(STDMETHODCALLTYPE* put_DeviceFont)(Self, VARIANT_BOOL pVal);
    HRESULT(STDMETHODCALLTYPE* get_EmbedMovie)(Self, VARIANT_BOOL* pVal);
    HRESULT(STDMETHODCALLTYPE* put_EmbedMovie)(Self, VARIANT_BOOL pVal);
    HRESULT(STDMETHODCALLTYPE* get_BGColor)(Self, BSTR* pVal);
    HRESULT(STDMETHODCALLTYPE* put_BGColor)(Self, BSTR pVal);
    HRESULT(STDMETHODCALLTYPE* get_Quality2)(Self, BSTR* pVal);
    // 50
    HRESULT(STDMETHODCALLTYPE* put_Quality2)(Self, BSTR pVal);
    HRESULT(STDMETHODCALLTYPE* LoadMovie)(Self, int layer, BSTR url);
    HRESULT(STDMETHODCALLTYPE* TGotoFrame)(Self, BSTR target, long FrameNum);
    HRESULT(STDMETHODCALLTYPE* TGotoLabel)(Self, BSTR target, BSTR label);
    HRESULT(STDMETHODCALLTYPE* TCurrentFrame)(Self, BSTR target, long* FrameNum);
    HRESULT(STDMETHODCALLTYPE* TCurrentLabel)(Self, BSTR target, BSTR* pVal);
    HRESULT(STDMETHODCALLTYPE* TPlay)(Self, BSTR target);
    HRESULT(STDMETHODCALLTYPE* TStopPlay)(Self, BSTR target);
    HRESULT(STDMETHODCALLTYPE* SetVariable)(Self, BSTR name, BSTR value);
    HRESULT(STDMETHODCALLTYPE* GetVariable)(Self, BSTR name, BSTR* pVal);
    // 60
    HRESULT(STDMETHODCALLTYPE* TSetProperty)(Self, BSTR target, int property, BSTR value);
    HRESULT(STDMETHODCALLTYPE* TGetProperty)(Self, BSTR target, int property, BSTR* pVal);
    HRESULT(STDMETHODCALLTYPE* TCallFrame)(Self, BSTR target, int FrameNum);
    HRESULT(STDMETHODCALLTYPE* TCallLabel)(Self, BSTR target, BSTR label);
    HRESULT(STDMETHODCALLTYPE* TSetPropertyNum)(Self, BSTR target, int property, double value);
    HRESULT(STDMETHODCALLTYPE* TGetPropertyNum)(Self, BSTR target, int property, double* pVal);
    HRESULT(STDMETHODCALLTYPE* TGetPropertyAsNumber)(Self, BSTR target, int property, double* pVal);
    HRESULT(STDMETHODCALLTYPE* get_SWRemote)(Self, BSTR* pVal);
    HRESULT(STDMETHODCALLTYPE* put_SWRemote)(Self, BSTR pVal);
    HRESULT(STDMETHODCALLTYPE* get_FlashVars)(Self, BSTR* pVal);
    // 70
    HRESULT(STDMETHODCALLTYPE* put_FlashVars)(Self, BSTR pVal);
    HRESULT(STDMETHODCALLTYPE* get_AllowScriptAccess)(Self, BSTR* pVal);
    HRESULT(STDMETHODCALLTYPE* put_AllowScriptAccess)(Self, BSTR pVal);
    HRESULT(STDMETHODCALLTYPE* get_MovieData)(Self, BSTR* pVal);
    HRESULT(STDMETHODCALLTYPE* put_MovieData)(Self, BSTR pVal);
    HRESULT(STDMETHODCALLTYPE* get_InlineData)(Self, IUnknown** ppIUnknown);
    HRESULT(STDMETHODCALLTYPE* put_InlineData)(Self, IUnknown* ppIUnknown);
    HRESULT(STDMETHODCALLTYPE* get_SeamlessTabbing)(Self, VARIANT_BOOL* pVal);
    HRESULT(STDMETHODCALLTYPE* put_SeamlessTabbing)(Self, VARIANT_BOOL pVal);
    HRESULT(STDMETHODCALLTYPE* EnforceLocalSecurity)(Self);
    // 80
    HRESULT(STDMETHODCALLTYPE* get_Profile)(Self, VARIANT_BOOL* pVal);
    HRESULT(STDMETHODCALLTYPE* put_Profile)(Self, VARIANT_BOOL pVal);
    HRESULT(STDMETHODCALLTYPE* get_ProfileAddress)(Self, BSTR* pVal);
    HRESULT(STDMETHODCALLTYPE* put_ProfileAddress)(Self, BSTR pVal);
    HRESULT(STDMETHODCALLTYPE* get_ProfilePort)(Self, long* pVal);
    HRESULT(STDMETHODCALLTYPE* put_ProfilePort)(Self, long pVal);
    // Controls of major version 8 and later only: an older control's table ends before these.
    HRESULT(STDMETHODCALLTYPE* CallFunction)(Self, BSTR request, BSTR* response);
    HRESULT(STDMETHODCALLTYPE* SetReturnValue)(Self, BSTR returnValue);
    HRESULT(STDMETHODCALLTYPE* DisableLocalSecurity)(Self);
    HRESULT(STDMETHODCALLTYPE* get_AllowNetworking)(Self, BSTR* pVal);
    // 90
    HRESULT(STDMETHODCALLTYPE* put_AllowNetworking)(Self, BSTR pVal);
    HRESULT(STDMETHODCALLTYPE* get_AllowFullScreen)(Self, BSTR* pVal);
    HRESULT(STDMETHODCALLTYPE* put_AllowFullScreen)(Self, BSTR pVal);
};

// The byte offset of the method at Position in the table, counted from 0 after the seven
// IUnknown and IDispatch methods.
constexpr std::size_t FlashPlayerMethodOffset(std::size_t Position)
{
    return (7 + Position) * sizeof(void*);
}

// Every method the driver calls sits at its published position.
static_assert(offsetof(TIznFlashPlayerVtbl, Invoke) == 6 * sizeof(void*));
static_assert(offsetof(TIznFlashPlayerVtbl, get_TotalFrames) == FlashPlayerMethodOffset(1));
static_assert(offsetof(TIznFlashPlayerVtbl, get_Loop) == FlashPlayerMethodOffset(12));
static_assert(offsetof(TIznFlashPlayerVtbl, put_Loop) == FlashPlayerMethodOffset(13));
static_assert(offsetof(TIznFlashPlayerVtbl, put_FrameNum) == FlashPlayerMethodOffset(17));
static_assert(offsetof(TIznFlashPlayerVtbl, Play) == FlashPlayerMethodOffset(21));
static_assert(offsetof(TIznFlashPlayerVtbl, Back) == FlashPlayerMethodOffset(23));
static_assert(offsetof(TIznFlashPlayerVtbl, Forward) == FlashPlayerMethodOffset(24));
static_assert(offsetof(TIznFlashPlayerVtbl, Rewind) == FlashPlayerMethodOffset(25));
static_assert(offsetof(TIznFlashPlayerVtbl, StopPlay) == FlashPlayerMethodOffset(26));
static_assert(offsetof(TIznFlashPlayerVtbl, CurrentFrame) == FlashPlayerMethodOffset(28));
static_assert(offsetof(TIznFlashPlayerVtbl, IsPlaying) == FlashPlayerMethodOffset(29));
static_assert(offsetof(TIznFlashPlayerVtbl, FlashVersion) == FlashPlayerMethodOffset(32));
static_assert(offsetof(TIznFlashPlayerVtbl, LoadMovie) == FlashPlayerMethodOffset(51));
static_assert(offsetof(TIznFlashPlayerVtbl, SetVariable) == FlashPlayerMethodOffset(58));
static_assert(offsetof(TIznFlashPlayerVtbl, GetVariable) == FlashPlayerMethodOffset(59));
static_assert(offsetof(TIznFlashPlayerVtbl, CallFunction) == FlashPlayerMethodOffset(86));
static_assert(offsetof(TIznFlashPlayerVtbl, SetReturnValue) == FlashPlayerMethodOffset(87));
static_assert(offsetof(TIznFlashPlayerVtbl, DisableLocalSecurity) == FlashPlayerMethodOffset(88));
static_assert(sizeof(TIznFlashPlayerVtbl) == FlashPlayerMethodOffset(93));

// A pointer to the control's dual interface, called through its table.
struct IznFlashPlayer {
    const TIznFlashPlayerVtbl* lpVtbl;

    HRESULT QueryInterface(REFIID riid, void** ppvObject)
    {
        return lpVtbl->QueryInterface(this, riid, ppvObject);
    }
    ULONG AddRef() { return lpVtbl->AddRef(this); }
    ULONG Release() { return lpVtbl->Release(this); }
};

// The event dispinterface and the plain dispatch view of the control carry no methods of their
// own beyond IDispatch.
using IznFlashPlayerDisp = IDispatch;
using _IznFlashPlayerEvents = IDispatch;
using DShockwaveFlashEvents = IDispatch;
// The control's factory and object-interface classes are only created on request, never called.
using IFlashFactory = IUnknown;
using IFlashObjectInterface = IDispatch;

} // namespace zn
