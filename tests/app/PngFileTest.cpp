#include "shell/app/PngFile.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/PngPicture.h"
#include "tests/support/TempDir.h"

namespace {

std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        }
        closedir(dir);
    }
    return names;
}

// A picture whose every pixel differs from its neighbours, rows from the top.
std::vector<uint8_t> gradient(int width, int height) {
    std::vector<uint8_t> rgb;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            rgb.push_back(static_cast<uint8_t>(x * 7));
            rgb.push_back(static_cast<uint8_t>(y * 11));
            rgb.push_back(static_cast<uint8_t>(x + y));
        }
    }
    return rgb;
}

TEST(PngFileTest, WritesThePictureTopRowFirstAndReplacesAnOldFileWhole) {
    TempDir dir;
    const std::string path = dir.write("shot.png", std::string(100000, 'x'));
    const std::vector<uint8_t> rgb = gradient(37, 21);
    std::string error;
    ASSERT_TRUE(writePngFile(path, 37, 21, rgb, error)) << error;

    const PngPicture back = PngPicture::read(path);
    EXPECT_EQ(37, back.width);
    EXPECT_EQ(21, back.height);
    EXPECT_EQ(rgb, back.rgb);
    EXPECT_EQ(std::vector<std::string>{"shot.png"}, entries(dir.path())) << "no temporary file left behind";
    struct stat info;
    ASSERT_EQ(0, stat(path.c_str(), &info));
    EXPECT_NE(0u, info.st_mode & S_IRGRP) << "readable like any file the user makes";
}

TEST(PngFileTest, AFailureNamesTheReasonAndLeavesNoFile) {
    TempDir dir;
    const std::vector<uint8_t> rgb = gradient(16, 16);
    std::string error;

    EXPECT_FALSE(writePngFile(dir.file("missing/shot.png"), 16, 16, rgb, error));
    EXPECT_EQ("No such file or directory", error);

    dir.write("file", "");
    EXPECT_FALSE(writePngFile(dir.file("file/shot.png"), 16, 16, rgb, error));
    EXPECT_EQ("Not a directory", error);

    // A folder where the picture should go: the temporary file is written, then cannot take its place.
    ASSERT_EQ(0, mkdir(dir.file("taken").c_str(), 0755));
    EXPECT_FALSE(writePngFile(dir.file("taken"), 16, 16, rgb, error));
    EXPECT_EQ("Is a directory", error);
    EXPECT_EQ(2u, entries(dir.path()).size()) << "only 'file' and 'taken'";
    EXPECT_TRUE(entries(dir.file("taken")).empty());
}

TEST(PngFileTest, NamesUpToTheLongestTheFolderTakesAreWritten) {
    TempDir dir;
    const std::vector<uint8_t> rgb = gradient(4, 4);
    const struct {
        size_t length;
        const char* error;
    } cases[] = {{249, ""}, {250, ""}, {255, ""}, {256, "File name too long"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string name = std::string(c.length - 4, 'n') + ".png";
        std::string error;
        EXPECT_EQ(*c.error == '\0', writePngFile(dir.file(name), 4, 4, rgb, error));
        EXPECT_EQ(c.error, error);
        EXPECT_EQ(*c.error == '\0' ? 4 : 0, PngPicture::read(dir.file(name)).width);
    }
    EXPECT_EQ(3u, entries(dir.path()).size()) << "the three pictures, no temporary file";
}

}  // namespace
