// kyrox-render: the program's flow is run_kyrox_render, which tests and fuzzing call as well.
#include <iostream>
#include <string_view>
#include <vector>

#include "minihost/cli/kyrox_render_run.h"

int main(int argc, char** argv)
{
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    return minihost::run_kyrox_render(arguments, std::cout, std::cerr);
}
