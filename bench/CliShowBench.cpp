// `reelmarker-cli show --json` over the 1000 small files, one process per
// run, as a script would call it. The time includes the process start.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "BenchFiles.h"
#include "Benchmarks.h"

extern char** environ;

namespace bench {

namespace {

struct Outcome {
    bool started = false;
    int status = 0;  // as waitpid gives it
};

// Runs the program with the arguments, stdout to `out` and stderr to `err`,
// and waits for it.
Outcome Run(const std::filesystem::path& program, const std::vector<std::string>& args, const char* out,
            const char* err) {
    std::vector<char*> argv;
    std::string name = program.string();
    argv.push_back(name.data());
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    Outcome outcome;
    pid_t pid = 0;
    outcome.started = posix_spawn(&pid, name.c_str(), &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (!outcome.started) return outcome;
    while (::waitpid(pid, &outcome.status, 0) < 0 && errno == EINTR) {
    }
    return outcome;
}

bool Succeeded(const Outcome& outcome) {
    return outcome.started && WIFEXITED(outcome.status) && WEXITSTATUS(outcome.status) == 0;
}

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Why the program cannot be measured yet, or "" when it keeps the contract:
// exit status 0 and JSON on stdout for a good file.
std::string CheckContract(const std::filesystem::path& cli, const std::string& sample) {
    if (::access(cli.c_str(), X_OK) != 0) return cli.string() + " is not built yet";
    const auto out = std::filesystem::temp_directory_path() / ("reelmarker-bench-probe-" + std::to_string(::getpid()));
    const auto err = out.string() + ".err";
    const Outcome outcome = Run(cli, {"show", "--json", sample}, out.c_str(), err.c_str());
    const std::string text = Slurp(out);
    const std::string diagnostics = Slurp(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    if (!Succeeded(outcome)) return "reelmarker-cli show --json failed on a good file: " + diagnostics;
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos || (text[first] != '{' && text[first] != '[')) {
        return "reelmarker-cli show --json printed no JSON";
    }
    return "";
}

void CliShowJson(benchmark::State& state) {
    const std::filesystem::path cli = ExecutableDir() / "reelmarker-cli";
    const std::vector<std::string>& files = SmallFiles();
    if (const std::string problem = CheckContract(cli, files.front()); !problem.empty()) {
        state.SkipWithError(problem.c_str());
        for (auto _ : state) {
        }
        return;
    }
    std::vector<std::string> args = {"show", "--json"};
    args.insert(args.end(), files.begin(), files.end());

    for (auto _ : state) {
        const Outcome outcome = Run(cli, args, "/dev/null", "/dev/null");
        if (!Succeeded(outcome)) {
            state.SkipWithError("reelmarker-cli show --json did not exit with 0");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(files.size()));
}

}  // namespace

void RegisterCliShow() {
    benchmark::RegisterBenchmark("CliShowJson1000", CliShowJson)->Unit(benchmark::kMillisecond)->UseRealTime();
}

}  // namespace bench
