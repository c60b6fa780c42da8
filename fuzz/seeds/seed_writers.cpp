// The seeds of the targets on text and on movies (see seed_writers.h).
#include "seed_writers.h"

#include "form_components.h"
#include "form_support.h"
#include "sample_movies.h"
#include "sample_video.h"
#include "zintara/core/flash_list.h"
#include "builtin_movies.h"
#include "znswf/external_interface.h"
#include "znswf/flv_writer.h"

#include "zintara/framework/data_module.h"
#include "zintara/framework/filer.h"

#include <cstdint>
#include <memory>

namespace zn::fuzz {
namespace {

std::string Bytes(const std::vector<std::uint8_t>& Movie)
{
    return std::string(Movie.begin(), Movie.end());
}

TSeeds MovieSeeds()
{
    return {Bytes(swf::samples::SampleMovie(false)), Bytes(swf::samples::SampleMovie(true)),
            Bytes(swf::samples::ButtonMovie()), Bytes(movies::PlaybackMovie()),
            Bytes(movies::SkinMovie(movies::SkinTheme::Steel))};
}

// A short sample video, and one of another codec with sound, whose frames are not decoded.
TSeeds VideoSeeds()
{
    swf::FlvWriter foreign(true, true);
    foreign.Metadata({{{"duration", 0.25}, {"videocodecid", 2.0}, {"stereo", true}}});
    for (std::uint32_t frame = 0; frame < 3; ++frame) {
        foreign.Video(frame * 83, frame ? swf::VideoFrameType::Inter : swf::VideoFrameType::Key, 2,
                      std::vector<std::uint8_t>{0, 0, 0x84, 0});
        foreign.Audio(frame * 83, std::vector<std::uint8_t>{0x2E, 1, 2, 3});
    }
    return {Bytes(swf::samples::SampleVideo(6)), Bytes(foreign.Bytes())};
}

TSeeds ExternalXmlSeeds()
{
    using swf::ExternalValue;
    const swf::ExternalInvocation call{"echo",
                                       {ExternalValue::String("a<b>&\"'"),
                                        ExternalValue::Number(2.5), ExternalValue::Boolean(true),
                                        ExternalValue::Null(), ExternalValue::Undefined(),
                                        ExternalValue::Number(-1e300)}};
    std::string library("movieReady");
    library += '\0';
    library += "sample";
    library += '\0';
    library += "<&\">";
    return {swf::EncodeExternalInvocation(call), swf::EncodeExternalInvocation({"noArguments", {}}),
            swf::EncodeExternalValue(ExternalValue::String("text & more")),
            swf::EncodeExternalValue(ExternalValue::Number(0.1)), std::move(library)};
}

TSeeds RequestNameSeeds()
{
    return {"http://zintara/movie.swf?a=1&b=two",
            "file:///C:/movies/clip%20one.swf",
            "http://zintara/<stream>0000002A.swf",
            "/<stream>DEADBEEF",
            "\\\\server\\share\\x.swf",
            "\\\\?\\C:\\x.swf",
            "http://example.com/a.swf?x=%3f%3d%26",
            "intro.swf?loop=true&quality=high"};
}

TSeeds ScriptSeeds()
{
    return {"try { __flash__toXML(movieReady(\"sample\",1)) ; } catch (e) { \"<undefined/>\"; }",
            "try { __flash__toXML(f()) ; } catch (e) { \"<undefined/>\"; }",
            "try { __flash__toXML(g(\"a\\\"b\",\"c\\\\\",\"\\x41\\u0042\\n\")) ; } catch (e) {}",
            "try { __flash__toXML(h(\"one, two\",3,null,true)) ; } catch (e) {}"};
}

// A form with every kind of property set, two components deep, written by the form writer.
std::string ComponentForm()
{
    auto root = std::make_unique<TFuzzComponent>(nullptr);
    root->SetName(L"Root");
    root->Count = -70000;
    root->Color = 0xFF00FF00u;
    root->Visible = false;
    root->Mode = fmLoop;
    root->Flags = TFuzzFlags{TFuzzFlag::ffAudio, TFuzzFlag::ffMenu};
    root->Caption = L"caption with 'quotes', #hash and \u00e9t\u00e9";
    root->Style.Size = 14;
    root->Numbers = {0.5L, -1e300L, 3.0L};
    root->Texts = {L"one", L"two words"};
    auto* file = static_cast<TFuzzFile*>(root->Files.Add());
    file->Title = L"intro";
    file->FileName = L"intro.swf";
    file->Bytes.WriteBuffer("FWS\x06", 4);
    root->Files.Add();
    auto* child = new TFuzzComponent(root.get());
    child->SetName(L"Child");
    child->Caption = std::wstring(300, L'x');
    root->SetPartner(child);
    child->SetPartner(root.get());
    TMemoryStream form;
    TWriter(form).WriteDescendent(*root);
    return Contents(form);
}

std::string DataModuleForm()
{
    TDataModule module(nullptr);
    module.SetName(L"Module");
    auto* inner = new TFuzzComponent(&module);
    inner->SetName(L"Inner");
    inner->Count = 7;
    TMemoryStream form;
    TWriter(form).WriteDescendent(module);
    return Contents(form);
}

TSeeds BinaryFormSeeds()
{
    return {ComponentForm(), DataModuleForm()};
}

TSeeds TextFormSeeds()
{
    return {BinaryToText(ComponentForm()), BinaryToText(DataModuleForm())};
}

TSeeds FlashBlockSeeds()
{
    TMemoryStream bytes;
    bytes.WriteBuffer("CWS\x0a", 4);
    TMemoryStream wide, empty;
    WriteFlashBlock(wide, L"movie.swf", bytes);
    TMemoryStream none;
    WriteFlashBlock(empty, L"unused", none);
    // Kind 2 has no writer: the same block with its name in 8-bit characters.
    std::string ansi{static_cast<char>(FlashBlockAnsiName), 5, 0, 0, 0};
    ansi += "a.swf";
    ansi += std::string{4, 0, 0, 0};
    ansi += "FWS\x06";
    return {Contents(wide), Contents(empty), ansi};
}

} // namespace

std::map<std::string, TSeeds> AllSeeds()
{
    std::map<std::string, TSeeds> seeds{{"fuzz_swf_movie", MovieSeeds()},
                                        {"fuzz_flv_stream", VideoSeeds()},
                                        {"fuzz_external_interface", ExternalXmlSeeds()},
                                        {"fuzz_request_names", RequestNameSeeds()},
                                        {"fuzz_external_call", ScriptSeeds()},
                                        {"fuzz_form_binary", BinaryFormSeeds()},
                                        {"fuzz_form_text", TextFormSeeds()},
                                        {"fuzz_flash_list_block", FlashBlockSeeds()}};
    return seeds;
}

} // namespace zn::fuzz
