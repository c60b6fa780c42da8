// Creating, activating and tearing down the reference control as a container does.
#include "control_fixture.h"

namespace zn::test {

std::vector<std::string> LinesStarting(const std::vector<std::string>& lines,
                                       const std::string& prefix)
{
    std::vector<std::string> found;
    for (const auto& line : lines)
        if (line.rfind(prefix, 0) == 0)
            found.push_back(line);
    return found;
}

void ControlTest::SetUp()
{
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    Create();
}

void ControlTest::TearDown()
{
    Destroy();
    for (const auto& file : files)
        DeleteFileW(file.c_str());
    OleUninitialize();
}

void ControlTest::Create()
{
    ASSERT_EQ(CoCreateInstance(CLSID_ZnPlayerControl, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                               reinterpret_cast<void**>(&control)),
              S_OK);
    ASSERT_EQ(control->QueryInterface(IID_IznFlashPlayer, reinterpret_cast<void**>(&player)), S_OK);
    exports = ReferenceControlExports();
    ASSERT_TRUE(exports.TakeLog && exports.TakeViolations && exports.RequestUrl);
    // Each test reads only what it caused.
    Log();
    Violations();
    site.control = control;
    sink.control = player;
}

void ControlTest::Initialize()
{
    ASSERT_EQ(control->SetClientSite(&site), S_OK);
    IPersistStreamInit* persist = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)),
              S_OK);
    ASSERT_EQ(persist->InitNew(), S_OK);
    persist->Release();
}

void ControlTest::Activate()
{
    Initialize();
    IConnectionPointContainer* points = nullptr;
    ASSERT_EQ(
        control->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points)),
        S_OK);
    ASSERT_EQ(points->FindConnectionPoint(DIID__IznFlashPlayerEvents, &eventPoint), S_OK);
    points->Release();
    ASSERT_EQ(eventPoint->Advise(&sink, &eventCookie), S_OK);
    RECT rect{0, 0, kWidth, kHeight};
    ASSERT_EQ(control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, nullptr, &rect), S_OK);
}

void ControlTest::Destroy()
{
    if (!control)
        return;
    control->Close(OLECLOSE_NOSAVE);
    if (eventPoint) {
        eventPoint->Unadvise(eventCookie);
        eventPoint->Release();
        eventPoint = nullptr;
    }
    control->SetClientSite(nullptr);
    player->Release();
    player = nullptr;
    IOleObject* last = control;
    control = nullptr;
    last->Release();
}

std::wstring ControlTest::WriteFile(const std::vector<std::uint8_t>& bytes)
{
    wchar_t folder[MAX_PATH], name[MAX_PATH];
    if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"zax", 0, name))
        return {};
    files.emplace_back(name);
    HANDLE file = CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return written == bytes.size() ? files.back() : std::wstring();
}

void ControlTest::LoadMovie(const std::vector<std::uint8_t>& movie, const std::wstring& name)
{
    const std::wstring path = WriteFile(movie);
    ASSERT_FALSE(path.empty());
    if (!name.empty())
        site.files[name] = path;
    BSTR url = SysAllocString(name.empty() ? path.c_str() : name.c_str());
    HRESULT hr = player->LoadMovie(0, url);
    SysFreeString(url);
    ASSERT_EQ(hr, S_OK);
    for (int waited = 0; waited < 5000; waited += 20) {
        LONG state = 0;
        player->get_ReadyState(&state);
        LONG frames = 0;
        player->get_TotalFrames(&frames);
        if (state == READYSTATE_COMPLETE && frames > 0)
            return;
        Pump(20);
    }
    FAIL() << "the movie did not arrive";
}

void ControlTest::Pump(int milliseconds)
{
    const DWORD end = GetTickCount() + milliseconds;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

} // namespace zn::test
