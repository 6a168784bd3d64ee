#include <gtest/gtest.h>

#include "run/source_paths.h"

TEST(NormalizeSourcePath, TakesTheFormWindowsResolvesAPathTo) {
    const std::pair<std::wstring_view, std::wstring_view> cases[] = {
        {L"C:\\x\\data", L"C:\\x\\data"},
        {L"C:\\x\\data..", L"C:\\x\\data"},
        {L"C:\\x\\data ", L"C:\\x\\data"},
        {L"C:\\x\\data. .", L"C:\\x\\data"},
        {L"C:\\x\\日本語 . ", L"C:\\x\\日本語"},
        {L"C:\\x\\a.b.txt", L"C:\\x\\a.b.txt"},
        {L"C:\\x\\data\\..", L"C:\\x"},
        {L"C:\\x\\.\\data\\.", L"C:\\x\\data"},
        {L"C:/x//data", L"C:\\x\\data"},
        {L"C:\\..\\..", L"C:\\"},
        {L"C:\\", L"C:\\"},
        {L"\\\\server\\share\\a\\..\\..\\b", L"\\\\server\\share\\b"},
        {L"\\\\?\\C:\\x\\data..", L"\\\\?\\C:\\x\\data.."},
        {L"", L""},
    };
    for (const auto& [path, normal] : cases) EXPECT_EQ(NormalizeSourcePath(path), normal) << std::wstring(path);
}

TEST(IsInsideFolder, OnlyStrictlyBelowCounts) {
    struct Case {
        std::wstring_view path;
        std::wstring_view folder;
        bool inside;
    };
    const Case cases[] = {
        {L"C:\\p\\q", L"C:\\p", true}, {L"C:\\P\\Q\\", L"c:\\p\\", true}, {L"C:\\p\\q\\r", L"C:\\p", true},
        {L"C:\\p", L"C:\\p", false},   {L"C:\\p\\", L"C:\\p", false},     {L"C:\\pq", L"C:\\p", false},
        {L"C:\\", L"C:\\p", false},    {L"C:\\p", L"C:\\", true},         {L"D:\\p\\q", L"C:\\p", false},
        {L"C:\\p\\q", L"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsInsideFolder(c.path, c.folder), c.inside)
            << std::wstring(c.path) << L" in " << std::wstring(c.folder);
}
