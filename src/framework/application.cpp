// TApplication: OLE on the user-interface thread, the message loop, termination and the
// handling of exceptions that reach a window procedure.
#include "zintara/framework/application.h"

#include "debug_output.h"
#include "zintara/framework/exceptions.h"

#include <ole2.h>

namespace zn {

namespace {

TApplication*& Current()
{
    static TApplication* instance = nullptr;
    return instance;
}

} // namespace

TApplication* Application()
{
    return Current();
}

const TClassInfo& TApplication::ClassInfo()
{
    static const TClassInfo info = DeclareClass<TApplication, TComponent>(L"TApplication");
    return info;
}
const TClassInfo& TApplication::ClassType() const
{
    return ClassInfo();
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner)
{
    if (Current())
        throw EInvalidOperation(L"An application object exists already");
    Current() = this;
    SetApplicationExceptionHandler(TExceptionEvent::Bind<&TApplication::HandleException>(this));
}

TApplication::~TApplication()
{
    Destroying();
    DestroyComponents();
    SetApplicationExceptionHandler(nullptr);
    if (FOleInitialized)
        OleUninitialize();
    Current() = nullptr;
}

void TApplication::Initialize()
{
    if (FOleInitialized)
        return;
    HRESULT result = OleInitialize(nullptr);
    if (result == RPC_E_CHANGED_MODE)
        throw EInvalidOperation(
            L"OLE cannot be initialised: this thread is in the multithreaded apartment");
    if (FAILED(result))
        throw EInvalidOperation(L"OLE cannot be initialised: " +
                                SystemErrorMessage(static_cast<unsigned long>(result)));
    FOleInitialized = true;
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FMainForm)
        FMainForm = nullptr;
}

bool TApplication::ProcessMessage()
{
    MSG message;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (message.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return true;
}

void TApplication::ProcessMessages()
{
    while (ProcessMessage()) {
    }
}

void TApplication::HandleMessage()
{
    if (!ProcessMessage())
        WaitMessage();
}

void TApplication::Run()
{
    if (FMainForm)
        FMainForm->Show();
    while (!FTerminated) {
        try {
            HandleMessage();
        } catch (const std::exception& e) {
            HandleException(this, e);
        }
    }
}

void TApplication::Terminate()
{
    FTerminated = true;
    // Wakes a HandleMessage waiting for input. A quit message would outlive this application
    // object in the thread's queue.
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

void TApplication::HandleException(TObject* Sender, const std::exception& E)
{
    if (!OnException) {
        WriteExceptionToDebugger(E);
        return;
    }
    // Called from window procedures, which nothing may leave by an exception.
    try {
        OnException(Sender, E);
    } catch (const std::exception& inner) {
        WriteExceptionToDebugger(inner);
    } catch (...) {
        WriteExceptionToDebugger(E);
    }
}

} // namespace zn
