// Checks that every include of the source tree runs down the layers that tools/layers/layers.txt
// sets out:  poronpa-layers SOURCE_ROOT [TABLE]
#include "app/base/StandardOptions.h"
#include "tools/layers/LayerCheck.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <set>

int main(int argc, char** argv)
{
    using namespace poronpa;
    const char* usage = "Usage: poronpa-layers SOURCE_ROOT [TABLE]\n"
                        "Checks that every include of the source tree runs down the layers the\n"
                        "table sets out (by default SOURCE_ROOT/tools/layers/layers.txt).\n";
    if (answerHelpOrVersion(argc, argv, "poronpa-layers", usage))
        return 0;
    if (argc < 2 || argc > 3 || anyOption(argc, argv))
        return refuseArguments(usage);
    const std::filesystem::path root = argv[1];
    const std::filesystem::path tablePath = argc == 3 ? std::filesystem::path(argv[2])
                                                      : root / "tools/layers/layers.txt";
    std::ifstream in(tablePath);
    if (!in) {
        std::cerr << "poronpa-layers: " << tablePath.string() << ": cannot be read\n";
        return 2;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::string> faults;
    const layers::LayerTable table = layers::LayerTable::parse(text, faults);
    const std::vector<layers::Include> includes = layers::scanIncludes(root);
    for (std::string& fault : layers::check(table, includes))
        faults.push_back(std::move(fault));
    for (const std::string& fault : faults)
        std::cerr << "poronpa-layers: " << fault << "\n";
    if (!faults.empty())
        return 1;
    std::set<std::string> files;
    for (const layers::Include& include : includes)
        files.insert(include.file);
    std::cout << files.size() << " files, " << includes.size()
              << " includes: every one runs down the layers\n";
    return 0;
}
