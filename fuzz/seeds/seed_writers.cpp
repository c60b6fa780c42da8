// The seeds of the targets on text and on movies (see seed_writers.h).
#include "seed_writers.h"

#include "sample_movies.h"
#include "znswf/external_interface.h"

#include <cstdint>

namespace zn::fuzz {
namespace {

std::string Bytes(const std::vector<std::uint8_t>& Movie)
{
    return std::string(Movie.begin(), Movie.end());
}

TSeeds MovieSeeds()
{
    return {Bytes(swf::samples::SampleMovie(false)), Bytes(swf::samples::SampleMovie(true)),
            Bytes(swf::samples::ButtonMovie())};
}

TSeeds ExternalXmlSeeds()
{
    using swf::ExternalValue;
    const swf::ExternalInvocation call{
        "echo", {ExternalValue::String("a<b>&\"'"), ExternalValue::Number(2.5), ExternalValue::Boolean(true),
                 ExternalValue::Null(), ExternalValue::Undefined(), ExternalValue::Number(-1e300)}};
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

} // namespace

std::map<std::string, TSeeds> AllSeeds()
{
    std::map<std::string, TSeeds> seeds{{"fuzz_swf_movie", MovieSeeds()},
                                        {"fuzz_external_interface", ExternalXmlSeeds()},
                                        {"fuzz_request_names", RequestNameSeeds()},
                                        {"fuzz_external_call", ScriptSeeds()}};
    return seeds;
}

} // namespace zn::fuzz
