extern "C" int PluginMain(int, void*, void*, void*, void*, void*)
{
    return 0;
}
