// Scripting both ways: the scriptable object's methods and property on a playing movie, and the
// movie's calls out to the host (FSCommand through NPN_Invoke, ExternalInterface through
// NPN_Evaluate), from its own scripts and from the test controls.
#include "log_text.h"
#include "hosted_instance.h"
#include "test_movies.h"

#include <gtest/gtest.h>

using namespace zn::np;

namespace zn::test {
namespace {

class ScriptingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        library.browser.Reset();
        library.TakeLog();
    }

    void Release(NPVariant& value) { library.browserTable.releasevariantvalue(&value); }

    std::string StringResult(const char* method, const std::vector<NPVariant>& args)
    {
        NPVariant result = instance.InvokeOrFail(method, args);
        EXPECT_EQ(result.type, NPVariantType_String) << method;
        std::string text = VariantString(result);
        Release(result);
        return text;
    }

    PluginLibrary& library = PluginLibrary::Get();
    HostedInstance instance{100, 50};
};

TEST_F(ScriptingTest, TheMoviesFSCommandReachesTheWindowObject)
{
    instance.Deliver(ScriptedMovie(), "scripted.swf", nullptr);
    ASSERT_EQ(library.browser.invokes.size(), 1u);
    const InvokeSeen& call = library.browser.invokes[0];
    EXPECT_EQ(call.instance, instance.Npp());
    EXPECT_EQ(call.object, &library.browser.windowObject);
    EXPECT_EQ(call.method, "_DoFSCommand");
    EXPECT_EQ(call.stringArgs, (std::vector<std::string>{"quit", "true"}));
    // Every window object the plug-in asked for was released again.
    EXPECT_EQ(library.browser.windowObject.referenceCount, 1u);
}

TEST_F(ScriptingTest, TheMoviesExternalCallIsEvaluatedAndItsAnswerKept)
{
    library.browser.evaluateAnswer = "<string>from host</string>";
    instance.Deliver(ScriptedMovie(), "scripted.swf", nullptr);
    ASSERT_EQ(library.browser.evaluations.size(), 1u);
    EXPECT_EQ(library.browser.evaluations[0].script,
              "try { __flash__toXML(hostFunction(\"a\",2)) ; } catch (e) { \"<undefined/>\"; }");
    EXPECT_EQ(library.browser.evaluations[0].object, &library.browser.windowObject);
    EXPECT_EQ(StringResult("GetVariable", {StringVariant("answer")}), "from host");
}

TEST_F(ScriptingTest, CallFunctionAnswersFromTheMoviesCallback)
{
    instance.Deliver(ScriptedMovie(), "scripted.swf", nullptr);
    std::string request = "<invoke name=\"echo\" "
                          "returntype=\"xml\"><arguments><string>hi</string></arguments></invoke>";
    EXPECT_EQ(StringResult("CallFunction", {StringVariant(request)}), "<string>echo:hi</string>");
    std::string unknown =
        "<invoke name=\"nobody\" returntype=\"xml\"><arguments></arguments></invoke>";
    EXPECT_EQ(StringResult("CallFunction", {StringVariant(unknown)}), "<undefined/>");
    EXPECT_EQ(StringResult("CallFunction", {StringVariant("not xml")}), "<undefined/>");
}

TEST_F(ScriptingTest, VariablesAreReadAndWritten)
{
    instance.Deliver(ScriptedMovie(), "scripted.swf", nullptr);
    EXPECT_EQ(StringResult("GetVariable", {StringVariant("greeting")}), "hello");
    instance.InvokeOrFail("SetVariable", {StringVariant("greeting"), StringVariant("bye")});
    EXPECT_EQ(StringResult("GetVariable", {StringVariant("greeting")}), "bye");
    instance.InvokeOrFail("SetVariable", {StringVariant("count"), IntegerVariant(3)});
    EXPECT_EQ(StringResult("GetVariable", {StringVariant("count")}), "3");
    instance.InvokeOrFail("SetVariable", {StringVariant("ratio"), DoubleVariant(0.25)});
    EXPECT_EQ(StringResult("GetVariable", {StringVariant("ratio")}), "0.25");
    NPVariant missing = instance.InvokeOrFail("GetVariable", {StringVariant("nothing.here")});
    EXPECT_EQ(missing.type, NPVariantType_Null);
}

TEST_F(ScriptingTest, PlaybackMethodsMoveThroughTheTimeline)
{
    instance.Deliver(SemiTransparentMovie(), "movie.swf", nullptr);
    EXPECT_EQ(instance.InvokeOrFail("TotalFrames").value.intValue, 2);
    EXPECT_EQ(instance.InvokeOrFail("CurrentFrame").value.intValue, 0);
    EXPECT_FALSE(instance.InvokeOrFail("IsPlaying").value.boolValue); // its first frame stops
    instance.InvokeOrFail("GotoFrame", {IntegerVariant(1)});
    EXPECT_EQ(instance.InvokeOrFail("CurrentFrame").value.intValue, 1);
    instance.InvokeOrFail("Back");
    EXPECT_EQ(instance.InvokeOrFail("CurrentFrame").value.intValue, 0);
    instance.InvokeOrFail("Forward");
    EXPECT_EQ(instance.InvokeOrFail("CurrentFrame").value.intValue, 1);
    instance.InvokeOrFail("Rewind");
    EXPECT_EQ(instance.InvokeOrFail("CurrentFrame").value.intValue, 0);
    instance.InvokeOrFail("Play");
    EXPECT_TRUE(instance.InvokeOrFail("IsPlaying").value.boolValue);
    instance.InvokeOrFail("StopPlay");
    EXPECT_FALSE(instance.InvokeOrFail("IsPlaying").value.boolValue);
    instance.InvokeOrFail("GotoFrame", {DoubleVariant(1.0)});
    EXPECT_EQ(instance.InvokeOrFail("CurrentFrame").value.intValue, 1);
}

TEST_F(ScriptingTest, TheLoopPropertyAndGetLoopAgree)
{
    NPObject* object = instance.Object();
    NPIdentifier loop = library.browserTable.getstringidentifier("Loop");
    EXPECT_TRUE(object->_class->hasProperty(object, loop));
    NPVariant value{};
    value.type = NPVariantType_Bool;
    value.value.boolValue = false;
    EXPECT_TRUE(object->_class->setProperty(object, loop, &value));
    EXPECT_FALSE(instance.InvokeOrFail("GetLoop").value.boolValue);
    NPVariant read{};
    EXPECT_TRUE(object->_class->getProperty(object, loop, &read));
    EXPECT_EQ(read.type, NPVariantType_Bool);
    EXPECT_FALSE(read.value.boolValue);
    // The setting made before the movie came stays with it.
    instance.Deliver(SemiTransparentMovie(), "movie.swf", nullptr);
    EXPECT_FALSE(instance.InvokeOrFail("GetLoop").value.boolValue);
    auto log = library.TakeLog();
    std::string npp = HexAddress(instance.Npp());
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "NPObject.SetProperty npp=" + npp + " name=\"Loop\" value=(false)"),
              log.end());
}

TEST_F(ScriptingTest, MethodsAreKnownByNameAndRefuseWrongArguments)
{
    NPObject* object = instance.Object();
    for (const char* name :
         {"LoadMovie", "Play", "StopPlay", "Rewind", "Forward", "Back", "GetLoop", "IsPlaying",
          "CurrentFrame", "TotalFrames", "GotoFrame", "GetVariable", "SetVariable", "CallFunction"})
        EXPECT_TRUE(
            object->_class->hasMethod(object, library.browserTable.getstringidentifier(name)))
            << name;
    EXPECT_FALSE(
        object->_class->hasMethod(object, library.browserTable.getstringidentifier("Format")));
    NPVariant result{};
    EXPECT_FALSE(instance.Invoke("Format", {}, result));
    EXPECT_FALSE(instance.Invoke("Play", {IntegerVariant(1)}, result));
    EXPECT_FALSE(instance.Invoke("GotoFrame", {StringVariant("one")}, result));
    EXPECT_FALSE(instance.Invoke("GetVariable", {IntegerVariant(1)}, result));
    EXPECT_FALSE(instance.Invoke("CallFunction", {}, result));
    EXPECT_FALSE(object->_class->invoke(
        object, library.browserTable.getstringidentifier("GotoFrame"), nullptr, 1, &result));
    EXPECT_FALSE(object->_class->invoke(object, nullptr, nullptr, 0, &result));
}

TEST_F(ScriptingTest, InvokesAreLoggedWithTheirArguments)
{
    instance.InvokeOrFail("GotoFrame", {IntegerVariant(10)});
    EXPECT_EQ(library.TakeLog(),
              std::vector<std::string>{"NPObject.Invoke npp=" + HexAddress(instance.Npp()) +
                                       " method=\"GotoFrame\" args=(10)"});
}

TEST_F(ScriptingTest, TestsCanCallOutWithAnFSCommand)
{
    EXPECT_EQ(library.controls.FSCommand(instance.Npp(), "volume", "50"), NPERR_NO_ERROR);
    ASSERT_EQ(library.browser.invokes.size(), 1u);
    EXPECT_EQ(library.browser.invokes[0].method, "_DoFSCommand");
    EXPECT_EQ(library.browser.invokes[0].stringArgs, (std::vector<std::string>{"volume", "50"}));
    EXPECT_EQ(library.controls.FSCommand(instance.Npp(), nullptr, "50"), NPERR_INVALID_PARAM);
}

TEST_F(ScriptingTest, TestsCanCallOutWithAnExternalCall)
{
    ZnNpArgument args[] = {{"a \"quoted\" text", 0}, {"2.5", 1}};
    char answer[64];
    std::int32_t length =
        library.controls.ExternalCall(instance.Npp(), "fn", args, 2, answer, sizeof answer);
    ASSERT_EQ(length, 25);
    EXPECT_STREQ(answer, "<string>answered</string>");
    ASSERT_EQ(library.browser.evaluations.size(), 1u);
    EXPECT_EQ(library.browser.evaluations[0].script,
              "try { __flash__toXML(fn(\"a \\\"quoted\\\" text\",2.5)) ; } catch (e) { "
              "\"<undefined/>\"; }");
    ZnNpArgument not_a_number[] = {{"2x", 1}};
    EXPECT_EQ(
        library.controls.ExternalCall(instance.Npp(), "fn", not_a_number, 1, answer, sizeof answer),
        -1);
    EXPECT_EQ(
        library.controls.ExternalCall(instance.Npp(), "fn", nullptr, 1, answer, sizeof answer), -1);
}

TEST_F(ScriptingTest, AnExternalCallTheBrowserCannotEvaluateIsUndefined)
{
    library.browser.evaluateAnswer.reset();
    char answer[64];
    EXPECT_EQ(
        library.controls.ExternalCall(instance.Npp(), "fn", nullptr, 0, answer, sizeof answer), 12);
    EXPECT_STREQ(answer, "<undefined/>");
    char small[4] = "abc";
    EXPECT_EQ(library.controls.ExternalCall(instance.Npp(), "fn", nullptr, 0, small, sizeof small),
              12);
    EXPECT_STREQ(small, "abc");
}

TEST_F(ScriptingTest, ACallbackThatCallsTheHostAnswersFromInsideTheHostsCall)
{
    instance.Deliver(ScriptedMovie(), "scripted.swf", nullptr);
    library.browser.evaluations.clear();
    library.browser.evaluateAnswer = "<number>42</number>";
    std::string request = "<invoke name=\"relay\" "
                          "returntype=\"xml\"><arguments><string>q</string></arguments></invoke>";
    EXPECT_EQ(StringResult("CallFunction", {StringVariant(request)}), "<number>42</number>");
    ASSERT_EQ(library.browser.evaluations.size(), 1u);
    EXPECT_EQ(library.browser.evaluations[0].script,
              "try { __flash__toXML(hostFunction(\"q\")) ; } catch (e) { \"<undefined/>\"; }");
}

} // namespace
} // namespace zn::test
