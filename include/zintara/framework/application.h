// TApplication: the program's user-interface thread, its OLE initialisation, its forms, its
// message loop and where exceptions raised while handling messages end up.
//
//   int main() {
//       TApplication App(nullptr);
//       App.Initialize();
//       auto* Form = App.CreateForm<TMainForm>();
//       App.Run();
//   }
#pragma once

#include "zintara/framework/controls.h"
#include "zintara/framework/forms.h"

#include <string>

namespace zn {

class TApplication : public TComponent {
public:
    // One application object exists at a time; it becomes the one Application() returns and
    // takes the framework's exceptions (HandleApplicationException). A second raises
    // EInvalidOperation.
    explicit TApplication(TComponent* AOwner);
    // Frees the forms it owns, then undoes the OLE initialisation.
    ~TApplication() override;

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    // Initialises OLE on the calling thread, which becomes the user-interface thread; doing it
    // again does nothing. Raises EInvalidOperation when the thread already uses the
    // multithreaded COM apartment.
    void Initialize();
    bool OleInitialized() const { return FOleInitialized; }

    // Makes a form owned by the application; the first one made becomes the main form.
    template <class TFormClass>
    TFormClass* CreateForm()
    {
        auto* form = new TFormClass(this);
        if (!FMainForm)
            FMainForm = form;
        return form;
    }
    TCustomForm* MainForm() const { return FMainForm; }

    // Shows the main form and handles messages until Terminate (or the main form closes).
    void Run();
    // Handles the messages waiting in the queue, then returns.
    void ProcessMessages();
    // Handles one message, waiting for one when none is queued.
    void HandleMessage();
    // Ends Run once the message being handled is done.
    void Terminate();
    bool Terminated() const { return FTerminated; }

    // OnException when assigned, else the message goes to the debugger output.
    void HandleException(TObject* Sender, const std::exception& E);
    TExceptionEvent OnException;

    const std::wstring& Title() const { return FTitle; }
    void SetTitle(const std::wstring& Value) { FTitle = Value; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool ProcessMessage();

    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    bool FOleInitialized = false;
    std::wstring FTitle;
};

// The application object alive now, null when there is none.
TApplication* Application();

} // namespace zn
