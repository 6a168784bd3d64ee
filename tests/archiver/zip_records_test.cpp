#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "zip_records.h"

namespace {

std::uint32_t U16At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8);
}
std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return U16At(b, at) | (U16At(b, at + 2) << 16);
}
std::uint64_t U64At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return U32At(b, at) | (std::uint64_t{U32At(b, at + 4)} << 32);
}

ZipEntry SampleEntry() {
    ZipEntry entry;
    entry.name = "work/a.txt";
    entry.method = kMethodDeflated;
    entry.crc = 0x12345678;
    entry.size = 1000;
    entry.compressedSize = 400;
    entry.localHeaderOffset = 0x100;
    return entry;
}

// The extra field of a central header, as (id, data) pairs.
struct Field {
    std::uint32_t id;
    std::vector<std::uint8_t> data;
};
std::vector<Field> CentralFields(const std::vector<std::uint8_t>& header) {
    const std::size_t nameLength = U16At(header, 28);
    const std::size_t extraLength = U16At(header, 30);
    std::vector<Field> fields;
    for (std::size_t at = 46 + nameLength; at < 46 + nameLength + extraLength;) {
        const std::size_t size = U16At(header, at + 2);
        fields.push_back({U16At(header, at), {header.begin() + at + 4, header.begin() + at + 4 + size}});
        at += 4 + size;
    }
    return fields;
}

}  // namespace

TEST(ZipRecords, SmallEntriesCarryNoZip64FieldButNtfsTimesAndUtf8Flag) {
    ZipEntry entry = SampleEntry();
    entry.writeTime = {0x11111111, 0x01D00000};
    const auto central = CentralHeader(entry);
    EXPECT_EQ(U32At(central, 0), 0x02014b50u);
    EXPECT_EQ(U16At(central, 6), 20u);  // version needed
    EXPECT_EQ(U16At(central, 8), 0x0800u);
    EXPECT_EQ(U32At(central, 20), 400u);
    EXPECT_EQ(U32At(central, 24), 1000u);
    EXPECT_EQ(U32At(central, 42), 0x100u);
    const auto fields = CentralFields(central);
    ASSERT_EQ(fields.size(), 1u);
    EXPECT_EQ(fields[0].id, 0x000Au);
    ASSERT_EQ(fields[0].data.size(), 32u);
    EXPECT_EQ(U64At(fields[0].data, 8), 0x01D0000011111111u);  // modification time comes first

    const auto local = LocalHeader(entry);
    EXPECT_EQ(U32At(local, 0), 0x04034b50u);
    EXPECT_EQ(U16At(local, 4), 20u);
    EXPECT_EQ(U32At(local, 18), 400u);
}

TEST(ZipRecords, CentralZip64FieldHoldsExactlyTheOverflowingValues) {
    ZipEntry entry = SampleEntry();
    entry.localHeaderOffset = kZip32Limit - 1;  // still fits
    EXPECT_EQ(CentralFields(CentralHeader(entry)).size(), 1u);

    entry.localHeaderOffset = kZip32Limit;  // the marker value itself needs Zip64
    auto central = CentralHeader(entry);
    auto fields = CentralFields(central);
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0].id, 0x0001u);
    ASSERT_EQ(fields[0].data.size(), 8u);
    EXPECT_EQ(U64At(fields[0].data, 0), kZip32Limit);
    EXPECT_EQ(U32At(central, 42), 0xFFFFFFFFu);
    EXPECT_EQ(U32At(central, 20), 400u);
    EXPECT_EQ(U16At(central, 6), 45u);

    entry = SampleEntry();
    entry.size = 5ull << 30;
    entry.compressedSize = 3ull << 20;
    entry.localZip64 = LocalHeaderNeedsZip64(entry.size);
    entry.localHeaderOffset = 6ull << 30;
    central = CentralHeader(entry);
    fields = CentralFields(central);
    ASSERT_EQ(fields[0].data.size(), 16u);  // size and offset; the compressed size fits
    EXPECT_EQ(U64At(fields[0].data, 0), 5ull << 30);
    EXPECT_EQ(U64At(fields[0].data, 8), 6ull << 30);
    EXPECT_EQ(U32At(central, 20), 3u << 20);
    EXPECT_EQ(U32At(central, 24), 0xFFFFFFFFu);
}

TEST(ZipRecords, LocalZip64HoldsBothSizesAndKeepsItsLengthWhenRewritten) {
    EXPECT_FALSE(LocalHeaderNeedsZip64(4'000'000'000ull));
    EXPECT_TRUE(LocalHeaderNeedsZip64(kZip32Limit - 1));  // may grow past the limit when stored blocks are used
    EXPECT_TRUE(LocalHeaderNeedsZip64(5ull << 30));

    ZipEntry entry = SampleEntry();
    entry.size = 5ull << 30;
    entry.localZip64 = true;
    const auto placeholder = LocalHeader(entry);
    entry.compressedSize = 7ull << 20;
    entry.crc = 0xCAFEBABE;
    const auto final = LocalHeader(entry);
    ASSERT_EQ(placeholder.size(), final.size());
    EXPECT_EQ(U16At(final, 4), 45u);
    EXPECT_EQ(U32At(final, 14), 0xCAFEBABEu);
    EXPECT_EQ(U32At(final, 18), 0xFFFFFFFFu);
    EXPECT_EQ(U32At(final, 22), 0xFFFFFFFFu);
    const std::size_t extra = 30 + entry.name.size();
    EXPECT_EQ(U16At(final, extra), 0x0001u);
    EXPECT_EQ(U16At(final, extra + 2), 16u);
    EXPECT_EQ(U64At(final, extra + 4), 5ull << 30);
    EXPECT_EQ(U64At(final, extra + 12), 7ull << 20);
}

TEST(ZipRecords, EndRecordsUseZip64OnlyFromTheMarkerValuesOn) {
    auto end = EndRecords(65'534, 1000, 500);
    ASSERT_EQ(end.size(), 22u);
    EXPECT_EQ(U16At(end, 10), 65'534u);

    end = EndRecords(65'535, 1000, 500);  // 0xFFFF is the "see Zip64" marker
    ASSERT_EQ(end.size(), 56u + 20u + 22u);
    EXPECT_EQ(U32At(end, 0), 0x06064b50u);
    EXPECT_EQ(U64At(end, 32), 65'535u);
    EXPECT_EQ(U64At(end, 48), 1000u);
    EXPECT_EQ(U32At(end, 56), 0x07064b50u);
    EXPECT_EQ(U64At(end, 64), 1500u);  // where the Zip64 end record starts
    EXPECT_EQ(U16At(end, 76 + 10), 0xFFFFu);
    EXPECT_EQ(U32At(end, 76 + 16), 1000u);

    end = EndRecords(3, 5ull << 30, 200);
    ASSERT_EQ(end.size(), 98u);
    EXPECT_EQ(U16At(end, 76 + 10), 3u);
    EXPECT_EQ(U32At(end, 76 + 16), 0xFFFFFFFFu);
}

TEST(ZipRecords, DosTimesAreClampedAndKeepTwoSecondSteps) {
    const DosDateTime early = ToDosDateTime(FILETIME{0, 0});  // year 1601
    EXPECT_EQ(early.date, (0 << 9) | (1 << 5) | 1);
    EXPECT_EQ(early.time, 0);

    SYSTEMTIME late{2200, 1, 0, 1, 0, 0, 0, 0};
    FILETIME lateFile;
    ASSERT_TRUE(SystemTimeToFileTime(&late, &lateFile));
    EXPECT_EQ(ToDosDateTime(lateFile).date, (127 << 9) | (12 << 5) | 31);

    SYSTEMTIME odd{2024, 5, 0, 6, 7, 8, 9, 0};
    FILETIME oddFile;
    ASSERT_TRUE(SystemTimeToFileTime(&odd, &oddFile));
    EXPECT_EQ(ToDosDateTime(oddFile).time & 0x1F, 4);  // 9 s -> 8 s
}
