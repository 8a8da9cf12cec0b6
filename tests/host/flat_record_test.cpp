#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include <gtest/gtest.h>

#include "plugin/host/presets.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

using kyrox::FlatRecordMode;
using kyrox::FlatRecordReader;
using kyrox::next_flat_record;

// Header, then records of ID, length and value bytes.
std::vector<std::uint8_t> records(std::initializer_list<std::pair<std::uint32_t, std::vector<std::uint8_t>>> list)
{
    std::vector<std::uint8_t> out(kyrox::flat_record_header.begin(), kyrox::flat_record_header.end());
    for (const auto& [id, value] : list) {
        for (const std::uint32_t word : {id, static_cast<std::uint32_t>(value.size())}) {
            for (int shift = 0; shift < 32; shift += 8) {
                out.push_back(static_cast<std::uint8_t>(word >> shift));
            }
        }
        out.insert(out.end(), value.begin(), value.end());
    }
    return out;
}

FlatRecordReader reader_over(const std::vector<std::uint8_t>& data)
{
    FlatRecordReader reader;
    reader.mode = FlatRecordMode::read;
    reader.buffer = data;
    return reader;
}

TEST(FlatRecordReader, ReadsRecordsInOrderAfterCheckingTheHeader)
{
    const auto data = records({{99, {1, 0, 0, 0}}, {3, {0xff, 0, 0x84, 0xff}}, {1094, {}}});
    FlatRecordReader reader = reader_over(data);
    EXPECT_EQ(next_flat_record(reader), 99u);
    EXPECT_TRUE(reader.header_done);
    EXPECT_EQ(reader.length, 4u);
    EXPECT_EQ(reader.value, data.data() + 16);
    EXPECT_EQ(next_flat_record(reader), 3u);
    EXPECT_EQ(reader.value[2], 0x84);
    EXPECT_EQ(next_flat_record(reader), 1094u);
    EXPECT_EQ(reader.length, 0u);
    EXPECT_EQ(next_flat_record(reader), 0u);
    EXPECT_EQ(reader.value, nullptr);
    EXPECT_EQ(reader.length, 0u);
    EXPECT_EQ(next_flat_record(reader), 0u);
}

TEST(FlatRecordReader, RecordWithIdZeroEndsTheList)
{
    const auto data = records({{5, {1}}, {0, {2}}, {6, {3}}});
    FlatRecordReader reader = reader_over(data);
    EXPECT_EQ(next_flat_record(reader), 5u);
    EXPECT_EQ(next_flat_record(reader), 0u);
}

TEST(FlatRecordReader, WrongOrShortHeaderReadsNothing)
{
    auto wrong = records({{5, {1, 2, 3, 4}}});
    wrong[7] = 2;  // another format
    std::vector<std::uint8_t> short_header(kyrox::flat_record_header.begin(), kyrox::flat_record_header.begin() + 7);
    for (const auto* data : {&wrong, &short_header}) {
        FlatRecordReader reader = reader_over(*data);
        EXPECT_EQ(next_flat_record(reader), 0u);
        EXPECT_FALSE(reader.header_done);
        EXPECT_TRUE(reader.header_step_taken);
        EXPECT_EQ(next_flat_record(reader), 0u);
    }
    FlatRecordReader no_buffer;
    EXPECT_EQ(next_flat_record(no_buffer), 0u);
    EXPECT_FALSE(no_buffer.header_done);
}

TEST(FlatRecordReader, RecordRunningPastTheEndIsNotReturned)
{
    const auto whole = records({{5, {1, 2, 3, 4}}, {6, {5, 6, 7, 8}}});
    // Cut inside the second record's prefix and inside its value.
    for (const std::size_t cut : {whole.size() - 1, whole.size() - 4, whole.size() - 9, whole.size() - 12 + 1}) {
        SCOPED_TRACE(cut);
        const std::vector<std::uint8_t> data(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
        FlatRecordReader reader = reader_over(data);
        EXPECT_EQ(next_flat_record(reader), 5u);
        EXPECT_EQ(next_flat_record(reader), 0u);
        EXPECT_EQ(reader.value, nullptr);
    }
    // A length near the 32-bit limit must not wrap the bounds check.
    auto huge = records({{5, {}}});
    huge[12] = huge[13] = huge[14] = huge[15] = 0xff;
    FlatRecordReader reader = reader_over(huge);
    EXPECT_EQ(next_flat_record(reader), 0u);
}

TEST(FlatRecordReader, WriteModeWritesTheHeaderOnly)
{
    std::vector<std::uint8_t> out(16, 0xee);
    FlatRecordReader writer;
    writer.mode = FlatRecordMode::write;
    writer.output = out;
    EXPECT_EQ(next_flat_record(writer), 0u);
    EXPECT_TRUE(writer.header_done);
    EXPECT_EQ(writer.offset, 8u);
    EXPECT_TRUE(std::equal(kyrox::flat_record_header.begin(), kyrox::flat_record_header.end(), out.begin()));
    EXPECT_EQ(out[8], 0xee);
    EXPECT_EQ(next_flat_record(writer), 0u);

    std::vector<std::uint8_t> small(7, 0xee);
    FlatRecordReader small_writer;
    small_writer.mode = FlatRecordMode::write;
    small_writer.output = small;
    EXPECT_EQ(next_flat_record(small_writer), 0u);
    EXPECT_FALSE(small_writer.header_done);
    EXPECT_EQ(small_writer.offset, 0u);
    EXPECT_EQ(small, std::vector<std::uint8_t>(7, 0xee));
}

TEST(FlatRecordReader, MeasureModeCountsTheHeaderWithoutABuffer)
{
    FlatRecordReader measure;
    measure.mode = FlatRecordMode::measure;
    EXPECT_EQ(next_flat_record(measure), 0u);
    EXPECT_TRUE(measure.header_done);
    EXPECT_EQ(measure.offset, 8u);
    EXPECT_EQ(next_flat_record(measure), 0u);
    EXPECT_EQ(measure.offset, 8u);
}

TEST(FlatRecordReader, CallerCheckedHeaderSkipsTheHeaderStep)
{
    auto data = records({{5, {1}}});
    FlatRecordReader reader = reader_over(data);
    reader.header_step_taken = true;  // header not confirmed: nothing is read
    EXPECT_EQ(next_flat_record(reader), 0u);
    reader.header_done = true;
    reader.offset = 8;
    EXPECT_EQ(next_flat_record(reader), 5u);
}

// Maps a file the way an owner of a mapped record file would, and checks that closing the reader
// releases the view and the handles.
TEST(FlatRecordReader, CloseReleasesAnOwnedMappedFile)
{
    const auto data = records({{7, {1, 2}}});
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "kyrox_flat_record_test.bin";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    FlatRecordReader reader;
    reader.path = path.wstring();
#ifdef _WIN32
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    ASSERT_NE(mapping, nullptr);
    void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    ASSERT_NE(view, nullptr);
    reader.mapped = std::make_unique<kyrox::platform::MappedFile>(
        view, data.size(), reinterpret_cast<std::intptr_t>(file), reinterpret_cast<std::intptr_t>(mapping));
#else
    const int file = open(path.c_str(), O_RDONLY);
    ASSERT_GE(file, 0);
    void* view = mmap(nullptr, data.size(), PROT_READ, MAP_PRIVATE, file, 0);
    ASSERT_NE(view, MAP_FAILED);
    reader.mapped = std::make_unique<kyrox::platform::MappedFile>(view, data.size(), file, -1);
#endif
    reader.buffer = reader.mapped->bytes();
    EXPECT_EQ(next_flat_record(reader), 7u);

    kyrox::close_flat_reader(reader);
    EXPECT_EQ(reader.mapped, nullptr);
    EXPECT_TRUE(reader.path.empty());
#ifdef _WIN32
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(file, &flags));
    EXPECT_FALSE(GetHandleInformation(mapping, &flags));
#else
    EXPECT_EQ(fcntl(file, F_GETFD), -1);
#endif
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

}  // namespace
