#pragma once
// Frame benchmarks on every instruction path the machine has, side by side. The plug-in settles its
// path once per process (KYROX_SIMD can only lower it), so the program runs itself once per path,
// each run with KYROX_SIMD naming its path and writing its results as JSON, and then prints each
// benchmark's frame time per path with the speed-up over the SSE2 baseline. Include it in one
// source file of a program and call run_on_every_path from main.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/platform/simd/simd_path.h"

extern char** environ;

namespace {

// The program's benchmarks in this process, on whatever path it has.
int run_here(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Runs this program again with the same arguments on one path; returns its exit status.
int run_child(int argc, char** argv, kyrox::simd::SimdPath path, const std::filesystem::path& results)
{
    std::vector<std::string> arguments(argv, argv + argc);
    arguments.push_back("--benchmark_out=" + results.string());
    arguments.push_back("--benchmark_out_format=json");
    std::vector<char*> args;
    for (std::string& a : arguments) {
        args.push_back(a.data());
    }
    args.push_back(nullptr);
    std::string setting = "KYROX_SIMD=" + std::string(kyrox::simd::simd_path_name(path));
    std::vector<char*> environment;
    for (char** e = environ; *e != nullptr; ++e) {
        environment.push_back(*e);
    }
    environment.push_back(setting.data());
    environment.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, args.data(), environment.data()) != 0) {
        std::perror("cannot run the benchmarks again");
        return 1;
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return 1;
    }
    return WEXITSTATUS(status);
}

// One row of the table: a benchmark's best frame time on each path, in milliseconds.
struct PathTimes {
    std::string name;
    std::map<kyrox::simd::SimdPath, double> ms;
};

// The fastest repetition of each benchmark with an ms_per_frame counter, in the order they ran.
// Returns false when the file cannot be read as the library's JSON.
bool read_frame_times(const std::filesystem::path& results, kyrox::simd::SimdPath path, std::vector<PathTimes>& rows)
{
    std::ifstream in(results);
    std::stringstream text;
    text << in.rdbuf();
    // The library writes a NaN counter (a zero mean's coefficient of variation) as a bare NaN, which is
    // not JSON; those entries are aggregates, which the table does not read.
    const std::regex not_a_number(R"((: *)-?(nan|inf|infinity)\b)", std::regex::icase);
    const std::string cleaned = std::regex_replace(text.str(), not_a_number, "$1null");
    const nlohmann::json json = nlohmann::json::parse(cleaned, nullptr, false);
    if (json.is_discarded() || !json.contains("benchmarks")) {
        return false;
    }
    for (const nlohmann::json& run : json["benchmarks"]) {
        if (run.value("run_type", "") != "iteration" || !run.contains("ms_per_frame") ||
            !run["ms_per_frame"].is_number()) {
            continue;
        }
        std::string name = run.value("run_name", "");
        if (const std::string label = run.value("label", ""); !label.empty()) {
            name += " (" + label + ")";
        }
        const double ms = run["ms_per_frame"].get<double>();
        auto row = std::find_if(rows.begin(), rows.end(), [&](const PathTimes& r) { return r.name == name; });
        if (row == rows.end()) {
            rows.push_back({name, {}});
            row = rows.end() - 1;
        }
        const auto known = row->ms.find(path);
        row->ms[path] = known == row->ms.end() ? ms : std::min(known->second, ms);
    }
    return true;
}

void print_table(const std::vector<PathTimes>& rows, const std::vector<kyrox::simd::SimdPath>& paths)
{
    using kyrox::simd::SimdPath;
    std::size_t width = 9;
    for (const PathTimes& row : rows) {
        width = std::max(width, row.name.size());
    }
    std::printf("\nms per frame by path (best repetition), and the speed-up over sse2\n%-*s", static_cast<int>(width),
                "benchmark");
    for (const SimdPath path : paths) {
        std::printf(" %9s", std::string(kyrox::simd::simd_path_name(path)).c_str());
    }
    for (std::size_t k = 1; k < paths.size(); ++k) {
        std::printf(" %9s", (std::string(kyrox::simd::simd_path_name(paths[k])) + " x").c_str());
    }
    std::printf("\n");
    for (const PathTimes& row : rows) {
        std::printf("%-*s", static_cast<int>(width), row.name.c_str());
        for (const SimdPath path : paths) {
            const auto ms = row.ms.find(path);
            ms != row.ms.end() ? std::printf(" %9.2f", ms->second) : std::printf(" %9s", "-");
        }
        const auto base = row.ms.find(SimdPath::sse2);
        for (std::size_t k = 1; k < paths.size(); ++k) {
            const auto ms = row.ms.find(paths[k]);
            base != row.ms.end() && ms != row.ms.end() ? std::printf(" %9.2f", base->second / ms->second)
                                                       : std::printf(" %9s", "-");
        }
        std::printf("\n");
    }
}

// With KYROX_SIMD set, on a machine with SSE2 alone, or to list the benchmarks, the program runs here
// on its one path.
int run_on_every_path(int argc, char** argv)
{
    using kyrox::simd::SimdPath;
    const bool listing = std::any_of(argv + 1, argv + argc, [](const std::string_view a) {
        return a == "--help" || a.starts_with("--benchmark_list_tests");
    });
    if (listing || std::getenv("KYROX_SIMD") != nullptr || kyrox::simd::widest_path() == SimdPath::sse2) {
        return run_here(argc, argv);
    }
    std::vector<SimdPath> paths;
    for (auto p = static_cast<int>(SimdPath::sse2); p <= static_cast<int>(kyrox::simd::widest_path()); ++p) {
        paths.push_back(static_cast<SimdPath>(p));
    }
    std::vector<PathTimes> rows;
    for (const SimdPath path : paths) {
        const std::string name(kyrox::simd::simd_path_name(path));
        const std::filesystem::path results =
            std::filesystem::temp_directory_path() / ("kyrox-bench-" + std::to_string(getpid()) + "-" + name + ".json");
        std::cout << "\n== " << name << " ==" << std::endl;
        const int status = run_child(argc, argv, path, results);
        if (status != 0) {
            return status;
        }
        if (!read_frame_times(results, path, rows)) {
            std::cerr << "cannot read the " << name << " results in " << results.string() << "\n";
            return 1;
        }
        std::error_code ignored;
        std::filesystem::remove(results, ignored);
    }
    print_table(rows, paths);
    return 0;
}

}  // namespace
