// skingen: recipes drawn at normal and doubled resolution into 24-bit .bmp files (anti-aliased
// edges, gradients, texts in the platform's fonts), stale bitmaps removed, and every recipe error
// reported with its file and line while nothing is written. Runs the built skingen.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TempRoot.h"
#include "platform/detail/Gdi.h"
#include "platform/windows.h"

namespace {

namespace fs = std::filesystem;

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string skingenPath() {
    return platform::testing::builtProgram("skingen");
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A decoded .bmp file written by skingen.
class Bmp {
  public:
    explicit Bmp(const fs::path& path) {
        std::string bytes = readAll(path);
        if (bytes.size() > 14 && bytes[0] == 'B' && bytes[1] == 'M')
            m_bitmap = platform::createBitmapFromDib(bytes.data() + 14, bytes.size() - 14);
        if (bytes.size() > 30) m_bits = static_cast<unsigned char>(bytes[28]);
    }
    ~Bmp() { DeleteObject(m_bitmap); }
    bool ok() const { return m_bitmap != nullptr; }
    int bits() const { return m_bits; }
    int width() const { return platform::surfaceOf(m_bitmap)->width(); }
    int height() const { return platform::surfaceOf(m_bitmap)->height(); }
    COLORREF at(int x, int y) const {
        return platform::colorFromPixel(platform::surfaceOf(m_bitmap)->pixel(x, y));
    }

  private:
    HBITMAP m_bitmap = nullptr;
    int m_bits = 0;
};

class SkinGen : public ::testing::Test {
  protected:
    void SetUp() override {
        m_root =
            fs::temp_directory_path() / ("skingen-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root / "skins");
    }
    void TearDown() override { fs::remove_all(m_root); }

    void recipe(const std::string& name, const std::string& text) {
        std::ofstream(m_root / "skins" / name) << text;
    }
    int run() {
        std::string command = quoted(skingenPath()) + " --output " + quoted((m_root / "out").string());
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(m_root / "skins"))
            files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files)
            command += " " + quoted(file.string());
        command += " 2>" + quoted((m_root / "err.txt").string());
        int status = std::system(command.c_str());
        m_errors = readAll(m_root / "err.txt");
        return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    fs::path bitmap(int id) const { return m_root / "out" / "bitmaps" / (std::to_string(id) + ".bmp"); }

    fs::path m_root;
    std::string m_errors;
};

TEST_F(SkinGen, DrawsBothResolutionsWithSmoothEdges) {
    recipe("key.skin",
           "# a key\nbitmap 10 11\nsize 40 20\nrect 0 0 40 20 0,0,200 200,0,0\n"
           "round 4 4 32 12 6 255,255,255\nline 0 19.5 40 19.5 1 0,255,0\n");
    ASSERT_EQ(run(), 0) << m_errors;
    Bmp normal(bitmap(10)), high(bitmap(11));
    ASSERT_TRUE(normal.ok() && high.ok());
    EXPECT_EQ(normal.bits(), 24);
    EXPECT_EQ(normal.width(), 40);
    EXPECT_EQ(normal.height(), 20);
    EXPECT_EQ(high.width(), 80);
    EXPECT_EQ(high.height(), 40);
    // Gradient from blue at the top to red at the bottom, and the line along the bottom row.
    EXPECT_GT(GetBValue(normal.at(1, 0)), 180);
    EXPECT_GT(GetRValue(normal.at(1, 18)), GetRValue(normal.at(1, 1)));
    EXPECT_EQ(normal.at(20, 19), RGB(0, 255, 0));
    EXPECT_EQ(high.at(40, 39), RGB(0, 255, 0));
    // The rounded key: white inside, partly covered pixels where its corners curve.
    EXPECT_EQ(normal.at(20, 10), RGB(255, 255, 255));
    EXPECT_EQ(high.at(40, 20), RGB(255, 255, 255));
    int partial = 0;
    for (int y = 4; y < 8; ++y)
        for (int x = 4; x < 8; ++x) {
            COLORREF c = normal.at(x, y);
            partial += GetGValue(c) > 10 && GetGValue(c) < 245 ? 1 : 0;
        }
    EXPECT_GE(partial, 2) << "anti-aliased corner";
}

TEST_F(SkinGen, TextIsDrawnInItsColourCentredInTheBox) {
    recipe("label.skin", "bitmap 20 21\nsize 60 20\ntext 0 0 60 20 10 700 255,255,0 \"OK\"\n");
    ASSERT_EQ(run(), 0) << m_errors;
    Bmp high(bitmap(21));
    ASSERT_TRUE(high.ok());
    int left = high.width(), right = -1, full = 0;
    for (int y = 0; y < high.height(); ++y)
        for (int x = 0; x < high.width(); ++x) {
            COLORREF c = high.at(x, y);
            if (c == RGB(0, 0, 0)) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            full += c == RGB(255, 255, 0) ? 1 : 0;
        }
    EXPECT_GT(full, 20);
    EXPECT_LE(std::abs((left + right) / 2 - high.width() / 2), 3) << left << ".." << right;
}

TEST_F(SkinGen, BitmapsOfRemovedRecipesAreRemoved) {
    recipe("a.skin", "bitmap 30 31\nsize 4 4\n");
    recipe("b.skin", "bitmap 32 33\nsize 4 4\n");
    ASSERT_EQ(run(), 0) << m_errors;
    EXPECT_TRUE(fs::exists(bitmap(32)));
    fs::remove(m_root / "skins" / "b.skin");
    ASSERT_EQ(run(), 0) << m_errors;
    EXPECT_TRUE(fs::exists(bitmap(30)));
    EXPECT_FALSE(fs::exists(bitmap(32)));
    EXPECT_FALSE(fs::exists(bitmap(33)));
}

TEST_F(SkinGen, RecipeErrorsNameFileAndLineAndWriteNothing) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"bitmap 1 2\nsize 10 10\nsquare 0 0 1 1 0,0,0\n", ":3: error: unknown command \"square\""},
        {"bitmap 3 4\nsize 10 10\nrect 0 0 5 5 300,0,0\n", ":3: error: 300 is outside 0 to 255"},
        {"bitmap 5 6\nsize 10 10\nrect 0 0 5 5 1,2\n", ":3: error: bad colour \"1,2\""},
        {"bitmap 7 8\nrect 0 0 5 5 1,2,3\n", ":2: error: bitmap and size come before the shapes"},
        {"bitmap 9 9\nsize 10 10\n", ":1: error: the two resource ids must differ"},
        {"bitmap 70000 12\nsize 10 10\n", ":1: error: 70000 is outside 0 to 65535"},
        {"bitmap 13 14\nsize 10 10\ntext 0 0 5 5 8 400 0,0,0 \"open\n",
         ":3: error: text without its closing quote"},
        {"bitmap 15 16\nsize 10 10\nround 0 0 5 0 1 0,0,0\n", ":3: error: a box needs a positive width"},
        {"bitmap 17 18\nsize 10 10\nline 0 0 5\n", ":3: error: line takes 6 values, not 3"},
        {"# nothing\n", ":1: error: a recipe needs a bitmap line and a size line"},
    };
    for (size_t i = 0; i < cases.size(); ++i)
        recipe("r" + std::to_string(i) + ".skin", cases[i].first);
    recipe("good.skin", "bitmap 200 201\nsize 4 4\n");
    recipe("twin.skin", "bitmap 202 201\nsize 4 4\n");
    EXPECT_EQ(run(), 1);
    EXPECT_FALSE(fs::exists(m_root / "out"));
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_NE(m_errors.find("r" + std::to_string(i) + ".skin" + cases[i].second), std::string::npos)
            << cases[i].second << " in\n"
            << m_errors;
    EXPECT_NE(m_errors.find("twin.skin: error: bitmap 201 is also made by"), std::string::npos) << m_errors;
}

}  // namespace
