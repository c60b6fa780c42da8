// Forms and the application: top-level windows made in code or read from binary and text
// forms, closing and freeing, the message loop, exceptions from handlers, and the screen.
#include "zintara/framework/application.h"
#include "zintara/framework/form_io.h"
#include "zintara/framework/streams.h"

#include "test_controls.h"
#include "test_surface.h"

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
    void Close(TObject*, TCloseAction& AAction) {
        ++Closes;
        AAction = Action;
    }
    void Error(TObject*, const std::exception& E) { Errors.push_back(E.what()); }
    void Fail(TObject*) { throw EInvalidOperation(L"click failed"); }
};

std::wstring WindowText(HWND Window) {
    wchar_t Text[128] = {};
    GetWindowTextW(Window, Text, 128);
    return Text;
}

} // namespace

TEST(Form, AFormMadeInCodeIsATopLevelWindowShownOnRequest) {
    TForm Form(nullptr);
    Form.SetCaption(L"Zintara");
    Form.SetBounds(30, 40, 300, 200);
    EXPECT_FALSE(Form.HandleAllocated());
    Form.Show();
    HWND Window = Form.Handle();
    EXPECT_TRUE(IsWindowVisible(Window));
    EXPECT_EQ(GetParent(Window), nullptr);
    EXPECT_EQ(WindowText(Window), L"Zintara");
    RECT Area;
    GetWindowRect(Window, &Area);
    EXPECT_EQ(Area.left, 30);
    EXPECT_EQ(Area.right - Area.left, 300);
    Form.SetClientWidth(250);
    EXPECT_EQ(Form.ClientWidth(), 250);
    Form.SetCaption(L"Renamed");
    EXPECT_EQ(WindowText(Window), L"Renamed");
    EXPECT_EQ(GetParentForm(&Form), &Form);
}

TEST(Form, ClosingHidesByDefaultAndOnCloseCanKeepOrFreeTheForm) {
    TFormEvents Events;
    auto* Form = new TForm(nullptr);
    Form->OnClose = TCloseEvent::Bind<&TFormEvents::Close>(&Events);
    Form->Show();
    SendMessageW(Form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(Form->Visible());
    EXPECT_FALSE(IsWindowVisible(Form->Handle()));
    Form->Show();
    Events.Action = caNone;
    Form->Close();
    EXPECT_TRUE(Form->Visible());
    Events.Action = caFree;
    int Forms = Screen().FormCount();
    HWND Window = Form->Handle();
    Form->Close();
    EXPECT_TRUE(IsWindow(Window)) << "freed only once the closing message is done";
    PumpMessages();
    EXPECT_FALSE(IsWindow(Window));
    EXPECT_EQ(Screen().FormCount(), Forms - 1);
    EXPECT_EQ(Events.Closes, 3);
}

TEST(Screen, KnowsTheDisplayAndTheForms) {
    const TWindowDC DC = WindowDC(nullptr);
    EXPECT_EQ(Screen().PixelsPerInch(), GetDeviceCaps(DC.get().Value, LOGPIXELSY));
    EXPECT_EQ(Screen().Width(), GetSystemMetrics(SM_CXSCREEN));
    int Before = Screen().FormCount();
    {
        TForm Form(nullptr);
        EXPECT_EQ(Screen().FormCount(), Before + 1);
        EXPECT_EQ(Screen().Forms(Before), &Form);
    }
    EXPECT_EQ(Screen().FormCount(), Before);
    EXPECT_THROW(Screen().Forms(-1), EListError);
}

class FormStreamTest : public ::testing::TestWithParam<TFormFormat> {
protected:
    void SetUp() override { RegisterTestControls(); }

    // A form with a panel holding a shape, every stored property away from its default.
    static void Fill(TForm& Form) {
        Form.SetName(L"MainForm");
        Form.SetCaption(L"Stored form");
        Form.SetBounds(20, 30, 400, 300);
        Form.SetColor(clTeal);
        Form.SetHint(L"form hint");
        auto* Panel = new TTestPanel(&Form);
        Panel->SetName(L"Panel1");
        Panel->SetParent(&Form);
        Panel->SetBounds(0, 0, 100, 80);
        Panel->SetAlign(alTop);
        Panel->SetTabStop(true);
        Panel->SetShowHint(true);
        Panel->SetDragMode(dmAutomatic);
        auto* Shape = new TTestShape(&Form);
        Shape->SetName(L"Shape1");
        Shape->SetParent(Panel);
        Shape->SetBounds(5, 6, 20, 30);
        Shape->SetColor(clInfoBk);
        Shape->SetAnchors({akRight, akBottom});
        Shape->SetDragCursor(crNoDrop);
        Shape->SetEnabled(false);
        Shape->SetVisible(false);
        Shape->SetHint(L"shape hint");
        // Its own ShowHint, false under a panel that shows hints.
        Shape->SetShowHint(false);
    }
};

TEST_P(FormStreamTest, AFormWithControlsReadsBackWithTheSameProperties) {
    TForm Original(nullptr);
    Fill(Original);
    TMemoryStream Stream;
    WriteComponentToStream(Stream, Original, GetParam());
    Stream.SetPosition(0);
    std::unique_ptr<TComponent> Read(ReadComponentFromStream(Stream, nullptr));
    auto* Form = dynamic_cast<TForm*>(Read.get());
    ASSERT_NE(Form, nullptr);
    EXPECT_EQ(Form->Name(), L"MainForm");
    EXPECT_EQ(Form->Caption(), L"Stored form");
    EXPECT_EQ(Form->BoundsRect(), Rect(20, 30, 420, 330));
    EXPECT_EQ(Form->Color(), clTeal);
    EXPECT_EQ(Form->Hint(), L"form hint");
    EXPECT_FALSE(Form->Visible());

    auto* Panel = dynamic_cast<TTestPanel*>(Form->FindComponent(L"Panel1"));
    auto* Shape = dynamic_cast<TTestShape*>(Form->FindComponent(L"Shape1"));
    ASSERT_NE(Panel, nullptr);
    ASSERT_NE(Shape, nullptr);
    EXPECT_EQ(Panel->Parent(), Form);
    EXPECT_EQ(Shape->Parent(), Panel);
    EXPECT_EQ(Panel->Align(), alTop);
    EXPECT_EQ(Panel->Width(), Form->ClientWidth()) << "aligned once the form is loaded";
    EXPECT_TRUE(Panel->TabStop());
    EXPECT_TRUE(Panel->ShowHint());
    EXPECT_EQ(Panel->DragMode(), dmAutomatic);
    EXPECT_EQ(Panel->Color(), clTeal) << "ParentColor was stored as the default and followed the form";
    EXPECT_EQ(Shape->BoundsRect(), Rect(5, 6, 25, 36));
    EXPECT_EQ(Shape->Color(), clInfoBk) << "a system colour, stored as a negative number";
    EXPECT_FALSE(Shape->ParentColor());
    EXPECT_EQ(Shape->Anchors(), (TAnchors{akRight, akBottom}));
    EXPECT_EQ(Shape->DragCursor(), crNoDrop);
    EXPECT_FALSE(Shape->Enabled());
    EXPECT_FALSE(Shape->Visible());
    EXPECT_EQ(Shape->Hint(), L"shape hint");
    EXPECT_FALSE(Shape->ParentShowHint());
    EXPECT_FALSE(Shape->ShowHint());
    for (TComponent* Component : {static_cast<TComponent*>(Form), static_cast<TComponent*>(Panel),
                                  static_cast<TComponent*>(Shape)})
        EXPECT_FALSE(Component->ComponentState().Contains(csLoading)) << "Loaded ran for every component";

    TMemoryStream Again;
    WriteComponentToStream(Again, *Form, GetParam());
    ASSERT_EQ(Again.Size(), Stream.Size());
    EXPECT_EQ(std::memcmp(Again.Memory(), Stream.Memory(), static_cast<size_t>(Stream.Size())), 0)
        << "what was read writes back byte for byte";
}

TEST_P(FormStreamTest, AFormStoredVisibleIsShownWhenLoadedWithItsControlsWindows) {
    TForm Original(nullptr);
    Fill(Original);
    Original.SetVisible(true);
    TMemoryStream Stream;
    WriteComponentToStream(Stream, Original, GetParam());
    Stream.SetPosition(0);
    TForm Form(nullptr);
    ReadComponentFromStream(Stream, &Form);
    ASSERT_TRUE(Form.HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(Form.Handle()));
    auto* Panel = dynamic_cast<TTestPanel*>(Form.FindComponent(L"Panel1"));
    ASSERT_NE(Panel, nullptr);
    ASSERT_TRUE(Panel->HandleAllocated());
    EXPECT_EQ(GetParent(Panel->Handle()), Form.Handle());
}

INSTANTIATE_TEST_SUITE_P(BothFormats, FormStreamTest, ::testing::Values(TFormFormat::Binary, TFormFormat::Text));

TEST(FormStream, TheTextFormNamesTheControlsProperties) {
    RegisterTestControls();
    TForm Form(nullptr);
    Form.SetName(L"Form1");
    auto* Shape = new TTestShape(&Form);
    Shape->SetName(L"Shape1");
    Shape->SetParent(&Form);
    Shape->SetAlign(alClient);
    Shape->SetAnchors({akLeft, akRight});
    Shape->SetDragMode(dmAutomatic);
    TMemoryStream Stream;
    WriteComponentToStream(Stream, Form, TFormFormat::Text);
    std::string Text(static_cast<const char*>(Stream.Memory()), static_cast<size_t>(Stream.Size()));
    EXPECT_NE(Text.find("object Shape1: TTestShape"), std::string::npos) << Text;
    EXPECT_NE(Text.find("Align = alClient"), std::string::npos) << Text;
    EXPECT_NE(Text.find("Anchors = [akLeft, akRight]"), std::string::npos) << Text;
    EXPECT_NE(Text.find("DragMode = dmAutomatic"), std::string::npos) << Text;
    EXPECT_EQ(Text.find("ParentColor"), std::string::npos) << "defaults are not written";
    EXPECT_EQ(Text.find("Visible"), Text.find("Visible = True")) << "the form's Visible defaults to False";
}

namespace {

std::string TextForm(TComponent& Root) {
    TMemoryStream Stream;
    WriteComponentToStream(Stream, Root, TFormFormat::Text);
    return std::string(static_cast<const char*>(Stream.Memory()), static_cast<size_t>(Stream.Size()));
}

std::unique_ptr<TComponent> ReadText(const std::string& Text) {
    TMemoryStream Stream;
    Stream.WriteBuffer(Text.data(), Text.size());
    Stream.SetPosition(0);
    return std::unique_ptr<TComponent>(ReadComponentFromStream(Stream, nullptr));
}

} // namespace

TEST_P(FormStreamTest, APopupMenuReferenceIsStoredByNameAndResolvedAfterTheWholeForm) {
    TForm Original(nullptr);
    Original.SetName(L"Form1");
    auto* Shape = new TTestShape(&Original);
    Shape->SetName(L"Shape1");
    Shape->SetParent(&Original);
    auto* Menu = new TTestMenu(&Original);
    Menu->SetName(L"Menu1");
    Shape->SetPopupMenu(Menu);
    TMemoryStream Stream;
    WriteComponentToStream(Stream, Original, GetParam());
    Stream.SetPosition(0);
    std::unique_ptr<TComponent> Read(ReadComponentFromStream(Stream, nullptr));
    auto* ReadShape = dynamic_cast<TTestShape*>(Read->FindComponent(L"Shape1"));
    ASSERT_NE(ReadShape, nullptr);
    TComponent* ReadMenu = Read->FindComponent(L"Menu1");
    ASSERT_NE(ReadMenu, nullptr) << "the menu is written after the control that refers to it";
    EXPECT_EQ(ReadShape->PopupMenu(), ReadMenu);
}

TEST(FormStream, AReferenceToAMissingComponentFailsTheWholeRead) {
    RegisterTestControls();
    const std::string Text = "object Form1: TForm\n"
                             "  object Shape1: TTestShape\n"
                             "    PopupMenu = Missing\n"
                             "  end\n"
                             "end\n";
    try {
        ReadText(Text);
        FAIL() << "read a dangling reference";
    } catch (const EReadError& E) {
        EXPECT_NE(E.Message().find(L"Missing"), std::wstring::npos);
    }
}

TEST(FormStream, AReferenceOutsideTheFormCannotBeWritten) {
    TForm Form(nullptr);
    Form.SetName(L"Form1");
    auto* Shape = new TTestShape(&Form);
    Shape->SetName(L"Shape1");
    Shape->SetParent(&Form);
    TTestMenu Elsewhere(nullptr);
    Elsewhere.SetName(L"Elsewhere");
    Shape->SetPopupMenu(&Elsewhere);
    TMemoryStream Stream;
    EXPECT_THROW(WriteComponentToStream(Stream, Form), EWriteError);
    Shape->SetPopupMenu(nullptr);
}

TEST(FormStream, APropertyPublishedAgainIsWrittenOnceWithTheDescendantsDefault) {
    RegisterTestControls();
    TForm Form(nullptr);
    Form.SetName(L"Form1");
    auto* Panel = new TTestTabPanel(&Form);
    Panel->SetName(L"Panel1");
    Panel->SetParent(&Form);
    EXPECT_EQ(TextForm(Form).find("TabStop"), std::string::npos) << "true is this class's default";
    Panel->SetTabStop(false);
    std::string Text = TextForm(Form);
    size_t First = Text.find("TabStop = False");
    ASSERT_NE(First, std::string::npos) << Text;
    EXPECT_EQ(Text.find("TabStop", First + 1), std::string::npos) << Text;
    auto Read = ReadText(Text);
    auto* ReadPanel = dynamic_cast<TTestTabPanel*>(Read->FindComponent(L"Panel1"));
    ASSERT_NE(ReadPanel, nullptr);
    EXPECT_FALSE(ReadPanel->TabStop());
}

class ApplicationTest : public ::testing::Test {
protected:
    TApplication App{nullptr};
};

TEST_F(ApplicationTest, InitialiseSetsUpOleOnThisThreadOnce) {
    App.Initialize();
    EXPECT_TRUE(App.OleInitialized());
    App.Initialize();
    HRESULT Again = OleInitialize(nullptr);
    EXPECT_EQ(Again, S_FALSE) << "OLE is already initialised on this thread";
    if (SUCCEEDED(Again)) OleUninitialize();
    EXPECT_EQ(Application(), &App);
    EXPECT_THROW(TApplication Second(nullptr), EInvalidOperation);
    EXPECT_EQ(Application(), &App);
}

TEST_F(ApplicationTest, RunHandlesMessagesUntilTheMainFormCloses) {
    auto* Form = App.CreateForm<TForm>();
    auto* Second = App.CreateForm<TForm>();
    EXPECT_EQ(App.MainForm(), Form);
    Second->Show();
    PostMessageW(Second->Handle(), WM_CLOSE, 0, 0);
    PostMessageW(Form->Handle(), WM_CLOSE, 0, 0);
    App.Run();
    EXPECT_TRUE(App.Terminated());
    EXPECT_FALSE(Second->Visible());
    EXPECT_FALSE(Form->Visible());
}

TEST_F(ApplicationTest, ExceptionsFromHandlersGoToOnException) {
    TFormEvents Events;
    App.OnException = TExceptionEvent::Bind<&TFormEvents::Error>(&Events);
    auto* Form = App.CreateForm<TForm>();
    auto* Panel = new TTestPanel(Form);
    Panel->SetBounds(0, 0, 50, 50);
    Panel->SetParent(Form);
    Panel->OnClick = TNotifyEvent::Bind<&TFormEvents::Fail>(&Events);
    Form->Show();
    PostMessageW(Panel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(5, 5));
    PostMessageW(Panel->Handle(), WM_LBUTTONUP, 0, PointToLParam(5, 5));
    App.ProcessMessages();
    EXPECT_EQ(Events.Errors, (std::vector<std::string>{"click failed"}));
}

TEST_F(ApplicationTest, FreeingTheMainFormForgetsIt) {
    auto* Form = App.CreateForm<TForm>();
    delete Form;
    EXPECT_EQ(App.MainForm(), nullptr);
    App.Terminate();
    App.Run();
    EXPECT_TRUE(App.Terminated());
}
