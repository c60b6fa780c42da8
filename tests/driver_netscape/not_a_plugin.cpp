// A library that loads but has none of the plug-in's exports.
extern "C" __declspec(dllexport) int NotAPlugin()
{
    return 0;
}
