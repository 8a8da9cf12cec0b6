#include "plugin/resources/effect_version.h"
#include "tests/windows/host_path.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include <windows.h>

namespace {

struct ModuleFreer {
    void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
};
using Module = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer>;

std::wstring module_path()
{
    return kyrox_test::windows_path_of_build_file(KYROX_MODULE_PATH);
}

constexpr std::uint32_t code(const char (&text)[5])
{
    return std::uint32_t(std::uint8_t(text[0])) << 24 | std::uint32_t(std::uint8_t(text[1])) << 16 |
           std::uint32_t(std::uint8_t(text[2])) << 8 | std::uint32_t(std::uint8_t(text[3]));
}

struct Property {
    std::uint32_t vendor = 0;
    std::uint32_t key = 0;
    std::int32_t id = -1;
    std::vector<std::uint8_t> data;
};

// Reads the property list: a reserved word, the list version, the count, then the properties,
// each with its data padded to 4 bytes.
class PropertyListReader {
public:
    explicit PropertyListReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint16_t word() { return read<std::uint16_t>(); }
    std::uint32_t u32() { return read<std::uint32_t>(); }

    Property property()
    {
        Property p;
        p.vendor = u32();
        p.key = u32();
        p.id = static_cast<std::int32_t>(u32());
        const std::uint32_t length = u32();
        const std::size_t padded = (length + 3u) & ~std::size_t{3};
        if (padded > left()) {
            throw std::out_of_range("property data runs past the resource");
        }
        p.data.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(offset_),
                      bytes_.begin() + static_cast<std::ptrdiff_t>(offset_ + length));
        for (std::size_t i = length; i < padded; ++i) {
            EXPECT_EQ(bytes_[offset_ + i], 0u) << "padding after property " << p.key;
        }
        offset_ += padded;
        return p;
    }

    std::size_t left() const { return bytes_.size() - offset_; }

private:
    template <class T>
    T read()
    {
        if (sizeof(T) > left()) {
            throw std::out_of_range("resource too short");
        }
        T value{};
        std::memcpy(&value, bytes_.data() + offset_, sizeof(T));
        offset_ += sizeof(T);
        return value;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t offset_ = 0;
};

std::vector<std::uint8_t> bytes_of(std::uint32_t value)
{
    std::vector<std::uint8_t> bytes(4);
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

std::vector<std::uint8_t> pascal_text(const std::string& text)
{
    const std::string bytes = static_cast<char>(text.size()) + text;
    return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> c_text(const std::string& text)
{
    const char* bytes = text.c_str();
    return {bytes, bytes + text.size() + 1};
}

TEST(PiplResource, DescribesTheEffectAsGlobalSetUpDoes)
{
    const Module module(LoadLibraryExW(module_path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_NE(module, nullptr) << "cannot open " << KYROX_MODULE_PATH << ", error " << GetLastError();
    HRSRC resource =
        FindResourceExW(module.get(), L"PIPL", MAKEINTRESOURCEW(16000), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_NE(resource, nullptr);
    HGLOBAL loaded = LoadResource(module.get(), resource);
    ASSERT_NE(loaded, nullptr);
    const auto* data = static_cast<const std::uint8_t*>(LockResource(loaded));
    ASSERT_NE(data, nullptr);
    PropertyListReader reader({data, SizeofResource(module.get(), resource)});

    EXPECT_EQ(reader.word(), 1u);
    EXPECT_EQ(reader.u32(), 0u);
    const std::uint32_t count = reader.u32();

    const std::vector<Property> expected{
        {code("8BIM"), code("kind"), 0, bytes_of(code("eFKT"))},
        {code("8BIM"), code("name"), 0, pascal_text("Kyrox")},
        {code("8BIM"), code("catg"), 0, pascal_text("Ostrivale")},
        {code("8BIM"), code("8664"), 0, c_text("PluginMain")},
        {code("8BIM"), code("eVER"), 0, bytes_of(0x80027)},
        {code("8BIM"), code("ePVR"), 0, bytes_of(2u << 16)},
        {code("8BIM"), code("eSVR"), 0, bytes_of(13u << 16 | 9u)},
        {code("8BIM"), code("eINF"), 0, {0, 0}},
        {code("8BIM"), code("eGLO"), 0, bytes_of(0x2080604)},
        {code("8BIM"), code("eGL2"), 0, bytes_of(0x81489)},
        {code("8BIM"), code("eMNA"), 0, pascal_text("OSTRIVALE Fulgrand")},
        {code("8BIM"), code("aeFL"), 0, bytes_of(0)},
    };
    ASSERT_EQ(count, expected.size());
    for (const Property& want : expected) {
        const Property got = reader.property();
        EXPECT_EQ(got.vendor, want.vendor) << "property " << &want - expected.data();
        EXPECT_EQ(got.key, want.key) << "property " << &want - expected.data();
        EXPECT_EQ(got.id, want.id) << "property " << &want - expected.data();
        EXPECT_EQ(got.data, want.data) << "property " << &want - expected.data();
    }
    EXPECT_EQ(reader.left(), 0u);

    // What the host reads here must be what global set-up reports.
    EXPECT_EQ(expected[4].data, bytes_of(KYROX_EFFECT_VERSION));
    EXPECT_EQ(expected[8].data, bytes_of(KYROX_OUT_FLAGS));
    EXPECT_EQ(expected[9].data, bytes_of(KYROX_OUT_FLAGS2));
}

}  // namespace
