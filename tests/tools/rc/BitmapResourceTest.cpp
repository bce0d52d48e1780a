// rc's bitmap input: .bmp files in bitmaps/ become RT_BITMAP resources holding the packed DIB (the
// file without its file header, rows moved up to the colour table), which the platform decodes; bad
// files and names are reported and nothing is written. Runs the built rc on temporary folders.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
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
using Bytes = std::vector<uint8_t>;

void putLe(Bytes& out, uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A .bmp file: file header (rows at 54 + palette + gap), BITMAPINFOHEADER, palette, gap, rows.
Bytes bmpFile(int width, int height, int bits, uint32_t compression, const Bytes& palette, const Bytes& rows,
              uint32_t gap = 0) {
    uint32_t rowsAt = 54 + static_cast<uint32_t>(palette.size()) + gap;
    Bytes out{'B', 'M'};
    putLe(out, rowsAt + static_cast<uint32_t>(rows.size()), 4);
    putLe(out, 0, 4);
    putLe(out, rowsAt, 4);
    putLe(out, 40, 4);
    putLe(out, static_cast<uint32_t>(width), 4);
    putLe(out, static_cast<uint32_t>(height), 4);
    putLe(out, 1, 2);
    putLe(out, static_cast<uint32_t>(bits), 2);
    putLe(out, compression, 4);
    for (uint32_t value :
         {static_cast<uint32_t>(rows.size()), 0u, 0u, static_cast<uint32_t>(palette.size() / 4), 0u})
        putLe(out, value, 4);
    out.insert(out.end(), palette.begin(), palette.end());
    out.insert(out.end(), gap, 0xEE);
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

// 3 x 2 pixels of 24 bits, bottom-up: the bottom row red, green, blue; the top row white, black, grey.
Bytes rgbRows() {
    return Bytes{0,   0,   255, 0, 255, 0, 255, 0,   0,   0, 0, 0,  // bottom row, padded to 12 bytes
                 255, 255, 255, 0, 0,   0, 128, 128, 128, 0, 0, 0};
}

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string rcPath() {
    return platform::testing::builtProgram("rc");
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class RcBitmaps : public ::testing::Test {
  protected:
    void SetUp() override {
        m_root =
            fs::temp_directory_path() / ("rc-bitmaps-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root / "mod" / "bitmaps");
    }
    void TearDown() override { fs::remove_all(m_root); }

    void write(const std::string& name, const Bytes& bytes, const std::string& folder = "mod") {
        fs::create_directories(m_root / folder / "bitmaps");
        std::ofstream out(m_root / folder / "bitmaps" / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    // Runs rc on the folders; returns its exit status and keeps its error output.
    int runRc(const std::vector<std::string>& folders = {"mod"}) {
        std::string command = quoted(rcPath()) + " --module mod";
        for (const std::string& folder : folders)
            command += " --input " + quoted((m_root / folder).string());
        command +=
            " --source " + quoted(source().string()) + " --header " + quoted((m_root / "out.h").string());
        command += " 2>" + quoted((m_root / "err.txt").string());
        int status = std::system(command.c_str());
        m_errors = readAll(m_root / "err.txt");
        return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path source() const { return m_root / "out.cpp"; }

    // The bytes of the resource whose origin comment is "mod/bitmaps/<file>" in the generated source.
    Bytes resourceBytes(const std::string& file) const {
        std::string text = readAll(source());
        size_t at = text.find("// mod/bitmaps/" + file + "\nalignas(4) const BYTE");
        if (at == std::string::npos) return {};
        size_t open = text.find('{', at), close = text.find("};", at);
        Bytes bytes;
        std::istringstream values(text.substr(open + 1, close - open - 1));
        for (std::string word; values >> word;)
            bytes.push_back(static_cast<uint8_t>(std::stoul(word, nullptr, 16)));
        return bytes;
    }

    fs::path m_root;
    std::string m_errors;
};

COLORREF decodedPixel(const Bytes& dib, int x, int y) {
    HBITMAP bitmap = platform::createBitmapFromDib(dib.data(), dib.size());
    if (bitmap == nullptr) return CLR_INVALID;
    COLORREF colour = platform::colorFromPixel(platform::surfaceOf(bitmap)->pixel(x, y));
    DeleteObject(bitmap);
    return colour;
}

TEST_F(RcBitmaps, TwentyFourBitFileBecomesItsDibWithoutTheFileHeader) {
    Bytes file = bmpFile(3, 2, 24, 0, {}, rgbRows());
    write("131.bmp", file);
    ASSERT_EQ(runRc(), 0) << m_errors;
    Bytes dib = resourceBytes("131.bmp");
    EXPECT_EQ(dib, Bytes(file.begin() + 14, file.end()));
    EXPECT_NE(readAll(source()).find("{{2, nullptr}, {131, nullptr}, kData0, 64}"), std::string::npos);
    EXPECT_EQ(decodedPixel(dib, 0, 1), RGB(255, 0, 0));
    EXPECT_EQ(decodedPixel(dib, 2, 1), RGB(0, 0, 255));
    EXPECT_EQ(decodedPixel(dib, 2, 0), RGB(128, 128, 128));
}

TEST_F(RcBitmaps, RowsAfterAGapFollowThePaletteInTheResource) {
    Bytes palette{0, 0, 0, 0, 40, 80, 120, 0};  // black, RGB(120, 80, 40)
    Bytes rows{0x40, 0, 0, 0, 0x80, 0, 0, 0};   // 2 x 2 at 1 bit: bottom row 0,1; top row 1,0
    Bytes file = bmpFile(2, 2, 1, 0, palette, rows, 10);
    write("LOGO.bmp", file);
    ASSERT_EQ(runRc(), 0) << m_errors;
    Bytes dib = resourceBytes("LOGO.bmp");
    ASSERT_EQ(dib.size(), 40u + palette.size() + rows.size());
    EXPECT_TRUE(std::equal(rows.begin(), rows.end(), dib.end() - static_cast<long>(rows.size())));
    EXPECT_EQ(decodedPixel(dib, 1, 1), RGB(120, 80, 40));
    EXPECT_EQ(decodedPixel(dib, 0, 0), RGB(120, 80, 40));
    EXPECT_EQ(decodedPixel(dib, 1, 0), RGB(0, 0, 0));
    EXPECT_NE(readAll(source()).find("kName0[] = u\"LOGO\""), std::string::npos);
}

TEST_F(RcBitmaps, BadFilesAreReportedAndNothingIsWritten) {
    Bytes good = bmpFile(3, 2, 24, 0, {}, rgbRows());
    Bytes truncated(good.begin(), good.end() - 5);
    Bytes compressed = bmpFile(3, 2, 8, 1 /* BI_RLE8 */, Bytes(1024, 0), rgbRows());
    Bytes twoBits = bmpFile(3, 2, 2, 0, {}, rgbRows());
    Bytes zeroWidth = bmpFile(0, 2, 24, 0, {}, rgbRows());
    Bytes hugePalette = bmpFile(3, 2, 8, 0, {}, rgbRows());
    hugePalette[14 + 32] = 0x01;  // biClrUsed 257
    hugePalette[14 + 33] = 0x01;
    write("150.bmp", Bytes{'h', 'e', 'l', 'l', 'o'});
    write("151.bmp", truncated);
    write("152.bmp", compressed);
    write("153.bmp", twoBits);
    write("154.bmp", zeroWidth);
    write("155.bmp", hugePalette);
    write("156.bmp", Bytes{'B', 'M'});
    EXPECT_EQ(runRc(), 1);
    EXPECT_FALSE(fs::exists(source()));
    for (const char* expected :
         {"150.bmp: error: not a BMP file", "151.bmp: error: truncated", "152.bmp: error: compressed",
          "153.bmp: error: unsupported depth of 2", "154.bmp: error: bad size",
          "155.bmp: error: bad colour table", "156.bmp: error: not a BMP file"})
        EXPECT_NE(m_errors.find(expected), std::string::npos) << expected << " in\n" << m_errors;
}

TEST_F(RcBitmaps, BadIdsAndDuplicatesAreReported) {
    Bytes good = bmpFile(3, 2, 24, 0, {}, rgbRows());
    for (const char* name : {"70000.bmp", "x-y.bmp", "131.png", "-1.bmp"})
        write(name, good);
    write("131.bmp", good);
    write("131.bmp", good, "other");
    EXPECT_EQ(runRc({"mod", "other"}), 1);
    EXPECT_FALSE(fs::exists(source()));
    for (const char* name : {"70000.bmp", "x-y.bmp", "131.png", "-1.bmp"})
        EXPECT_NE(m_errors.find(std::string(name) + ": error: bad bitmap file name"), std::string::npos)
            << name << " in\n"
            << m_errors;
    EXPECT_NE(m_errors.find("duplicate resource"), std::string::npos) << m_errors;
}

}  // namespace
