// How the bitmaps reach the library: the resource script on Windows, the
// embedded copies elsewhere; and that the committed files are what the
// generator draws.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <vector>

#include "tests/resources/resource_files.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>

#include "platform/gdi/embedded_bitmaps.h"
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes fileBytes(const std::string& path) { return BmpImage::fromFile(path).bytes(); }

#if defined(_WIN32)

// Bitmap resources hold the file without its 14-byte file header.
TEST(BitmapBuild, ResourceScriptNumbersEveryBitmap) {
    for (const BitmapFile& file : kBitmapFiles) {
        SCOPED_TRACE(file.name);
        HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(file.resourceId), MAKEINTRESOURCEA(2));  // RT_BITMAP
        ASSERT_NE(found, nullptr);
        HGLOBAL loaded = LoadResource(nullptr, found);
        ASSERT_NE(loaded, nullptr);
        const auto* data = static_cast<const std::uint8_t*>(LockResource(loaded));
        Bytes expected = fileBytes(resourcePath(file.name));
        ASSERT_GT(expected.size(), 14u);
        ASSERT_EQ(SizeofResource(nullptr, found), expected.size() - 14);
        EXPECT_TRUE(std::equal(expected.begin() + 14, expected.end(), data));

        HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(file.resourceId));
        ASSERT_NE(bitmap, nullptr);
        BITMAP description{};
        ASSERT_NE(GetObjectA(bitmap, sizeof description, &description), 0);
        BmpImage image(expected);
        EXPECT_EQ(description.bmWidth, image.width());
        EXPECT_EQ(description.bmHeight, image.storedHeight());
        DeleteObject(bitmap);
    }
}

#else

std::map<int, Bytes>& registered() {
    static std::map<int, Bytes> bitmaps;
    return bitmaps;
}

}  // namespace

// Stands in for the platform's registry: the embedded copies call it while
// the program starts.
void registerEmbeddedBitmap(int resourceId, const unsigned char* data, std::size_t size) {
    registered()[resourceId].assign(data, data + size);
}

namespace {

TEST(BitmapBuild, EveryBitmapIsEmbeddedUnderItsNumber) {
    ASSERT_EQ(registered().size(), std::size(kBitmapFiles));
    for (const BitmapFile& file : kBitmapFiles) {
        SCOPED_TRACE(file.name);
        ASSERT_EQ(registered().count(file.resourceId), 1u);
        Bytes expected = fileBytes(resourcePath(file.name));
        ASSERT_FALSE(expected.empty());
        EXPECT_TRUE(registered()[file.resourceId] == expected);
    }
}

TEST(BitmapBuild, GeneratorRedrawsTheCommittedFiles) {
    std::string python = RP_PYTHON;
    if (python.empty()) GTEST_SKIP() << "no python3 at configure time";
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() / ("roomplate_bitmaps_" + std::to_string(getpid()));
    fs::remove_all(folder);
    std::string command =
        "\"" + python + "\" \"" + resourcePath("draw_bitmaps.py") + "\" --out \"" + folder.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const BitmapFile& file : kBitmapFiles) {
        SCOPED_TRACE(file.name);
        Bytes drawn = fileBytes((folder / file.name).string());
        ASSERT_FALSE(drawn.empty());
        EXPECT_TRUE(drawn == fileBytes(resourcePath(file.name)))
            << "resources/" << file.name << " is out of date: run python3 resources/draw_bitmaps.py";
    }
    fs::remove_all(folder);
}

#endif

}  // namespace
