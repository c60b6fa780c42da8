// Holding an instance.
#include "hosted_instance.h"

#include <gtest/gtest.h>

using namespace zn::np;

namespace zn::test {

HostedInstance::HostedInstance(int width, int height, bool transparent)
{
    std::string width_text = std::to_string(width), height_text = std::to_string(height);
    const char* names[] = {"wmode", "bgcolor", "width", "height"};
    const char* values[] = {transparent ? "transparent" : "opaque", "#0", width_text.c_str(),
                            height_text.c_str()};
    created = Funcs().newp(const_cast<char*>("application/x-shockwave-flash"), &npp_, NP_EMBED, 4,
                           const_cast<char**>(names), const_cast<char**>(values), nullptr);
    if (created == NPERR_NO_ERROR)
        Funcs().getvalue(&npp_, NPPVpluginScriptableNPObject, &object_);
}

HostedInstance::~HostedInstance()
{
    Destroy();
    if (object_)
        PluginLibrary::Get().browserTable.releaseobject(object_);
}

NPError HostedInstance::Destroy()
{
    if (destroyed_ || created != NPERR_NO_ERROR)
        return NPERR_NO_ERROR;
    destroyed_ = true;
    return Funcs().destroy(&npp_, nullptr);
}

NPError HostedInstance::SetWindow(HDC dc, int width, int height)
{
    NPWindow window{};
    window.window = dc;
    window.width = width;
    window.height = height;
    window.type = NPWindowTypeDrawable;
    return Funcs().setwindow(&npp_, &window);
}

void HostedInstance::Deliver(const std::vector<std::uint8_t>& bytes, const std::string& url,
                             void* notifyData, int pieces)
{
    NPStream stream{};
    stream.url = url.c_str();
    stream.end = static_cast<std::uint32_t>(bytes.size());
    stream.notifyData = notifyData;
    std::uint16_t type = 0;
    ASSERT_EQ(Funcs().newstream(&npp_, const_cast<char*>("application/x-shockwave-flash"), &stream,
                                true, &type),
              NPERR_NO_ERROR);
    EXPECT_EQ(type, NP_NORMAL);
    std::size_t piece = (bytes.size() + pieces - 1) / pieces;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        std::size_t length = std::min(piece, bytes.size() - at);
        std::vector<std::uint8_t> copy(bytes.begin() + at, bytes.begin() + at + length);
        EXPECT_EQ(Funcs().write(&npp_, &stream, 0, static_cast<std::int32_t>(length), copy.data()),
                  static_cast<std::int32_t>(length));
    }
    Funcs().urlnotify(&npp_, url.c_str(), NPRES_DONE, notifyData);
    EXPECT_EQ(Funcs().destroystream(&npp_, &stream, NPRES_DONE), NPERR_NO_ERROR);
}

std::int16_t HostedInstance::Paint(HDC dc, RECT dirty)
{
    NPEvent event{WM_PAINT, reinterpret_cast<std::uintptr_t>(dc),
                  reinterpret_cast<std::uintptr_t>(&dirty)};
    std::int16_t handled = Funcs().event(&npp_, &event);
    GdiFlush();
    return handled;
}

bool HostedInstance::Invoke(const char* method, const std::vector<NPVariant>& args,
                            NPVariant& result)
{
    result = NPVariant{};
    NPIdentifier name = PluginLibrary::Get().browserTable.getstringidentifier(method);
    return object_ && object_->_class->invoke(object_, name, args.data(),
                                              static_cast<std::uint32_t>(args.size()), &result);
}

NPVariant HostedInstance::InvokeOrFail(const char* method, const std::vector<NPVariant>& args)
{
    NPVariant result{};
    EXPECT_TRUE(Invoke(method, args, result)) << method;
    return result;
}

} // namespace zn::test
