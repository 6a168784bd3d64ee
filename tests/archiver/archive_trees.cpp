#include "archive_trees.h"

#include "handles.h"

std::wstring MakeSource(const TempDir& dir) {
    const std::wstring source = dir / L"in\\";
    MakeFolder(source);
    MakeFolder(source + L"sub");
    WriteText(source + L"a.txt", "alpha");
    WriteBytes(source + L"sub\\big.bin", std::vector<std::uint8_t>(3 << 20, 'x'));
    return source;
}

std::wstring MakeMixedSource(const TempDir& dir) {
    const std::wstring source = dir / L"mixed\\";
    std::vector<std::uint8_t> noise(4 << 20);
    std::uint32_t seed = 12345;
    for (std::uint8_t& byte : noise) byte = static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
    for (int folder = 0; folder < 6; ++folder) {
        const std::wstring path = source + L"f" + std::to_wstring(folder) + L"\\";
        MakeFolder(path);
        for (int file = 0; file < 40; ++file) {
            const std::size_t size = (file * 7919u) % 40000;  // 0.bin is empty
            const bool isNoise = file % 5 == 0;
            WriteBytes(path + std::to_wstring(file) + (isNoise ? L".bin" : L".txt"),
                       isNoise ? std::vector(noise.begin(), noise.begin() + size)
                               : std::vector<std::uint8_t>(size, static_cast<std::uint8_t>('a' + file % 26)));
        }
    }
    std::vector<std::uint8_t> large(noise.begin(), noise.begin() + (2 << 20));
    large.resize((5 << 20) + 777, 'z');
    WriteBytes(source + L"f2\\large.bin", large);
    WriteBytes(source + L"f4\\noise.bin", std::vector(noise.begin() + 5, noise.end()));
    MakeFolder(source + L"空のフォルダ");
    MakeFolder(source + L"Empty");
    MakeFolder(source + L"empty.d");
    MakeFolder(source + L"f1\\deeper");
    WriteText(source + L"日本語.txt", "日本語の中身");
    WriteText(source + L"f1\\B.txt", "capital");
    return source;
}

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((folder + L"*").c_str(), &data));
    if (!find) return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find.get(), &data));
    return names;
}
