// The check movies' scripts, assembled action by action: the engine's assembler has no
// compiler, so each statement is spelled out as the stack operations it compiles to.
#include "check_movies.h"

#include "znswf/action_assembler.h"
#include "znswf/flv.h"
#include "znswf/movie_writer.h"

namespace zn::test {
namespace {

using swf::Action;
using swf::ActionAssembler;
using swf::Null;

constexpr uint16_t VideoCharacter = 1;

// object.method(arguments...) with the object in a variable, the result dropped.
void CallOn(ActionAssembler& code, const std::string& object, const std::string& method,
            std::initializer_list<swf::PushValue> arguments)
{
    for (auto it = arguments.end(); it != arguments.begin();)
        code.Push({*--it});
    code.Push({static_cast<int>(arguments.size()), object}).Op(Action::GetVariable);
    code.Push({method}).Op(Action::CallMethod).Op(Action::Pop);
}

ActionAssembler PauseBody(bool pause)
{
    ActionAssembler body;
    CallOn(body, "ns", "pause", {pause});
    return body;
}

std::vector<uint8_t> VideoScript()
{
    ActionAssembler script;
    script.Push({"nc", 0, "NetConnection"}).Op(Action::NewObject).Op(Action::SetVariable);
    CallOn(script, "nc", "connect", {Null{}});
    script.Push({"ns", "nc"}).Op(Action::GetVariable);
    script.Push({1, "NetStream"}).Op(Action::NewObject).Op(Action::SetVariable);

    ActionAssembler status; // ExternalInterface.call("streamStatus", info.code)
    status.Push({"info"}).Op(Action::GetVariable).Push({"code"}).Op(Action::GetMember);
    status.Push({"streamStatus", 2}).PushExternalInterface();
    status.Push({"call"}).Op(Action::CallMethod).Op(Action::Pop);
    script.Push({"ns"}).Op(Action::GetVariable).Push({"onStatus"});
    script.DefineFunction("", {"info"}, status).Op(Action::SetMember);

    // ExternalInterface.call("metaData", info.duration, info.width, info.height, info.framerate)
    ActionAssembler metadata;
    for (const char* name : {"framerate", "height", "width", "duration"})
        metadata.Push({"info"}).Op(Action::GetVariable).Push({name}).Op(Action::GetMember);
    metadata.Push({"metaData", 5}).PushExternalInterface();
    metadata.Push({"call"}).Op(Action::CallMethod).Op(Action::Pop);
    script.Push({"ns"}).Op(Action::GetVariable).Push({"onMetaData"});
    script.DefineFunction("", {"info"}, metadata).Op(Action::SetMember);

    script.Push({"ns"}).Op(Action::GetVariable);
    script.Push({1, "video"}).Op(Action::GetVariable);
    script.Push({"attachVideo"}).Op(Action::CallMethod).Op(Action::Pop);

    ActionAssembler time;
    time.Push({"ns"}).Op(Action::GetVariable).Push({"time"}).Op(Action::GetMember);
    time.Op(Action::Return);
    script.DefineFunction("stopflv", {}, PauseBody(true));
    script.DefineFunction("playflv", {}, PauseBody(false));
    script.DefineFunction("streamTime", {}, time);
    for (const char* name : {"stopflv", "playflv", "streamTime"})
        script.AddCallback(name, name).Op(Action::Pop);

    CallOn(script, "ns", "play", {"sample.flv"});
    script.CallExternal("movieReady", {}).Op(Action::Pop);
    script.Stop();
    return script.Assemble();
}

// _level1.flv.<name> = value
void SetPlaybackProperty(ActionAssembler& code, const std::string& name,
                         const swf::PushValue& value)
{
    code.Push({"_level1"}).Op(Action::GetVariable).Push({"flv"}).Op(Action::GetMember);
    code.Push({name, value}).Op(Action::SetMember);
}

// Frame 3: until the playback movie has wired its default skin go back to frame 2, then hand
// it its settings and stop. Waiting keeps two loads into the skin clip from overlapping: the
// independent player keeps whichever arrives last, not the one asked for last.
std::vector<uint8_t> SettingsScript(const std::string& skin)
{
    ActionAssembler script;
    ActionAssembler::Label wait = script.NewLabel();
    script.Push({"_level1"}).Op(Action::GetVariable);
    for (const char* member : {"flv", "skin_mc", "playButton", "onRelease"})
        script.Push({member}).Op(Action::GetMember);
    script.Push({swf::Undefined{}}).Op(Action::Equals2).If(wait);
    SetPlaybackProperty(script, "skin", skin);
    SetPlaybackProperty(script, "volume", 80);
    SetPlaybackProperty(script, "contentPath", "sample.flv");
    script.CallExternal("hostReady", {}).Op(Action::Pop).Stop();
    ActionAssembler::Label end = script.NewLabel();
    script.Jump(end).Bind(wait).GotoFrame(1).Play().Bind(end);
    return script.Assemble();
}

} // namespace

std::vector<uint8_t> VideoCheckMovie()
{
    swf::MovieWriter movie(320, 240, 12);
    movie.SetBackgroundColor({40, 40, 40, 255});
    swf::VideoDefinition video;
    video.id = VideoCharacter;
    video.frameCount = 120;
    video.width = 320;
    video.height = 240;
    video.codec = swf::ScreenVideoCodec;
    movie.DefineVideoStream(video);
    swf::PlaceCommand place;
    place.character = VideoCharacter;
    place.depth = 1;
    place.name = "video";
    place.matrix = swf::Matrix{};
    movie.Place(place);
    movie.DoAction(VideoScript());
    movie.ShowFrame();
    return movie.Finish();
}

std::vector<uint8_t> PlaybackHostMovie(const std::string& skin)
{
    swf::MovieWriter movie(550, 400, 12);
    movie.SetBackgroundColor({0, 0, 0, 255});
    ActionAssembler load;
    load.GetUrl("flvplayback.swf", "_level1");
    movie.DoAction(load.Assemble()).ShowFrame();
    movie.ShowFrame();
    movie.DoAction(SettingsScript(skin)).ShowFrame();
    return movie.Finish();
}

} // namespace zn::test
