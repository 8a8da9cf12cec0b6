#include "tests/qxsdk/ui/window/screen_grab.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <cstdlib>
#include <stdexcept>

#include "tests/qxsdk/ui/window/window_test_support.h"
#include "tests/windows/host_path.h"

namespace window_test {

namespace {

using Microsoft::WRL::ComPtr;

std::optional<screen_grab> decode(IWICImagingFactory& factory, IWICBitmapDecoder& decoder)
{
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(decoder.GetFrame(0, &frame)) || FAILED(factory.CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return std::nullopt;
    }
    UINT width = 0;
    UINT height = 0;
    converter->GetSize(&width, &height);
    screen_grab grab{static_cast<std::int32_t>(width), static_cast<std::int32_t>(height),
                     std::vector<bgra>(std::size_t{width} * height)};
    if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(grab.pixels.size() * sizeof(bgra)),
                                     reinterpret_cast<BYTE*>(grab.pixels.data())))) {
        return std::nullopt;
    }
    return grab;
}

std::optional<screen_grab> decode_file(const std::wstring& path)
{
    IWICImagingFactory& factory = qxsdk::ui::testing::imaging();
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory.CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnLoad,
                                                 &decoder))) {
        return std::nullopt;
    }
    return decode(factory, *decoder.Get());
}

}  // namespace

std::optional<screen_grab> decode_picture(std::span<const std::uint8_t> data)
{
    IWICImagingFactory& factory = qxsdk::ui::testing::imaging();
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory.CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data.data()), static_cast<DWORD>(data.size()))) ||
        FAILED(factory.CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnLoad, &decoder))) {
        return std::nullopt;
    }
    return decode(factory, *decoder.Get());
}

bgra screen_grab::at(std::int32_t x, std::int32_t y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height) {
        throw std::out_of_range("a point off the screen grab");
    }
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
}

bgra screen_grab::at_client(HWND window, std::int32_t x, std::int32_t y) const
{
    POINT corner{0, 0};
    ClientToScreen(window, &corner);
    return at(corner.x + x, corner.y + y);
}

::testing::AssertionResult shows(bgra got, const qxsdk::ui::color& expected, int tolerance)
{
    const auto level = [](float channel) { return static_cast<int>(channel * 255.0f + 0.5f); };
    const auto close = [tolerance](int a, int b) { return std::abs(a - b) <= tolerance; };
    if (close(got.red, level(expected.red)) && close(got.green, level(expected.green)) &&
        close(got.blue, level(expected.blue))) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the pixel is RGB " << int{got.red} << " " << int{got.green} << " "
                                         << int{got.blue} << ", not " << level(expected.red) << " "
                                         << level(expected.green) << " " << level(expected.blue);
}

std::optional<screen_grab> grab_screen(const std::string& name)
{
    const char* folder = std::getenv("QXSDK_TEST_SNAPSHOTS");
    const bool kept = folder != nullptr && *folder != '\0';
    const std::string output_folder = kept ? std::string(folder) : std::string("/tmp/qxsdk-screen-grabs");
    CreateDirectoryW(kyrox_test::windows_path_of_build_file(output_folder).c_str(), nullptr);
    const std::string output =
        output_folder + "/" + (kept ? name : name + "-" + std::to_string(GetCurrentProcessId())) + ".png";
    const std::wstring output_path = kyrox_test::windows_path_of_build_file(output);
    DeleteFileW(output_path.c_str());

    std::wstring command = kyrox_test::windows_path_of_build_file(KYROX_SOURCE_DIR "/tools/x-root-snapshot.py");
    command += L" \"" + std::wstring(output.begin(), output.end()) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process) ==
        FALSE) {
        return std::nullopt;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // Wine cannot wait for a host program: the window's messages run until the picture appears.
    if (!pump_until([&] { return GetFileAttributesW(output_path.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000ms)) {
        return std::nullopt;
    }
    std::optional<screen_grab> grab = decode_file(output_path);
    if (!kept) {
        DeleteFileW(output_path.c_str());
    }
    return grab;
}

}  // namespace window_test
