// Verification after copying: copies read back and compared with their
// sources, archives read back before they take their place.
#include <gtest/gtest.h>

#include "forwarding_files.h"
#include "message_capture.h"
#include "paths.h"
#include "run/copy_check.h"
#include "run/copy_run.h"
#include "test_files.h"
#include "zip_reader.h"

namespace {

std::vector<std::uint8_t> Content(std::size_t size, int seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i * 13 + seed) & 0xFF);
    return bytes;
}

void FlipByte(const std::wstring& path) {
    std::vector<std::uint8_t> bytes = ReadBytes(path);
    ASSERT_FALSE(bytes.empty());
    bytes[bytes.size() / 2] ^= 0x40;
    WriteBytes(path, bytes);
}

// Copies as the system does, then spoils copies of the chosen file: the
// first `spoil` of them get one byte changed, as a failing disk or cable
// would; or the source itself is written to while it is copied.
class SpoilingFiles : public ForwardingFiles {
public:
    std::wstring victim;  // a source file's name
    int spoil = 0;
    bool changeSource = false;
    std::atomic<int> openedWithoutCache{0};

    DWORD Copy(const std::wstring& from, const std::wstring& to, LPPROGRESS_ROUTINE progress, void* context,
               DWORD flags) override {
        const DWORD error = ForwardingFiles::Copy(from, to, progress, context, flags);
        if (error != 0 || !from.ends_with(L"\\" + victim)) return error;
        if (changeSource) WriteBytes(from, Content(700, 99));
        if (spoil > 0) {
            --spoil;
            FlipByte(to);
        }
        return error;
    }
    UniqueKernelHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                            DWORD& error) override {
        if (flags & FILE_FLAG_NO_BUFFERING) ++openedWithoutCache;
        return ForwardingFiles::Open(path, access, share, disposition, flags, error);
    }
};

class CopyCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.CopyMode = 1;
        settings.Path = dir / L"out\\";
        settings.AddStringsAft = 4;
        settings.Verify = 1;
        settings.DirTree = 1;
        MakeFolder(dir / L"src\\D\\sub");
        for (int i = 0; i < 6; ++i) WriteBytes(dir / (L"src\\D\\f" + std::to_wstring(i)), Content(3000 + i, i));
        WriteBytes(dir / L"src\\D\\sub\\victim.bin", Content(200000, 7));
    }

    int Copy(const std::wstring& source) {
        RunContext run(settings, conditions, shared);
        run.files = &files;
        const int result = CopyOneSource(run, source);
        allVerified = run.allVerified;
        return result;
    }

    std::wstring List() { return ReadUtf16File(dir / L"out\\D_1.txt"); }

    TempDir dir;
    Settings settings = DefaultSettings(false, std::nullopt);
    SelectionConditions conditions;
    SharedRunState shared;
    SpoilingFiles files;
    MessageCapture messages;
    bool allVerified = false;
};

}  // namespace

TEST_F(CopyCheckTest, ACopyThatDiffersOnceIsMadeAgainAndTheRunIsVerified) {
    files.victim = L"victim.bin";
    files.spoil = 1;
    ASSERT_EQ(Copy(dir / L"src\\D"), 0);
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_TRUE(allVerified);
    EXPECT_EQ(ReadBytes(dir / L"out\\D_1\\sub\\victim.bin"), Content(200000, 7));
    EXPECT_GE(files.openedWithoutCache.load(), 7);  // every copy was read past the cache
    EXPECT_NE(List().find(L"*Every copy was read back and matches its source."), std::wstring::npos);
}

TEST_F(CopyCheckTest, ACopyThatDiffersTwiceFailsTheRunAndIsNotKept) {
    files.victim = L"victim.bin";
    files.spoil = 2;
    MakeFolder(dir / L"out");
    EXPECT_EQ(Copy(dir / L"src\\D"), -1);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0],
              L"Copies that did not match their source when read back : 1\nThey did not match after a second copy "
              L"either and have not been kept.\n\n" +
                  (dir / L"out\\D_1\\sub\\victim.bin"));
    EXPECT_FALSE(Exists(dir / L"out\\D_1\\sub\\victim.bin"));
    for (int i = 0; i < 6; ++i) EXPECT_EQ(ReadBytes(dir / (L"out\\D_1\\f" + std::to_wstring(i))), Content(3000 + i, i));
    EXPECT_FALSE(allVerified);
    EXPECT_EQ(List().find(L"*Every copy was read back"), std::wstring::npos);
}

// A file of the user's that a copy replaces stays as it was when the copy
// cannot be verified.
TEST_F(CopyCheckTest, AReplacedFileStaysWhenItsCopyDiffersTwice) {
    settings.AddStringsAft = 0;
    settings.PrefixAft1 = L"";
    settings.DirTree = 0;
    MakeFolder(dir / L"out\\D\\sub");
    WriteText(dir / L"out\\D\\sub\\victim.bin", "the user's");
    files.victim = L"victim.bin";
    files.spoil = 2;
    EXPECT_EQ(Copy(dir / L"src\\D"), -1);
    EXPECT_EQ(ReadBytes(dir / L"out\\D\\sub\\victim.bin"),
              std::vector<std::uint8_t>({'t', 'h', 'e', ' ', 'u', 's', 'e', 'r', '\'', 's'}));
}

TEST_F(CopyCheckTest, ASourceWrittenToWhileItIsCopiedIsReportedAsChanged) {
    files.victim = L"f3";
    files.changeSource = true;
    ASSERT_EQ(Copy(dir / L"src\\D"), 0);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0],
              L"Files that changed while they were copied : 1\nTheir copies could not be "
              L"verified.\n\n" +
                  (dir / L"src\\D\\f3"));
    EXPECT_FALSE(allVerified);
}

TEST_F(CopyCheckTest, WithoutVerifyNothingIsReadBack) {
    settings.Verify = 0;
    files.victim = L"victim.bin";
    files.spoil = 1;
    ASSERT_EQ(Copy(dir / L"src\\D"), 0);
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(files.openedWithoutCache.load(), 0);
    EXPECT_NE(ReadBytes(dir / L"out\\D_1\\sub\\victim.bin"), Content(200000, 7));  // nobody looked
    EXPECT_EQ(List().find(L"*Every copy was read back"), std::wstring::npos);
}

// The archive is spoiled between writing and reading back, every time: it
// is made twice, then not kept, and nothing else is left.
TEST_F(CopyCheckTest, AnArchiveThatDoesNotReadBackIsNotKept) {
    settings.CompressMode = 1;
    settings.DirTree = 0;
    struct SpoilingArchives : ForwardingFiles {
        int spoiled = 0;
        UniqueKernelHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                                DWORD& error) override {
            if ((flags & FILE_FLAG_NO_BUFFERING) && !path.ends_with(L"victim.bin")) {
                ++spoiled;
                FlipByte(path);
            }
            return ForwardingFiles::Open(path, access, share, disposition, flags, error);
        }
    } archives;
    RunContext run(settings, conditions, shared);
    run.files = &archives;
    EXPECT_EQ(CopyOneSource(run, dir / L"src\\D"), 0);  // the run is stopped
    EXPECT_TRUE(shared.copyCancelRequested.load());
    EXPECT_EQ(archives.spoiled, 2);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_TRUE(messages.texts[0].starts_with(L"The archive did not read back as it was written")) << messages.texts[0];
    std::vector<std::wstring> left;
    (void)SystemFileSystem().List(dir / L"out", [&left](const WIN32_FIND_DATAW& data) {
        left.push_back(data.cFileName);
        return true;
    });
    EXPECT_TRUE(left.empty());
}

TEST_F(CopyCheckTest, AnArchiveThatReadsBackIsKeptAndVerified) {
    settings.CompressMode = 1;
    ASSERT_EQ(Copy(dir / L"src\\D"), 0);
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_TRUE(allVerified);
    const auto archive = ReadZip(dir / L"out\\D_1.zip");
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->entries.at("D_1/sub/victim.bin"), Content(200000, 7));
}

// The copy is read in pieces sized to the file; sizes at and around the
// pieces' bounds, and copies that differ only in their last byte or length.
TEST(CheckCopy, SizesAroundTheReadPiecesAndDifferencesAtTheEnd) {
    enum class Spoil { None, LastByte, OneMore, OneLess };
    const std::size_t kUnit = 64 * 1024;
    const std::size_t kMost = 1 << 20;
    const struct {
        std::size_t size;
        Spoil spoil;
        CopyCheck expected;
    } cases[] = {
        {0, Spoil::None, CopyCheck::Same},
        {1, Spoil::None, CopyCheck::Same},
        {kUnit - 1, Spoil::None, CopyCheck::Same},
        {kUnit, Spoil::None, CopyCheck::Same},
        {kUnit + 1, Spoil::None, CopyCheck::Same},
        {kMost, Spoil::None, CopyCheck::Same},
        {kMost + 1, Spoil::None, CopyCheck::Same},
        {3 * kMost + 5, Spoil::None, CopyCheck::Same},
        {kUnit, Spoil::LastByte, CopyCheck::Differs},
        {kMost + 1, Spoil::LastByte, CopyCheck::Differs},
        {0, Spoil::OneMore, CopyCheck::Differs},
        {kUnit, Spoil::OneMore, CopyCheck::Differs},
        {kMost, Spoil::OneMore, CopyCheck::Differs},
        {kUnit, Spoil::OneLess, CopyCheck::Differs},
        {kMost, Spoil::OneLess, CopyCheck::Differs},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " bytes, spoil " << static_cast<int>(c.spoil));
        const std::wstring source = dir / L"source.bin";
        const std::wstring copy = dir / L"copy.bin";
        std::vector<std::uint8_t> bytes = Content(c.size, static_cast<int>(c.size));
        WriteBytes(source, bytes);
        if (c.spoil == Spoil::LastByte) bytes.back() ^= 1;
        if (c.spoil == Spoil::OneMore) bytes.push_back(0);
        if (c.spoil == Spoil::OneLess) bytes.pop_back();
        WriteBytes(copy, bytes);
        WIN32_FIND_DATAW before;
        ASSERT_EQ(SystemFileSystem().Find(source, before), 0u);
        DWORD error = 0;
        EXPECT_EQ(CheckCopy(SystemFileSystem(), source, copy, before, error), c.expected);
        EXPECT_EQ(error, 0u);
    }
}
