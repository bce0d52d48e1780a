// rc on folders written by the test: what it accepts, how it reports bad input (file, line, reason,
// all problems in one run) and that a failed run writes nothing and keeps earlier output.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "TempRoot.h"

namespace {

namespace fs = std::filesystem;

std::string rcProgram() {
    return platform::testing::builtProgram("rc");
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class ResourceCompiler : public ::testing::Test {
  protected:
    struct Run {
        int status;
        std::string errors;
    };

    void write(const std::string& relative, const std::string& text) {
        fs::path path = input() / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    Run run(const std::string& arguments) {
        std::string command =
            "'" + rcProgram() + "' " + arguments + " 2> '" + (out() / "errors.txt").string() + "'";
        int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out() / "errors.txt")};
    }

    Run compile() {
        fs::create_directories(out());
        return run("--module sample --input '" + input().string() + "' --source '" + source().string() +
                   "' --header '" + (out() / "Sample.h").string() + "'");
    }

    fs::path input() const { return fs::path(m_root.path()) / "in"; }
    fs::path out() const { return fs::path(m_root.path()) / "out"; }
    fs::path source() const { return out() / "Sample.cpp"; }

  private:
    platform::testing::TempRoot m_root;
};

TEST_F(ResourceCompiler, CompilesStringsAndTextResources) {
    write("strings.txt", "# comment\n\n7\tseven\r\n");
    write("strings-more.txt", "8\t\\u0416\n");
    write("text/ABC/198.txt", "/ / ABC/ABC\n");
    write("recipes/ignored.svg", "not a resource");
    Run result = compile();
    ASSERT_EQ(result.status, 0) << result.errors;
    std::string generated = readFile(source());
    EXPECT_NE(generated.find("const platform::ResourceTable& sampleResourceTable()"), std::string::npos);
    EXPECT_NE(generated.find("u\"ABC\""), std::string::npos);
    EXPECT_NE(readFile(out() / "Sample.h").find("sampleResourceTable();"), std::string::npos);
}

TEST_F(ResourceCompiler, ReportsEveryBadLineWithFileLineAndReason) {
    write("strings.txt",
          "1\tfine\n"
          "2\tbad \\q escape\n"
          "1\tagain\n"
          "12x\tletters in the id\n"
          "70000\ttoo large\n"
          "3 no tab\n"
          "4\t\n"
          "5\t\xC3\x28 broken\n");
    Run result = compile();
    EXPECT_EQ(result.status, 1);
    const std::string file = (input() / "strings.txt").string();
    for (const std::string expected :
         {":2: error: bad escape", ":3: error: duplicate string id 1 (first defined at",
          ":4: error: bad string id \"12x\"", ":5: error: bad string id \"70000\"",
          ":6: error: expected a string id, a tab and the text", ":7: error: string 4 has an empty text",
          ":8: error: malformed UTF-8"}) {
        EXPECT_NE(result.errors.find(file + expected), std::string::npos) << expected << "\n"
                                                                          << result.errors;
    }
    EXPECT_NE(result.errors.find("7 error(s)"), std::string::npos) << result.errors;
    EXPECT_FALSE(fs::exists(source()));
}

TEST_F(ResourceCompiler, ReportsBadTextResourcesAndDuplicatesAcrossFiles) {
    write("strings.txt", "9\tnine\n");
    write("strings-more.txt", "9\tnine again\n");
    write("text/ABC/198.txt", "a");
    write("text/abc/0198.txt", "b");
    write("text/ABC/two words.txt", "c");
    write("text/6/1.txt", "d");
    Run result = compile();
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.errors.find("strings.txt:1: error: duplicate string id 9"), std::string::npos)
        << result.errors;
    EXPECT_NE(result.errors.find("duplicate resource"), std::string::npos) << result.errors;
    EXPECT_NE(result.errors.find("two words.txt: error: bad text resource"), std::string::npos)
        << result.errors;
    EXPECT_NE(result.errors.find("6: error: bad resource type"), std::string::npos) << result.errors;
}

TEST_F(ResourceCompiler, AFailedRunKeepsTheEarlierOutput) {
    write("strings.txt", "1\tfirst\n");
    ASSERT_EQ(compile().status, 0);
    std::string before = readFile(source());
    write("strings.txt", "1\tfirst\n1\tduplicate\n");
    EXPECT_EQ(compile().status, 1);
    EXPECT_EQ(readFile(source()), before);
}

TEST_F(ResourceCompiler, RejectsABadCommandLineOrAMissingFolder) {
    fs::create_directories(out());
    EXPECT_EQ(run("--module sample").status, 2);
    EXPECT_EQ(run("--module 9lives --input x --source y --header z").status, 2);
    Run missing = compile();
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.errors.find("is not a folder"), std::string::npos) << missing.errors;
}

}  // namespace
