// The count of a run's totals against what the run then copies, and the
// count's thread: Cancel, the end of the run, a failure, a hung listing.
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <thread>

#include "forwarding_files.h"
#include "message_capture.h"
#include "run/copy_run.h"
#include "run/totals_count.h"
#include "test_files.h"
#include "windows_rules_files.h"

namespace {

constexpr int kCases = 40;

// A generated case: a small tree with files of many sizes and dates, a link
// to a folder, an empty folder; settings of every key the walk asks.
class CountCase {
public:
    explicit CountCase(std::uint32_t seed) : random_(seed) {}

    void Run() {
        MakeTree();
        settings_.Select = 1;
        settings_.EmptyDirNoCopy = Below(2);
        settings_.DirTree = Below(2);
        settings_.CopyMode = 1;
        settings_.AddStringsAft = Below(2) ? 4 : 0;
        if (settings_.AddStringsAft == 0) settings_.PrefixAft1 = L"";
        conditions_.selectMode = Below(3);
        conditions_.lists[kTargetList].patterns = {Below(2) ? L"*.txt" : L"*.jpg"};
        conditions_.lists[kExNoTargetList].patterns = {L"skip*"};
        conditions_.lists[kNoTargetList].patterns = {L"*.bin"};
        if (Below(2)) {
            conditions_.updateDateType = 2;
            conditions_.bounds.start = 20240101;
        }

        CountedTotals counted;
        const std::atomic<bool> stop{false};
        ASSERT_TRUE(CountSources(sources_, settings_, conditions_, files_, stop, counted));

        MakeFolder(dir_ / L"out");
        settings_.Path = dir_ / L"out\\";
        SharedRunState shared;
        RunContext run(settings_, conditions_, shared);
        run.files = &files_;
        for (const std::wstring& source : sources_) (void)CopyOneSource(run, source);
        EXPECT_EQ(shared.progress.filesDone.load(), counted.files);
        EXPECT_EQ(shared.progress.bytesDone.load(), counted.bytes);
        EXPECT_FALSE(shared.copyCancelRequested.load());
    }

private:
    int Below(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }

    void MakeFile(const std::wstring& path) {
        static const std::size_t sizes[] = {0, 1, 700, 5000, 70000, 200000};
        WriteBytes(path, std::vector<std::uint8_t>(sizes[Below(6)], 'x'));
        SetLastWriteTime(path, Below(2) ? 2023 : 2025, 6, 1);
    }

    void MakeFolderOfFiles(const std::wstring& folder, int depth) {
        static const wchar_t* names[] = {L"a.txt", L"b.jpg", L"c.bin", L"skip.txt", L"写真.jpg", L"d.TXT"};
        MakeFolder(folder);
        for (int i = Below(5); i > 0; --i) MakeFile(folder + L"\\" + names[Below(6)]);
        if (depth == 0) return;
        for (int i = Below(3); i > 0; --i) MakeFolderOfFiles(folder + L"\\sub" + std::to_wstring(i), depth - 1);
    }

    void MakeTree() {
        const std::wstring root = dir_ / L"src";
        MakeFolderOfFiles(root + L"\\F", 3);
        MakeFolder(root + L"\\F\\empty");
        // A junction inside: neither the walk nor the count goes in.
        MakeFolderOfFiles(root + L"\\F\\link", 1);
        MakeFile(root + L"\\F\\link\\inside.txt");
        files_.MarkReparsePoint(root + L"\\F\\link", IO_REPARSE_TAG_MOUNT_POINT, 0, false);
        MakeFile(root + L"\\one.txt");
        MakeFolderOfFiles(root + L"\\G", 1);
        sources_ = {root + L"\\F"};
        if (Below(2)) sources_.push_back(root + L"\\one.txt");
        if (Below(2)) sources_.push_back(root + L"\\G\\");
        if (Below(4) == 0) sources_.push_back(root + L"\\missing");
    }

    std::mt19937 random_;
    TempDir dir_;
    WindowsRulesFiles files_;
    Settings settings_ = DefaultSettings(false, std::nullopt);
    SelectionConditions conditions_;
    std::vector<std::wstring> sources_;
};

// A folder "V:\endless" that never ends: a listing hands out files until it
// is told to stop. Can hold the first listing on a gate, or fail.
class EndlessFolder : public ForwardingFiles {
public:
    DWORD Find(const std::wstring&, WIN32_FIND_DATAW& data) override {
        data = {};
        data.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
        wcscpy_s(data.cFileName, L"endless");
        return 0;
    }
    DWORD List(const std::wstring&, const Visit& visit) override {
        if (fail) throw std::runtime_error("listing failed");
        entered = true;
        if (hold) ::WaitForSingleObject(release.get(), INFINITE);
        WIN32_FIND_DATAW data{};
        data.nFileSizeLow = 100;
        wcscpy_s(data.cFileName, L"f.txt");
        do ++entries;
        while (visit(data));
        listed = true;
        return 0;
    }

    std::atomic<bool> entered{false};
    std::atomic<int> entries{0};
    std::atomic<bool> listed{false};
    bool fail = false;
    bool hold = false;
    UniqueKernelHandle release{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

bool WaitFor(const std::function<bool()>& done, DWORD limitMs = 5000) {
    for (const ULONGLONG end = ::GetTickCount64() + limitMs; !done(); ::Sleep(1))
        if (::GetTickCount64() > end) return false;
    return true;
}

class TotalsCountTest : public ::testing::Test {
protected:
    std::unique_ptr<TotalsCount> StartCount() {
        settings.Select = 1;
        return std::make_unique<TotalsCount>(std::vector<std::wstring>{L"V:\\endless"}, settings, conditions, endless,
                                             shared);
    }

    Settings settings = DefaultSettings(false, std::nullopt);
    SelectionConditions conditions;
    SharedRunState shared;
    EndlessFolder endless;
    MessageCapture messages;
};

}  // namespace

// The count's totals are what the run copies, file for file and byte for
// byte, over generated trees and settings; a failing seed replays alone.
TEST(TotalsCount, CountsWhatTheRunCopies) {
    MessageCapture messages;
    for (std::uint32_t seed = 1; seed <= kCases; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        CountCase(seed).Run();
        if (testing::Test::HasFailure()) break;
    }
}

TEST(TotalsCount, OnlyRunsThatCopyFileByFileAreCounted) {
    Settings s = DefaultSettings(false, std::nullopt);
    s.Select = 1;
    EXPECT_TRUE(CountsTotals(s));
    for (const auto change : std::initializer_list<void (*)(Settings&)>{[](Settings& x) { x.Select = 0; },
                                                                        [](Settings& x) { x.DirTree = 2; },
                                                                        [](Settings& x) { x.CompressMode = 1; }}) {
        Settings changed = s;
        change(changed);
        EXPECT_FALSE(CountsTotals(changed));
    }
}

TEST_F(TotalsCountTest, CancelEndsTheCountAtOnce) {
    const std::unique_ptr<TotalsCount> count = StartCount();
    ASSERT_TRUE(WaitFor([&] { return endless.entries.load() > 1000; }));
    shared.copyCancelRequested = true;
    const int entriesAtCancel = endless.entries.load();
    ASSERT_TRUE(WaitFor([&] { return endless.listed.load(); }, 1000));
    EXPECT_LE(endless.entries.load() - entriesAtCancel, 2);
    EXPECT_TRUE(count->Stop(1000));
    EXPECT_EQ(shared.progress.count.load(), CountState::Stopped);
}

TEST_F(TotalsCountTest, TheEndOfTheRunEndsTheCount) {
    const std::unique_ptr<TotalsCount> count = StartCount();
    ASSERT_TRUE(WaitFor([&] { return endless.entries.load() > 0; }));
    EXPECT_TRUE(count->Stop(1000));
    EXPECT_EQ(shared.progress.count.load(), CountState::Stopped);
    EXPECT_FALSE(shared.copyCancelRequested.load());
}

// A failure inside the count leaves the run alone: no message, no Cancel.
TEST_F(TotalsCountTest, AFailingCountLeavesTheRunAlone) {
    endless.fail = true;
    const std::unique_ptr<TotalsCount> count = StartCount();
    ASSERT_TRUE(WaitFor([&] { return shared.progress.count.load() == CountState::Stopped; }));
    EXPECT_TRUE(count->Stop(1000));
    EXPECT_FALSE(shared.copyCancelRequested.load());
    EXPECT_TRUE(messages.texts.empty());
}

// A listing that hangs is left behind at the end of the run; when it comes
// back, the count reports nothing more.
TEST_F(TotalsCountTest, AHungCountIsLeftBehindAndReportsNothing) {
    endless.hold = true;
    const std::unique_ptr<TotalsCount> count = StartCount();
    ASSERT_TRUE(WaitFor([&] { return endless.entered.load(); }));
    EXPECT_FALSE(count->Stop(50));
    EXPECT_EQ(shared.progress.count.load(), CountState::Stopped);
    shared.progress.count = CountState::None;  // whatever the run holds now stays
    ::SetEvent(endless.release.get());
    ASSERT_TRUE(WaitFor([&] { return endless.listed.load(); }));
    ::Sleep(50);
    EXPECT_EQ(shared.progress.count.load(), CountState::None);
    EXPECT_LE(endless.entries.load(), 1);
}
