// Movie loading through the driver's bind host and moniker, against the reference control: the
// control asks the bind host for a moniker for every name, binds it with its own callback in the
// bind context, and logs each answer and callback. Where the bytes came from shows in how many
// arrived: every source here has a size of its own.
#include "support/local_http_server.h"
#include "control_identity.h"
#include "support/reference_control_exports.h"
#include "support/scratch_folder.h"
#include "support/taken_lines.h"
#include "zintara/core/flash_list.h"
#include "zintara/framework/file_stream.h"
#include "zintara/framework/module_paths.h"
#include "zintara/framework/text.h"
#include "zintara/zn_driver_activex.h"

#include <gtest/gtest.h>
#include <urlmon.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace zn;
using namespace zn::test;

namespace {

std::vector<std::string> With(const std::vector<std::string>& Log, const std::string& Call)
{
    std::vector<std::string> lines;
    for (const std::string& line : Log)
        if (line.rfind(Call + " ", 0) == 0)
            lines.push_back(line);
    return lines;
}

std::string ValueOf(const std::string& Line, const std::string& Key)
{
    const std::size_t at = Line.find(" " + Key + "=");
    if (at == std::string::npos)
        return {};
    const std::size_t start = at + Key.size() + 2;
    if (Line[start] == '"')
        return Line.substr(start, Line.find('"', start + 1) - start + 1);
    return Line.substr(start, Line.find(' ', start) - start);
}

void WriteFile(const std::wstring& Path, std::size_t Size)
{
    const std::string bytes(Size, 'f');
    TFileStream(Path, fmCreate).WriteBuffer(bytes.data(), bytes.size());
}

// What one fetch of the control came to: the moniker's answer, then the bytes and the end.
struct TFetch {
    std::string MonikerResult;
    long long Bytes = -1;
    std::string EndResult;
    std::vector<std::string> Log;
};

class BindingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        Driver = std::make_unique<TznFlashDriverActiveX>(64, 48, 0xFF000000u);
        ASSERT_TRUE(Driver->GetIsFlashAvailable());
        Controls = ReferenceControlExports();
        ASSERT_NE(Controls.RequestUrl, nullptr);
        Identity = ControlIdentity(*Driver);
        TakeLines(Controls.TakeLog);
    }
    void TearDown() override
    {
        Driver.reset();
        EXPECT_EQ(TakeLines(Controls.TakeViolations), std::vector<std::string>());
        CoUninitialize();
    }

    // The control fetches Name as a movie fetches a file.
    TFetch Fetch(const std::wstring& Name)
    {
        Controls.RequestUrl(Identity, WideToUtf8(Name).c_str());
        return Summary();
    }
    TFetch Summary()
    {
        TFetch fetch;
        fetch.Log = TakeLines(Controls.TakeLog);
        const auto monikers = With(fetch.Log, "Site.CreateMoniker");
        if (!monikers.empty())
            fetch.MonikerResult = ValueOf(monikers.back(), "hr");
        const auto ends = With(fetch.Log, "Download.End");
        if (!ends.empty()) {
            fetch.Bytes = std::stoll(ValueOf(ends.back(), "bytes"));
            fetch.EndResult = ValueOf(ends.back(), "hr");
        }
        return fetch;
    }

    // The container's bind host, as the control finds it through its site.
    IBindHost* BindHost()
    {
        IOleObject* object = nullptr;
        Driver->ControlInterface()->QueryInterface(IID_IOleObject,
                                                   reinterpret_cast<void**>(&object));
        IOleClientSite* site = nullptr;
        object->GetClientSite(&site);
        object->Release();
        IServiceProvider* services = nullptr;
        site->QueryInterface(::IID_IServiceProvider, reinterpret_cast<void**>(&services));
        site->Release();
        IBindHost* host = nullptr;
        services->QueryService(::SID_IBindHost, ::IID_IBindHost, reinterpret_cast<void**>(&host));
        services->Release();
        return host;
    }

    std::unique_ptr<TznFlashDriverActiveX> Driver;
    TReferenceControlExports Controls;
    void* Identity = nullptr;
};

constexpr const char* Ok = "0x00000000";
constexpr const char* Declined = "0x80004001";

} // namespace

// Every way a movie names a file, and the source it finds: an embedded entry (any letter case,
// with or without a query), a resource of the library, a file beside the executable (the query
// cut for the test, kept in the name), drive-letter paths and "file://" names that exist and
// that do not (one named beyond the system code page), and names the driver leaves to the
// control.
TEST_F(BindingTest, EveryNameFindsItsSource)
{
    TznFlashList list(nullptr);
    TznFlashStream* entry = list.Flashs()->Add();
    entry->Flash().Write("entry bytes", 11);
    entry->SetFlashStore(L"Data.XML");
    const std::wstring beside = ExecutableFolder() + L"beside_binding.xml";
    WriteFile(beside, 23);
    const TScratchFolder scratch;
    WriteFile(scratch / L"drive.txt", 31);
    WriteFile(scratch / L"\u0444\u0438\u043b\u044c\u043c.txt", 37);
    std::wstring drive_url = L"file:///" + (scratch / L"drive.txt");
    std::replace(drive_url.begin(), drive_url.end(), L'\\', L'/');

    const std::string failed = "0x800c0005"; // INET_E_RESOURCE_NOT_FOUND
    struct TCase {
        std::wstring Name;
        std::string MonikerResult;
        long long Bytes;
    };
    const TCase cases[] = {
        {L"http://zintara/data.xml", Ok, 11},
        {L"http://zintara/DaTa.xml?v=2", Ok, 11},
        {L"./data.xml", Ok, 11},
        {L"http://zintara/sub%2fdata.xml", Ok, 11},
        {L"http://zintara/builtin.swf", Ok, 14},
        {L"http://zintara/beside_binding.xml?a=1&b=2", Ok, 23},
        {L"beside_binding.xml", Ok, 23},
        {L"http://zintara/" + (scratch / L"drive.txt"), Ok, 31},
        {L"http://zintara/" + (scratch / L"missing.txt"), Ok, 0},
        {L"http://zintara/" + (scratch / L"\u0444\u0438\u043b\u044c\u043c.txt"), Ok, 37},
        {drive_url, Ok, 31},
        {L"file:///" + (scratch / L"missing.txt"), Ok, 0},
        {L"file://", Ok, 0},
        {L"http://zintara/notes.doc", Declined, 0},
        {L"http://zintara/MOVIE.SWF", Declined, 0},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(WideToUtf8(test.Name));
        const TFetch fetch = Fetch(test.Name);
        EXPECT_EQ(fetch.MonikerResult, test.MonikerResult);
        EXPECT_EQ(fetch.Bytes, test.Bytes);
        if (test.Bytes > 0) {
            EXPECT_EQ(fetch.EndResult, Ok);
        } else if (test.MonikerResult == Ok) {
            EXPECT_EQ(fetch.EndResult, failed);
        }
    }
    DeleteFileW(beside.c_str());
}

// A source the driver holds reaches the callback inside the bind: start, the end of the
// download, one notification of the whole size flagged first and last, stop.
TEST_F(BindingTest, AHeldSourceIsDeliveredInOneNotification)
{
    const TFetch fetch = Fetch(L"http://zintara/builtin.swf");
    std::vector<std::string> callbacks;
    for (const std::string& line : fetch.Log)
        if (line.rfind("IBindStatusCallback.", 0) == 0 || line.rfind("Moniker.", 0) == 0)
            callbacks.push_back(line.substr(0, line.find(' ')));
    EXPECT_EQ(callbacks, (std::vector<std::string>{
                             "IBindStatusCallback.OnStartBinding",
                             "IBindStatusCallback.OnProgress",
                             "IBindStatusCallback.OnDataAvailable",
                             "IBindStatusCallback.OnStopBinding",
                             "Moniker.BindToStorage",
                         }));
    const std::string progress = With(fetch.Log, "IBindStatusCallback.OnProgress").at(0);
    EXPECT_EQ(ValueOf(progress, "progress"), "100");
    EXPECT_EQ(ValueOf(progress, "max"), "100");
    EXPECT_EQ(ValueOf(progress, "status"), "6");
    const std::string data = With(fetch.Log, "IBindStatusCallback.OnDataAvailable").at(0);
    EXPECT_EQ(ValueOf(data, "flags"), "5");
    EXPECT_EQ(ValueOf(data, "size"), "14");
    EXPECT_EQ(ValueOf(data, "tymed"), "4");
    const std::string stop = With(fetch.Log, "IBindStatusCallback.OnStopBinding").at(0);
    EXPECT_EQ(ValueOf(stop, "hr"), Ok);
    EXPECT_EQ(ValueOf(With(fetch.Log, "Moniker.BindToStorage").at(0), "object"), "0x00000000");
}

// The application's stream is copied when it is handed over and named by a token; the movie
// gets it once, and a token nobody handed out names nothing.
TEST_F(BindingTest, AnApplicationStreamIsServedOnceByItsToken)
{
    auto stream = std::make_unique<TMemoryStream>();
    stream->Write("not a movie, 27 bytes long.", 27);
    Driver->LoadMovieFromStream(*stream);
    stream.reset();
    const TFetch load = Summary();
    const auto loads = With(load.Log, "IznFlashPlayer.LoadMovie");
    ASSERT_EQ(loads.size(), 1u);
    const std::string url = ValueOf(loads[0], "url");
    EXPECT_EQ(url.substr(0, 24), "\"http://zintara/<stream>");
    EXPECT_EQ(url.substr(url.size() - 5), ".swf\"");
    EXPECT_EQ(load.Bytes, 27);

    const std::wstring name = Utf8ToWide(url.substr(1, url.size() - 2));
    EXPECT_EQ(Fetch(name).Bytes, 0);
    EXPECT_EQ(Fetch(L"http://zintara/<stream>0000beef.swf").Bytes, 0);
    EXPECT_EQ(Fetch(L"http://zintara/<stream>00000000.swf").Bytes, 0);
}

// The movie is named under the pseudo host, and the null message follows so that the control
// takes it at once; an empty name does nothing.
TEST_F(BindingTest, LoadMovieNamesThePseudoHostAndSendsTheNullMessage)
{
    Driver->LoadMovie(L"");
    EXPECT_EQ(TakeLines(Controls.TakeLog), std::vector<std::string>());
    Driver->LoadMovie(L"builtin.swf");
    const TFetch load = Summary();
    ASSERT_EQ(With(load.Log, "IznFlashPlayer.LoadMovie").size(), 1u);
    EXPECT_EQ(ValueOf(With(load.Log, "IznFlashPlayer.LoadMovie")[0], "url"),
              "\"http://zintara/builtin.swf\"");
    EXPECT_EQ(ValueOf(With(load.Log, "IznFlashPlayer.LoadMovie")[0], "layer"), "0");
    EXPECT_EQ(load.Bytes, 14);
    const auto messages = With(load.Log, "IOleInPlaceObjectWindowless.OnWindowMessage");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(ValueOf(messages[0], "msg"), "0");
}

// A real web address goes to the system's URL library, which drives the control's callback
// while the application pumps messages: all of the body arrives and the binding ends well.
TEST_F(BindingTest, AnHttpUrlIsDownloadedThroughTheUrlLibrary)
{
    TLocalHttpServer server;
    const std::wstring url =
        L"http://127.0.0.1:" + std::to_wstring(server.Port()) + L"/clip.swf?take=1";
    Controls.RequestUrl(Identity, WideToUtf8(url).c_str());
    std::vector<std::string> log;
    const DWORD deadline = GetTickCount() + 10000;
    while (With(log, "Download.End").empty() && GetTickCount() < deadline) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        const auto more = TakeLines(Controls.TakeLog);
        log.insert(log.end(), more.begin(), more.end());
        Sleep(10);
    }
    ASSERT_EQ(With(log, "Download.End").size(), 1u);
    EXPECT_EQ(ValueOf(With(log, "Site.CreateMoniker").at(0), "hr"), Ok);
    EXPECT_EQ(std::stoll(ValueOf(With(log, "Download.End")[0], "bytes")),
              static_cast<long long>(LocalHttpBodySize));
    EXPECT_EQ(ValueOf(With(log, "Download.End")[0], "hr"), Ok);
    EXPECT_EQ(server.RequestLines(), std::vector<std::string>{"GET /clip.swf?take=1 HTTP/1.1"});
}

namespace {

// A callback of the test's own that keeps the stream it is given.
class TKeepingCallback final : public IBindStatusCallback {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IBindStatusCallback)
            return E_NOINTERFACE;
        *ppv = static_cast<IBindStatusCallback*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG, ULONG, ULONG, LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override
    {
        Stopped = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD*, BINDINFO*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM* medium) override
    {
        Kept = medium->pstm;
        Kept->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

    IStream* Kept = nullptr;
    bool Stopped = false;
};

} // namespace

// The container's bind host, as the control finds it; binding its moniker directly.
TEST_F(BindingTest, TheStreamOfABindOutlivesTheBindingAndTheMonikerIsNothingElse)
{
    IBindHost* host = BindHost();
    ASSERT_NE(host, nullptr);
    TKeepingCallback callback;
    IBindCtx* context = nullptr;
    ASSERT_EQ(CreateAsyncBindCtx(0, &callback, nullptr, &context), S_OK);
    IMoniker* moniker = nullptr;
    ASSERT_EQ(host->CreateMoniker(const_cast<LPOLESTR>(L"builtin.swf"), context, &moniker, 0),
              S_OK);
    EXPECT_EQ(moniker->BindToStorage(nullptr, nullptr, IID_IStream, nullptr), E_FAIL);
    IStream* out = reinterpret_cast<IStream*>(1);
    EXPECT_EQ(moniker->BindToStorage(context, nullptr, IID_IStream, reinterpret_cast<void**>(&out)),
              S_OK);
    EXPECT_EQ(out, nullptr);
    ASSERT_TRUE(callback.Stopped);
    ASSERT_NE(callback.Kept, nullptr);
    // Read after the binding stopped: the stream still holds its bytes.
    char bytes[32] = {};
    ULONG read = 0;
    LARGE_INTEGER start{};
    callback.Kept->Seek(start, STREAM_SEEK_SET, nullptr);
    callback.Kept->Read(bytes, sizeof bytes, &read);
    EXPECT_EQ(std::string(bytes, read), "built-in movie");
    callback.Kept->Release();

    // A second bind has no name left to serve.
    EXPECT_NE(moniker->BindToStorage(context, nullptr, IID_IStream, reinterpret_cast<void**>(&out)),
              S_OK);
    IMoniker* other = reinterpret_cast<IMoniker*>(1);
    EXPECT_EQ(moniker->Reduce(context, 0, nullptr, &other), E_NOTIMPL);
    EXPECT_EQ(other, nullptr);
    DWORD hash = 0;
    EXPECT_EQ(moniker->Hash(&hash), E_NOTIMPL);
    EXPECT_EQ(moniker->IsEqual(moniker), E_NOTIMPL);
    IPersistStream* persist = nullptr;
    EXPECT_EQ(moniker->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist)),
              E_NOINTERFACE);
    moniker->Release();
    IMoniker* none = reinterpret_cast<IMoniker*>(1);
    EXPECT_EQ(host->CreateMoniker(const_cast<LPOLESTR>(L"notes.doc"), context, &none, 0),
              E_NOTIMPL);
    EXPECT_EQ(none, nullptr);
    context->Release();
    host->Release();
}

// A source that is gone by the time of the bind (an embedded entry removed after the name was
// resolved) fails the bind with an error code and calls no callback.
TEST_F(BindingTest, ASourceGoneBeforeTheBindFailsIt)
{
    IBindHost* host = BindHost();
    ASSERT_NE(host, nullptr);
    auto list = std::make_unique<TznFlashList>(nullptr);
    TznFlashStream* entry = list->Flashs()->Add();
    entry->Flash().Write("gone", 4);
    entry->SetFlashStore(L"gone.xml");
    TKeepingCallback callback;
    IBindCtx* context = nullptr;
    ASSERT_EQ(CreateAsyncBindCtx(0, &callback, nullptr, &context), S_OK);
    IMoniker* moniker = nullptr;
    ASSERT_EQ(host->CreateMoniker(const_cast<LPOLESTR>(L"gone.xml"), context, &moniker, 0), S_OK);
    list.reset();
    IStream* out = nullptr;
    EXPECT_TRUE(FAILED(
        moniker->BindToStorage(context, nullptr, IID_IStream, reinterpret_cast<void**>(&out))));
    EXPECT_FALSE(callback.Stopped);
    EXPECT_EQ(callback.Kept, nullptr);
    moniker->Release();
    context->Release();
    host->Release();
}
