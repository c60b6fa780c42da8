// The movie's scripts: FSCommands, ExternalInterface calls and callbacks reaching a recording
// host, variables from outside, and the machine's arithmetic, strings, branches and functions.
#include <gtest/gtest.h>

#include "sample_movies.h"
#include "test_support.h"
#include "znswf/action_assembler.h"
#include "znswf/movie_writer.h"

namespace zn::swf {
namespace {

using test::RecordingHost;

std::vector<uint8_t> OneFrameMovie(const ActionAssembler& script, uint8_t version = 8)
{
    MovieWriter writer(100, 100, 12, version);
    writer.DoAction(script.Assemble()).ShowFrame();
    return writer.Finish();
}

struct Script : testing::Test {
    void Run(const ActionAssembler& script, uint8_t version = 8)
    {
        player.Load(OneFrameMovie(script, version));
    }
    std::string Variable(const char* path)
    {
        return player.GetVariable(path).value_or("<undefined>");
    }
    RecordingHost host;
    MoviePlayer player{host};
};

TEST_F(Script, SampleCallsOutWithItsArgumentsAndKeepsTheAnswer)
{
    host.answer = "<string>welcome</string>";
    player.Load(samples::SampleMovie());
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].name, "movieReady");
    EXPECT_EQ(host.calls[0].arguments, (std::vector<ExternalValue>{ExternalValue::String("sample"),
                                                                   ExternalValue::Number(1)}));
    EXPECT_EQ(Variable("readyAnswer"), "welcome");
    EXPECT_EQ(Variable("flv.volume"), "50");
    EXPECT_EQ(Variable("_root.flv.volume"), "50");
}

TEST_F(Script, SampleFSCommandsReachTheHost)
{
    player.Load(samples::SampleMovie());
    for (int i = 0; i < samples::SampleFrames; ++i)
        player.Advance();
    EXPECT_EQ(host.commands, (std::vector<std::pair<std::string, std::string>>{
                                 {"reached", "middle"}, {"reached", "end"}}));
}

TEST_F(Script, SampleCallbacksAnswerInExternalInterfaceXml)
{
    player.Load(samples::SampleMovie());
    EXPECT_EQ(player.CallbackNames(), (std::vector<std::string>{"add", "echo", "seek"}));
    EXPECT_EQ(player.InvokeCallback(
                  "<invoke name=\"echo\" "
                  "returntype=\"xml\"><arguments><string>hi</string></arguments></invoke>"),
              "<string>echo:hi</string>");
    EXPECT_EQ(player.InvokeCallback(
                  "<invoke name=\"add\" returntype=\"xml\"><arguments><number>2</number>"
                  "<number>3.5</number></arguments></invoke>"),
              "<number>5.5</number>");
    // Hosts pass every argument as a string: then add concatenates, as the movie's language does.
    EXPECT_EQ(player.InvokeCallback(
                  "<invoke name=\"add\" returntype=\"XML\"><arguments><string>2</string>"
                  "<string>3</string></arguments></invoke>"),
              "<string>23</string>");
    EXPECT_EQ(player.InvokeCallback(
                  "<invoke name=\"seek\" returntype=\"xml\"><arguments><string>middle</string>"
                  "</arguments></invoke>"),
              "<true/>");
    EXPECT_EQ(player.CurrentFrame(), 3);
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(host.commands.size(), 1u); // frame 4's script ran on arrival
}

TEST_F(Script, CallbacksWithoutArgumentsAnswerUndefinedWhenTheyReturnNothing)
{
    ActionAssembler pause;
    pause.SetVariable("paused", true);
    ActionAssembler script;
    script.DefineFunction("pause", {}, pause).AddCallback("stopflv", "pause").Op(Action::Pop);
    Run(script);
    EXPECT_EQ(player.InvokeCallback("<invoke name=\"stopflv\" returntype=\"xml\"></invoke>"),
              "<undefined/>");
    EXPECT_EQ(Variable("paused"), "true");
}

TEST_F(Script, UnknownCallbacksAndBadRequestsGetNoAnswer)
{
    player.Load(samples::SampleMovie());
    EXPECT_FALSE(player.InvokeCallback(
        "<invoke name=\"missing\" returntype=\"xml\"><arguments></arguments></invoke>"));
    EXPECT_FALSE(player.InvokeCallback("not xml"));
    MoviePlayer empty(host);
    EXPECT_FALSE(empty.InvokeCallback("<invoke name=\"echo\" returntype=\"xml\"></invoke>"));
}

TEST_F(Script, VariablesFromOutside)
{
    player.Load(samples::SampleMovie());
    EXPECT_TRUE(player.SetVariable("flv.volume", "80"));
    EXPECT_EQ(Variable("flv.volume"), "80");
    EXPECT_TRUE(player.SetVariable("title", "hello"));
    EXPECT_EQ(Variable("title"), "hello");
    EXPECT_FALSE(player.SetVariable("nothing.here", "x"));
    EXPECT_FALSE(player.GetVariable("nothing.here"));
    EXPECT_FALSE(player.GetVariable("undefinedName"));
    EXPECT_EQ(Variable("_currentframe"), "1");
    EXPECT_EQ(Variable("_totalframes"), "8");
}

TEST_F(Script, GetUrlRequestsFilesAndRaisesFSCommands)
{
    ActionAssembler script;
    script.GetUrl("movie2.swf", "_level0").GetUrl("fscommand:quit", "true");
    script.Push({"page.html", "_blank"}).GetUrl2();
    Run(script);
    EXPECT_EQ(host.requests, (std::vector<std::pair<std::string, std::string>>{
                                 {"movie2.swf", "_level0"}, {"page.html", "_blank"}}));
    EXPECT_EQ(host.commands, (std::vector<std::pair<std::string, std::string>>{{"quit", "true"}}));
}

TEST_F(Script, ArithmeticComparisonAndStrings)
{
    ActionAssembler script;
    script.Push({"sum", 7, 5})
        .Op(Action::Subtract)
        .Push({3})
        .Op(Action::Multiply)
        .Op(Action::SetVariable);
    script.Push({"quotient", 7, 2}).Op(Action::Divide).Op(Action::SetVariable);
    script.Push({"remainder", 7, 3}).Op(Action::Modulo).Op(Action::SetVariable);
    script.Push({"text", "a", 1})
        .Op(Action::Add2)
        .Push({true})
        .Op(Action::Add2)
        .Op(Action::SetVariable);
    script.Push({"less", 2, 10}).Op(Action::Less2).Op(Action::SetVariable);
    script.Push({"lessText", "2", "10"}).Op(Action::Less2).Op(Action::SetVariable);
    script.Push({"equal", "5", 5}).Op(Action::Equals2).Op(Action::SetVariable);
    script.Push({"strict", "5", 5}).Op(Action::StrictEquals).Op(Action::SetVariable);
    script.Push({"bits", 6, 3}).Op(Action::BitXor).Op(Action::SetVariable);
    script.Push({"length", "hello"}).Op(Action::StringLength).Op(Action::SetVariable);
    script.Push({"part", "hello", 2, 3}).Op(Action::StringExtract).Op(Action::SetVariable);
    script.Push({"kind", 1.5}).Op(Action::TypeOf).Op(Action::SetVariable);
    script.Push({"nothing"}).Push({Undefined{}}).Op(Action::ToNumber).Op(Action::SetVariable);
    Run(script);
    EXPECT_EQ(Variable("sum"), "6"); // (7 - 5) * 3
    EXPECT_EQ(Variable("quotient"), "3.5");
    EXPECT_EQ(Variable("remainder"), "1");
    EXPECT_EQ(Variable("text"), "a1true");
    EXPECT_EQ(Variable("less"), "true");
    EXPECT_EQ(Variable("lessText"), "false"); // compared as strings
    EXPECT_EQ(Variable("equal"), "true");
    EXPECT_EQ(Variable("strict"), "false");
    EXPECT_EQ(Variable("bits"), "5");
    EXPECT_EQ(Variable("length"), "5");
    EXPECT_EQ(Variable("part"), "ell");
    EXPECT_EQ(Variable("kind"), "number");
    EXPECT_EQ(Variable("nothing"), "NaN");
}

TEST_F(Script, BranchesLoop)
{
    // i = 0; total = 0; while (i < 10) { i++; total += i; }
    ActionAssembler script;
    auto top = script.NewLabel(), done = script.NewLabel();
    script.SetVariable("i", 0).SetVariable("total", 0);
    script.Bind(top)
        .Push({"i"})
        .Op(Action::GetVariable)
        .Push({10})
        .Op(Action::Less2)
        .Op(Action::Not)
        .If(done);
    script.Push({"i", "i"}).Op(Action::GetVariable).Op(Action::Increment).Op(Action::SetVariable);
    script.Push({"total", "total"})
        .Op(Action::GetVariable)
        .Push({"i"})
        .Op(Action::GetVariable)
        .Op(Action::Add2);
    script.Op(Action::SetVariable).Jump(top).Bind(done);
    Run(script);
    EXPECT_EQ(Variable("total"), "55");
}

TEST_F(Script, RecursiveFunctionsWithRegistersAndLocals)
{
    // function factorial(n) { if (n <= 1) return 1; return n * factorial(n - 1); } with n in register 1
    ActionAssembler body;
    auto recurse = body.NewLabel();
    body.Push({Register{1}, 1}).Op(Action::Greater).If(recurse).Push({1}).Op(Action::Return);
    body.Bind(recurse)
        .Push({Register{1}, Register{1}, 1})
        .Op(Action::Subtract)
        .Push({1, "factorial"});
    body.Op(Action::CallFunction).Op(Action::Multiply).Op(Action::Return);
    ActionAssembler script;
    script.DefineFunction2("factorial", {{"n", 1}}, 2, function_flags::SuppressArguments, body);
    script.Push({"result", 5, 1, "factorial"}).Op(Action::CallFunction).Op(Action::SetVariable);
    // A DefineFunction local does not leak onto the timeline.
    ActionAssembler local;
    local.Push({"inner", "x"})
        .Op(Action::GetVariable)
        .Op(Action::DefineLocal)
        .Push({"inner"})
        .Op(Action::GetVariable);
    local.Op(Action::Return);
    script.DefineFunction("withLocal", {"x"}, local);
    script.Push({"localResult", "seen", 1, "withLocal"})
        .Op(Action::CallFunction)
        .Op(Action::SetVariable);
    Run(script);
    EXPECT_EQ(Variable("result"), "120");
    EXPECT_EQ(Variable("localResult"), "seen");
    EXPECT_FALSE(player.GetVariable("inner"));
}

TEST_F(Script, ObjectsArraysAndConstants)
{
    ActionAssembler script;
    script.ConstantPool({"point", "x", "y"});
    script.Push({Constant{0}, Constant{1}, 3, Constant{2}, 4, 2})
        .Op(Action::InitObject)
        .Op(Action::SetVariable);
    script.Push({"list", "c", "b", "a", 3}).Op(Action::InitArray).Op(Action::SetVariable);
    script.Push({"count", "list"}).Op(Action::GetVariable).Push({"length"}).Op(Action::GetMember);
    script.Op(Action::SetVariable);
    script.Push({"point.z", 5}).Op(Action::SetVariable);
    Run(script);
    EXPECT_EQ(Variable("point.x"), "3");
    EXPECT_EQ(Variable("point.y"), "4");
    EXPECT_EQ(Variable("point.z"), "5");
    EXPECT_EQ(Variable("list"), "a,b,c");
    EXPECT_EQ(Variable("list.1"), "b");
    EXPECT_EQ(Variable("count"), "3");
}

TEST_F(Script, ExternalCallsPassEveryValueType)
{
    host.answer = "<number>42</number>";
    ActionAssembler script;
    script.CallExternal("report", {"text", 2.5, true, Null{}, Undefined{}});
    script.Push({"answer"}).Op(Action::StackSwap).Op(Action::SetVariable);
    Run(script);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].name, "report");
    EXPECT_EQ(host.calls[0].arguments,
              (std::vector<ExternalValue>{ExternalValue::String("text"), ExternalValue::Number(2.5),
                                          ExternalValue::Boolean(true), ExternalValue::Null(),
                                          ExternalValue::Undefined()}));
    EXPECT_EQ(Variable("answer"), "42");
}

TEST_F(Script, HostsMayCallBackIntoThePlayerFromACallout)
{
    // The host answers the movie's call by invoking the movie's own callback.
    host.onCall = [&](const std::string&, const std::vector<ExternalValue>&) {
        return player
            .InvokeCallback(
                "<invoke name=\"echo\" returntype=\"xml\"><arguments><string>inner</string>"
                "</arguments></invoke>")
            .value_or("");
    };
    ActionAssembler echo;
    echo.Push({"echo:", "text"}).Op(Action::GetVariable).Op(Action::Add2).Op(Action::Return);
    ActionAssembler script;
    script.DefineFunction("echo", {"text"}, echo).AddCallback("echo", "echo").Op(Action::Pop);
    script.CallExternal("outer", {}).Push({"answer"}).Op(Action::StackSwap).Op(Action::SetVariable);
    Run(script);
    EXPECT_EQ(Variable("answer"), "echo:inner");
}

TEST_F(Script, FSCommandHandlersMayDriveThePlayer)
{
    host.onFSCommand = [&](const std::string&, const std::string&) { player.GotoFrame(2); };
    MovieWriter writer(100, 100, 12);
    writer.DoAction(ActionAssembler().FSCommand("go", "").Assemble()).ShowFrame().ShowFrame();
    writer.DoAction(ActionAssembler().Stop().SetVariable("arrived", true).Assemble()).ShowFrame();
    player.Load(writer.Finish());
    EXPECT_EQ(player.CurrentFrame(), 2);
    EXPECT_EQ(Variable("arrived"), "true");
    EXPECT_FALSE(player.IsPlaying());
}

TEST_F(Script, AMovieLoadedFromInsideACalloutReplacesTheRunningOne)
{
    std::vector<uint8_t> sample = samples::SampleMovie();
    host.onFSCommand = [&](const std::string& command, const std::string&) {
        if (command == "load")
            player.Load(sample);
    };
    ActionAssembler script;
    script.FSCommand("load", "").SetVariable("after", "old movie");
    Run(script);
    EXPECT_EQ(player.TotalFrames(), samples::SampleFrames);
    EXPECT_EQ(Variable("flv.volume"), "50"); // the new movie's first frame ran
    EXPECT_FALSE(player.GetVariable("after"));
    EXPECT_EQ(host.calls.size(), 1u);
}

TEST_F(Script, VersionSixAndSevenConvertUndefinedDifferently)
{
    ActionAssembler script;
    script.Push({"text", "x"}).Push({Undefined{}}).Op(Action::Add2).Op(Action::SetVariable);
    Run(script, 6);
    EXPECT_EQ(Variable("text"), "x");
    Run(script, 7);
    EXPECT_EQ(Variable("text"), "xundefined");
}

} // namespace
} // namespace zn::swf
