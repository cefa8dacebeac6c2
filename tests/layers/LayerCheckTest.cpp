#include "tools/layers/LayerCheck.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace poronpa::layers {
namespace {

const char* const Table = R"(# a small tree
base:
world: base   # the world stands on the base
play: world
shell: play
)";

struct TreeCase {
    const char* name;
    const char* file;
    const char* text;
    const char* fault; ///< a part of the one fault expected, or empty for none
};

class LayerCheckTest : public ::testing::TestWithParam<TreeCase> {};

TEST_P(LayerCheckTest, FindsEachWrongInclude)
{
    const TreeCase& c = GetParam();
    test::TempDir tree;
    std::filesystem::create_directories(tree.path() / "base");
    std::filesystem::create_directories(tree.path() / "world");
    std::filesystem::create_directories(tree.path() / "play");
    test::writeText(tree.path() / "base/File.h", "#pragma once\n");
    test::writeText(tree.path() / "world/Map.h", "#include \"base/File.h\"\n");
    test::writeText(tree.path() / "play/Engine.cpp", "#include \"Engine.h\"\n#include \"base/File.h\"\n");
    // Left out of the check: the tests and build folders.
    std::filesystem::create_directories(tree.path() / "tests/play");
    test::writeText(tree.path() / "tests/play/EngineTest.cpp", "#include \"shell/Window.h\"\n");
    std::filesystem::create_directories(tree.path() / "build-x");
    test::writeText(tree.path() / "build-x/moc.cpp", "#include \"shell/Window.h\"\n");
    if (*c.file != '\0') {
        std::filesystem::create_directories((tree.path() / c.file).parent_path());
        test::writeText(tree.path() / c.file, c.text);
    }

    std::vector<std::string> faults;
    const LayerTable table = LayerTable::parse(Table, faults);
    ASSERT_TRUE(faults.empty()) << faults.front();
    faults = check(table, scanIncludes(tree.path()));
    if (*c.fault == '\0') {
        EXPECT_TRUE(faults.empty()) << faults.front();
        return;
    }
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_NE(faults[0].find(c.fault), std::string::npos) << faults[0];
}

INSTANTIATE_TEST_SUITE_P(
    Trees, LayerCheckTest,
    ::testing::Values(
        TreeCase{"Clean", "", "", ""},
        TreeCase{"TwoLayersDown", "shell/Window.cpp", "#include \"world/Map.h\"\n", ""},
        TreeCase{"WrongWay", "world/Rules.cpp", "  #  include \"play/Engine.h\"\n",
                 "world/Rules.cpp:1 includes \"play/Engine.h\": world may not use play"},
        TreeCase{"Sideways", "base/Shell.h", "#include <vector>\n#include \"shell/Window.h\"\n",
                 "base/Shell.h:2"},
        TreeCase{"UnnamedFolder", "sound/Mixer.cpp", "#include \"base/File.h\"\n",
                 "sound holds code (sound/Mixer.cpp) but has no place in the layers"},
        TreeCase{"UnnamedFolderWithoutIncludes", "sound/Mixer.h", "#pragma once\n", "sound holds code"},
        TreeCase{"SupportSharedByTests", "tests/support/Fixture.h", "#include \"base/File.h\"\n",
                 "tests/support holds code"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LayerTableTest, FaultsOfTheTableItself)
{
    struct Case {
        const char* table;
        const char* fault;
    };
    const Case cases[] = {
        {"a: b\nb: c\nc: a\n", "the uses form a cycle: "},
        {"a: a\n", "the uses form a cycle: a -> a"},
        {"a: nowhere\n", "a uses nowhere, which the table does not name"},
        {"a:\na:\n", "line 2: a is named twice"},
        {"a b\n", "line 1: \"a b\" has no ':'"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> faults;
        LayerTable::parse(c.table, faults);
        ASSERT_FALSE(faults.empty()) << c.table;
        EXPECT_NE(faults[0].find(c.fault), std::string::npos) << faults[0];
    }
}

} // namespace
} // namespace poronpa::layers
