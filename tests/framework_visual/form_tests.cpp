// Forms and the application: top-level windows made in code or read from binary and text
// forms, closing and freeing, the message loop, exceptions from handlers, and the screen.
#include "zintara/framework/application.h"
#include "zintara/framework/form_io.h"
#include "zintara/framework/streams.h"

#include "test_controls.h"
#include "support/test_surface.h"

#include <gtest/gtest.h>

#include <ole2.h>

#include <cstring>
#include <memory>

using namespace zn;
using namespace zn::test;

namespace {

class TFormEvents : public TObject {
public:
    TCloseAction Action = caHide;
    int Closes = 0;
    std::vector<std::string> Errors;
    void Close(TObject*, TCloseAction& AAction)
    {
        ++Closes;
        AAction = Action;
    }
    void Error(TObject*, const std::exception& E) { Errors.push_back(E.what()); }
    void Fail(TObject*) { throw EInvalidOperation(L"click failed"); }
};

std::wstring WindowText(HWND Window)
{
    wchar_t text[128] = {};
    GetWindowTextW(Window, text, 128);
    return text;
}

} // namespace

TEST(Form, AFormMadeInCodeIsATopLevelWindowShownOnRequest)
{
    TForm form(nullptr);
    form.SetCaption(L"Zintara");
    form.SetBounds(30, 40, 300, 200);
    EXPECT_FALSE(form.HandleAllocated());
    form.Show();
    HWND window = form.Handle();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GetParent(window), nullptr);
    EXPECT_EQ(WindowText(window), L"Zintara");
    RECT area;
    GetWindowRect(window, &area);
    EXPECT_EQ(area.left, 30);
    EXPECT_EQ(area.right - area.left, 300);
    form.SetClientWidth(250);
    EXPECT_EQ(form.ClientWidth(), 250);
    form.SetCaption(L"Renamed");
    EXPECT_EQ(WindowText(window), L"Renamed");
    EXPECT_EQ(GetParentForm(&form), &form);
}

TEST(Form, ClosingHidesByDefaultAndOnCloseCanKeepOrFreeTheForm)
{
    TFormEvents events;
    auto* form = new TForm(nullptr);
    form->OnClose = TCloseEvent::Bind<&TFormEvents::Close>(&events);
    form->Show();
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    form->Show();
    events.Action = caNone;
    form->Close();
    EXPECT_TRUE(form->Visible());
    events.Action = caFree;
    int forms = Screen().FormCount();
    HWND window = form->Handle();
    form->Close();
    EXPECT_TRUE(IsWindow(window)) << "freed only once the closing message is done";
    PumpMessages();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(Screen().FormCount(), forms - 1);
    EXPECT_EQ(events.Closes, 3);
}

TEST(Screen, KnowsTheDisplayAndTheForms)
{
    const TWindowDC dc = WindowDC(nullptr);
    EXPECT_EQ(Screen().PixelsPerInch(), GetDeviceCaps(dc.get().Value, LOGPIXELSY));
    EXPECT_EQ(Screen().Width(), GetSystemMetrics(SM_CXSCREEN));
    int before = Screen().FormCount();
    {
        TForm form(nullptr);
        EXPECT_EQ(Screen().FormCount(), before + 1);
        EXPECT_EQ(Screen().Forms(before), &form);
    }
    EXPECT_EQ(Screen().FormCount(), before);
    EXPECT_THROW(Screen().Forms(-1), EListError);
}

class FormStreamTest : public ::testing::TestWithParam<TFormFormat> {
protected:
    void SetUp() override { RegisterTestControls(); }

    // A form with a panel holding a shape, every stored property away from its default.
    static void Fill(TForm& Form)
    {
        Form.SetName(L"MainForm");
        Form.SetCaption(L"Stored form");
        Form.SetBounds(20, 30, 400, 300);
        Form.SetColor(clTeal);
        Form.SetHint(L"form hint");
        auto* panel = new TTestPanel(&Form);
        panel->SetName(L"Panel1");
        panel->SetParent(&Form);
        panel->SetBounds(0, 0, 100, 80);
        panel->SetAlign(alTop);
        panel->SetTabStop(true);
        panel->SetShowHint(true);
        panel->SetDragMode(dmAutomatic);
        auto* shape = new TTestShape(&Form);
        shape->SetName(L"Shape1");
        shape->SetParent(panel);
        shape->SetBounds(5, 6, 20, 30);
        shape->SetColor(clInfoBk);
        shape->SetAnchors({akRight, akBottom});
        shape->SetDragCursor(crNoDrop);
        shape->SetEnabled(false);
        shape->SetVisible(false);
        shape->SetHint(L"shape hint");
        // Its own ShowHint, false under a panel that shows hints.
        shape->SetShowHint(false);
    }
};

TEST_P(FormStreamTest, AFormWithControlsReadsBackWithTheSameProperties)
{
    TForm original(nullptr);
    Fill(original);
    TMemoryStream stream;
    WriteComponentToStream(stream, original, GetParam());
    stream.SetPosition(0);
    std::unique_ptr<TComponent> read(ReadComponentFromStream(stream, nullptr));
    auto* form = dynamic_cast<TForm*>(read.get());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Name(), L"MainForm");
    EXPECT_EQ(form->Caption(), L"Stored form");
    EXPECT_EQ(form->BoundsRect(), Rect(20, 30, 420, 330));
    EXPECT_EQ(form->Color(), clTeal);
    EXPECT_EQ(form->Hint(), L"form hint");
    EXPECT_FALSE(form->Visible());

    auto* panel = dynamic_cast<TTestPanel*>(form->FindComponent(L"Panel1"));
    auto* shape = dynamic_cast<TTestShape*>(form->FindComponent(L"Shape1"));
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(panel->Parent(), form);
    EXPECT_EQ(shape->Parent(), panel);
    EXPECT_EQ(panel->Align(), alTop);
    EXPECT_EQ(panel->Width(), form->ClientWidth()) << "aligned once the form is loaded";
    EXPECT_TRUE(panel->TabStop());
    EXPECT_TRUE(panel->ShowHint());
    EXPECT_EQ(panel->DragMode(), dmAutomatic);
    EXPECT_EQ(panel->Color(), clTeal)
        << "ParentColor was stored as the default and followed the form";
    EXPECT_EQ(shape->BoundsRect(), Rect(5, 6, 25, 36));
    EXPECT_EQ(shape->Color(), clInfoBk) << "a system colour, stored as a negative number";
    EXPECT_FALSE(shape->ParentColor());
    EXPECT_EQ(shape->Anchors(), (TAnchors{akRight, akBottom}));
    EXPECT_EQ(shape->DragCursor(), crNoDrop);
    EXPECT_FALSE(shape->Enabled());
    EXPECT_FALSE(shape->Visible());
    EXPECT_EQ(shape->Hint(), L"shape hint");
    EXPECT_FALSE(shape->ParentShowHint());
    EXPECT_FALSE(shape->ShowHint());
    for (TComponent* component : {static_cast<TComponent*>(form), static_cast<TComponent*>(panel),
                                  static_cast<TComponent*>(shape)})
        EXPECT_FALSE(component->ComponentState().Contains(csLoading))
            << "Loaded ran for every component";

    TMemoryStream again;
    WriteComponentToStream(again, *form, GetParam());
    ASSERT_EQ(again.Size(), stream.Size());
    EXPECT_EQ(std::memcmp(again.Memory(), stream.Memory(), static_cast<size_t>(stream.Size())), 0)
        << "what was read writes back byte for byte";
}

TEST_P(FormStreamTest, AFormStoredVisibleIsShownWhenLoadedWithItsControlsWindows)
{
    TForm original(nullptr);
    Fill(original);
    original.SetVisible(true);
    TMemoryStream stream;
    WriteComponentToStream(stream, original, GetParam());
    stream.SetPosition(0);
    TForm form(nullptr);
    ReadComponentFromStream(stream, &form);
    ASSERT_TRUE(form.HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    auto* panel = dynamic_cast<TTestPanel*>(form.FindComponent(L"Panel1"));
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(panel->HandleAllocated());
    EXPECT_EQ(GetParent(panel->Handle()), form.Handle());
}

INSTANTIATE_TEST_SUITE_P(BothFormats, FormStreamTest,
                         ::testing::Values(TFormFormat::Binary, TFormFormat::Text));

TEST(FormStream, TheTextFormNamesTheControlsProperties)
{
    RegisterTestControls();
    TForm form(nullptr);
    form.SetName(L"Form1");
    auto* shape = new TTestShape(&form);
    shape->SetName(L"Shape1");
    shape->SetParent(&form);
    shape->SetAlign(alClient);
    shape->SetAnchors({akLeft, akRight});
    shape->SetDragMode(dmAutomatic);
    TMemoryStream stream;
    WriteComponentToStream(stream, form, TFormFormat::Text);
    std::string text(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
    EXPECT_NE(text.find("object Shape1: TTestShape"), std::string::npos) << text;
    EXPECT_NE(text.find("Align = alClient"), std::string::npos) << text;
    EXPECT_NE(text.find("Anchors = [akLeft, akRight]"), std::string::npos) << text;
    EXPECT_NE(text.find("DragMode = dmAutomatic"), std::string::npos) << text;
    EXPECT_EQ(text.find("ParentColor"), std::string::npos) << "defaults are not written";
    EXPECT_EQ(text.find("Visible"), text.find("Visible = True"))
        << "the form's Visible defaults to False";
}

namespace {

std::string TextForm(TComponent& Root)
{
    TMemoryStream stream;
    WriteComponentToStream(stream, Root, TFormFormat::Text);
    return std::string(static_cast<const char*>(stream.Memory()),
                       static_cast<size_t>(stream.Size()));
}

std::unique_ptr<TComponent> ReadText(const std::string& Text)
{
    TMemoryStream stream;
    stream.WriteBuffer(Text.data(), Text.size());
    stream.SetPosition(0);
    return std::unique_ptr<TComponent>(ReadComponentFromStream(stream, nullptr));
}

} // namespace

TEST_P(FormStreamTest, APopupMenuReferenceIsStoredByNameAndResolvedAfterTheWholeForm)
{
    TForm original(nullptr);
    original.SetName(L"Form1");
    auto* shape = new TTestShape(&original);
    shape->SetName(L"Shape1");
    shape->SetParent(&original);
    auto* menu = new TTestMenu(&original);
    menu->SetName(L"Menu1");
    shape->SetPopupMenu(menu);
    TMemoryStream stream;
    WriteComponentToStream(stream, original, GetParam());
    stream.SetPosition(0);
    std::unique_ptr<TComponent> read(ReadComponentFromStream(stream, nullptr));
    auto* read_shape = dynamic_cast<TTestShape*>(read->FindComponent(L"Shape1"));
    ASSERT_NE(read_shape, nullptr);
    TComponent* read_menu = read->FindComponent(L"Menu1");
    ASSERT_NE(read_menu, nullptr) << "the menu is written after the control that refers to it";
    EXPECT_EQ(read_shape->PopupMenu(), read_menu);
}

TEST(FormStream, AReferenceToAMissingComponentFailsTheWholeRead)
{
    RegisterTestControls();
    const std::string text = "object Form1: TForm\n"
                             "  object Shape1: TTestShape\n"
                             "    PopupMenu = Missing\n"
                             "  end\n"
                             "end\n";
    try {
        ReadText(text);
        FAIL() << "read a dangling reference";
    } catch (const EReadError& e) {
        EXPECT_NE(e.Message().find(L"Missing"), std::wstring::npos);
    }
}

TEST(FormStream, AReferenceOutsideTheFormCannotBeWritten)
{
    TForm form(nullptr);
    form.SetName(L"Form1");
    auto* shape = new TTestShape(&form);
    shape->SetName(L"Shape1");
    shape->SetParent(&form);
    TTestMenu elsewhere(nullptr);
    elsewhere.SetName(L"Elsewhere");
    shape->SetPopupMenu(&elsewhere);
    TMemoryStream stream;
    EXPECT_THROW(WriteComponentToStream(stream, form), EWriteError);
    shape->SetPopupMenu(nullptr);
}

TEST(FormStream, APropertyPublishedAgainIsWrittenOnceWithTheDescendantsDefault)
{
    RegisterTestControls();
    TForm form(nullptr);
    form.SetName(L"Form1");
    auto* panel = new TTestTabPanel(&form);
    panel->SetName(L"Panel1");
    panel->SetParent(&form);
    EXPECT_EQ(TextForm(form).find("TabStop"), std::string::npos) << "true is this class's default";
    panel->SetTabStop(false);
    std::string text = TextForm(form);
    size_t first = text.find("TabStop = False");
    ASSERT_NE(first, std::string::npos) << text;
    EXPECT_EQ(text.find("TabStop", first + 1), std::string::npos) << text;
    auto read = ReadText(text);
    auto* read_panel = dynamic_cast<TTestTabPanel*>(read->FindComponent(L"Panel1"));
    ASSERT_NE(read_panel, nullptr);
    EXPECT_FALSE(read_panel->TabStop());
}

class ApplicationTest : public ::testing::Test {
protected:
    TApplication App{nullptr};
};

TEST_F(ApplicationTest, InitialiseSetsUpOleOnThisThreadOnce)
{
    App.Initialize();
    EXPECT_TRUE(App.OleInitialized());
    App.Initialize();
    HRESULT again = OleInitialize(nullptr);
    EXPECT_EQ(again, S_FALSE) << "OLE is already initialised on this thread";
    if (SUCCEEDED(again))
        OleUninitialize();
    EXPECT_EQ(Application(), &App);
    EXPECT_THROW(TApplication Second(nullptr), EInvalidOperation);
    EXPECT_EQ(Application(), &App);
}

TEST_F(ApplicationTest, RunHandlesMessagesUntilTheMainFormCloses)
{
    auto* form = App.CreateForm<TForm>();
    auto* second = App.CreateForm<TForm>();
    EXPECT_EQ(App.MainForm(), form);
    second->Show();
    PostMessageW(second->Handle(), WM_CLOSE, 0, 0);
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    App.Run();
    EXPECT_TRUE(App.Terminated());
    EXPECT_FALSE(second->Visible());
    EXPECT_FALSE(form->Visible());
}

TEST_F(ApplicationTest, ExceptionsFromHandlersGoToOnException)
{
    TFormEvents events;
    App.OnException = TExceptionEvent::Bind<&TFormEvents::Error>(&events);
    auto* form = App.CreateForm<TForm>();
    auto* panel = new TTestPanel(form);
    panel->SetBounds(0, 0, 50, 50);
    panel->SetParent(form);
    panel->OnClick = TNotifyEvent::Bind<&TFormEvents::Fail>(&events);
    form->Show();
    PostMessageW(panel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(5, 5));
    PostMessageW(panel->Handle(), WM_LBUTTONUP, 0, PointToLParam(5, 5));
    App.ProcessMessages();
    EXPECT_EQ(events.Errors, (std::vector<std::string>{"click failed"}));
}

TEST_F(ApplicationTest, FreeingTheMainFormForgetsIt)
{
    auto* form = App.CreateForm<TForm>();
    delete form;
    EXPECT_EQ(App.MainForm(), nullptr);
    App.Terminate();
    App.Run();
    EXPECT_TRUE(App.Terminated());
}
