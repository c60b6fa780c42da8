// The COM helpers: reference ownership of TComPtr and the exception boundary of C and COM
// entries, which hands what a body raises to the application and answers with the fallback.
#include "zintara/framework/com.h"

#include "zintara/framework/application.h"
#include "zintara/framework/stream_adapter.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>
#include <string>

using namespace zn;

namespace {

// Counts references and remembers when the last one went.
class TCounted : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Riid, void** Object) override {
        *Object = nullptr;
        if (!IsEqualIID(Riid, IID_IUnknown)) return E_NOINTERFACE;
        *Object = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++References; }
    ULONG STDMETHODCALLTYPE Release() override { return --References; }
    ULONG References = 1;
};

// A stream whose reads fail the way an application's code might, not as a stream error.
class TFailingStream : public TMemoryStream {
public:
    std::size_t Read(void*, std::size_t) override { throw std::runtime_error("read failed"); }
};

struct TRaisingHandler {
    void Handle(TObject*, const std::exception&) {
        ++Calls;
        throw std::runtime_error("handler raised");
    }
    int Calls = 0;
};

// An application object whose exception handler records what reached it.
class ComBoundaryTest : public ::testing::Test {
protected:
    void SetUp() override { App.OnException = TExceptionEvent::Bind<&ComBoundaryTest::Record>(this); }
    void Record(TObject* Sender, const std::exception& E) {
        Senders.push_back(Sender);
        Messages.push_back(E.what());
    }

    TApplication App{nullptr};
    std::vector<TObject*> Senders;
    std::vector<std::string> Messages;
};

} // namespace

TEST(ComPtr, OwnsOneReferenceThroughCopyMoveAttachAndDetach) {
    TCounted Object;
    {
        TComPtr<TCounted> First(&Object);
        EXPECT_EQ(Object.References, 2u);
        TComPtr<TCounted> Copy = First;
        EXPECT_EQ(Object.References, 3u);
        TComPtr<TCounted> Moved = std::move(Copy);
        EXPECT_FALSE(Copy);
        EXPECT_EQ(Object.References, 3u);
        Moved = First;
        EXPECT_EQ(Object.References, 3u);
        TCounted* Detached = Moved.detach();
        EXPECT_EQ(Object.References, 3u);
        Moved.attach(Detached);
        EXPECT_EQ(Object.References, 3u);
    }
    EXPECT_EQ(Object.References, 1u);
}

TEST(ComPtr, PutReleasesWhatItHeldAndQueryFillsAnotherPointer) {
    TCounted Held, Filled;
    TComPtr<TCounted> Pointer(&Held);
    TCounted** Out = Pointer.put();
    EXPECT_EQ(Held.References, 1u);
    EXPECT_EQ(*Out, nullptr);
    *Out = &Filled;
    Filled.AddRef();

    TComPtr<IUnknown> Unknown;
    EXPECT_EQ(Pointer.query(Unknown), S_OK);
    EXPECT_EQ(Unknown.get(), &Filled);
    EXPECT_EQ(Filled.References, 3u);
    TComPtr<IStream> Stream;
    EXPECT_EQ(Pointer.query(Stream), E_NOINTERFACE);
    EXPECT_FALSE(Stream);
    Pointer.reset();
    Unknown.reset();
    EXPECT_EQ(Filled.References, 1u);
    EXPECT_EQ(TComPtr<TCounted>().query(Unknown), E_POINTER);
}

TEST_F(ComBoundaryTest, AnExceptionReachesTheApplicationAndTheCallerGetsTheFallback) {
    TComponent Sender(nullptr);
    const HRESULT Result = ExceptionBoundary<HRESULT>(
        E_UNEXPECTED, []() -> HRESULT { throw std::runtime_error("handler failed"); }, &Sender);
    EXPECT_EQ(Result, E_UNEXPECTED);
    ASSERT_EQ(Messages, std::vector<std::string>{"handler failed"});
    EXPECT_EQ(Senders[0], &Sender);
    EXPECT_EQ(ExceptionBoundary(7, [] { return 3; }), 3);
    EXPECT_EQ(Messages.size(), 1u);
}

TEST_F(ComBoundaryTest, WhatIsNoStandardExceptionIsReportedAsUnknown) {
    EXPECT_FALSE(ExceptionBoundary(false, []() -> bool { throw 42; }));
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0], "Unknown exception");
}

TEST_F(ComBoundaryTest, AComMethodWhoseBodyThrowsReturnsItsFailureCode) {
    TFailingStream Failing;
    TComPtr<IStream> Com;
    Com.attach(new TStreamAdapter(Failing, TStreamOwnership::soReference));
    char Buffer[4];
    ULONG Done = 9;
    EXPECT_EQ(Com->Read(Buffer, sizeof Buffer, &Done), E_FAIL);
    EXPECT_EQ(Done, 0u);
    EXPECT_EQ(Messages, std::vector<std::string>{"read failed"});
    IStream* Copy = reinterpret_cast<IStream*>(1);
    EXPECT_EQ(Com->Clone(&Copy), E_NOTIMPL);
    EXPECT_EQ(Copy, nullptr);
}

// Without an application object the handler installed directly is the report; one that raises
// itself is contained too.
TEST(ComBoundary, WithoutAnApplicationAHandlerThatRaisesIsContained) {
    ASSERT_EQ(Application(), nullptr);
    TRaisingHandler Handler;
    SetApplicationExceptionHandler(TExceptionEvent::Bind<&TRaisingHandler::Handle>(&Handler));
    const HRESULT Result =
        ExceptionBoundary<HRESULT>(E_FAIL, []() -> HRESULT { throw std::runtime_error("x"); });
    SetApplicationExceptionHandler(nullptr);
    EXPECT_EQ(Result, E_FAIL);
    EXPECT_EQ(Handler.Calls, 1);
}
