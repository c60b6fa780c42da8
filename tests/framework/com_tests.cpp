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
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Riid, void** Object) override
    {
        *Object = nullptr;
        if (!IsEqualIID(Riid, IID_IUnknown))
            return E_NOINTERFACE;
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
    void Handle(TObject*, const std::exception&)
    {
        ++Calls;
        throw std::runtime_error("handler raised");
    }
    int Calls = 0;
};

// An application object whose exception handler records what reached it.
class ComBoundaryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        App.OnException = TExceptionEvent::Bind<&ComBoundaryTest::Record>(this);
    }
    void Record(TObject* Sender, const std::exception& E)
    {
        Senders.push_back(Sender);
        Messages.push_back(E.what());
    }

    TApplication App{nullptr};
    std::vector<TObject*> Senders;
    std::vector<std::string> Messages;
};

} // namespace

TEST(ComPtr, OwnsOneReferenceThroughCopyMoveAttachAndDetach)
{
    TCounted object;
    {
        TComPtr<TCounted> first(&object);
        EXPECT_EQ(object.References, 2u);
        TComPtr<TCounted> copy = first;
        EXPECT_EQ(object.References, 3u);
        TComPtr<TCounted> moved = std::move(copy);
        EXPECT_FALSE(copy);
        EXPECT_EQ(object.References, 3u);
        moved = first;
        EXPECT_EQ(object.References, 3u);
        TCounted* detached = moved.detach();
        EXPECT_EQ(object.References, 3u);
        moved.attach(detached);
        EXPECT_EQ(object.References, 3u);
    }
    EXPECT_EQ(object.References, 1u);
}

TEST(ComPtr, PutReleasesWhatItHeldAndQueryFillsAnotherPointer)
{
    TCounted held, filled;
    TComPtr<TCounted> pointer(&held);
    TCounted** out = pointer.put();
    EXPECT_EQ(held.References, 1u);
    EXPECT_EQ(*out, nullptr);
    *out = &filled;
    filled.AddRef();

    TComPtr<IUnknown> unknown;
    EXPECT_EQ(pointer.query(unknown), S_OK);
    EXPECT_EQ(unknown.get(), &filled);
    EXPECT_EQ(filled.References, 3u);
    TComPtr<IStream> stream;
    EXPECT_EQ(pointer.query(stream), E_NOINTERFACE);
    EXPECT_FALSE(stream);
    pointer.reset();
    unknown.reset();
    EXPECT_EQ(filled.References, 1u);
    EXPECT_EQ(TComPtr<TCounted>().query(unknown), E_POINTER);
}

TEST_F(ComBoundaryTest, AnExceptionReachesTheApplicationAndTheCallerGetsTheFallback)
{
    TComponent sender(nullptr);
    const HRESULT result = ExceptionBoundary<HRESULT>(
        E_UNEXPECTED, []() -> HRESULT { throw std::runtime_error("handler failed"); }, &sender);
    EXPECT_EQ(result, E_UNEXPECTED);
    ASSERT_EQ(Messages, std::vector<std::string>{"handler failed"});
    EXPECT_EQ(Senders[0], &sender);
    EXPECT_EQ(ExceptionBoundary(7, [] { return 3; }), 3);
    EXPECT_EQ(Messages.size(), 1u);
}

TEST_F(ComBoundaryTest, WhatIsNoStandardExceptionIsReportedAsUnknown)
{
    EXPECT_FALSE(ExceptionBoundary(false, []() -> bool { throw 42; }));
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0], "Unknown exception");
}

TEST_F(ComBoundaryTest, AComMethodWhoseBodyThrowsReturnsItsFailureCode)
{
    TFailingStream failing;
    TComPtr<IStream> com;
    com.attach(new TStreamAdapter(failing, TStreamOwnership::soReference));
    char buffer[4];
    ULONG done = 9;
    EXPECT_EQ(com->Read(buffer, sizeof buffer, &done), E_FAIL);
    EXPECT_EQ(done, 0u);
    EXPECT_EQ(Messages, std::vector<std::string>{"read failed"});
    IStream* copy = reinterpret_cast<IStream*>(1);
    EXPECT_EQ(com->Clone(&copy), E_NOTIMPL);
    EXPECT_EQ(copy, nullptr);
}

// Without an application object the handler installed directly is the report; one that raises
// itself is contained too.
TEST(ComBoundary, WithoutAnApplicationAHandlerThatRaisesIsContained)
{
    ASSERT_EQ(Application(), nullptr);
    TRaisingHandler handler;
    SetApplicationExceptionHandler(TExceptionEvent::Bind<&TRaisingHandler::Handle>(&handler));
    const HRESULT result =
        ExceptionBoundary<HRESULT>(E_FAIL, []() -> HRESULT { throw std::runtime_error("x"); });
    SetApplicationExceptionHandler(nullptr);
    EXPECT_EQ(result, E_FAIL);
    EXPECT_EQ(handler.Calls, 1);
}
