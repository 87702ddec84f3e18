#include "sim/PanelSimulator.h"
#include "sim/SimOptions.h"
#include "simview/ShowSimulator.h"

#include <iostream>

int main(int argc, char** argv) {
    std::string error;
    const auto options = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "zyl-panel-sim: " << error << "\nTry 'zyl-panel-sim --help'.\n";
        return 2;
    }
    if (options->help) {
        std::cout << SimUsage();
        return 0;
    }
    // Only the window needs Qt; without it the panel serves as it always has.
    if (options->show)
        return ShowSimulator(*options, argc, argv, std::cout, std::cerr);
    return PanelSimulator(*options).Run(std::cout, std::cerr);
}
