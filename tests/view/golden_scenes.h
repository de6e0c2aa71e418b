// The golden frames' scenes, read from tests/data/frames/scenes.txt.
#pragma once

#include <cstddef>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace lumetra {

struct GoldenScene {
    std::string name;
    std::string results;
    std::string settings;
    std::optional<std::size_t> current;
};

inline std::vector<GoldenScene> ReadGoldenScenes() {
    std::ifstream in(std::string(LUMETRA_TEST_DATA) + "/frames/scenes.txt");
    std::vector<GoldenScene> scenes;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        GoldenScene scene;
        std::string current;
        fields >> scene.name >> scene.results >> scene.settings >> current;
        if (current != "-") scene.current = std::stoul(current);
        scenes.push_back(scene);
    }
    return scenes;
}

}  // namespace lumetra
