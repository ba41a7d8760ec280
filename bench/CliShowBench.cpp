// `reelmarker-cli show` over the 1000 small files, one process per run, as
// a script would call it, against a reader built on libsndfile that prints
// the same fields, in the same iterations; and `apply` of one CSV over the
// same files against `show --json`. The times include the process
// start, and each program writes into a pipe the benchmark drains.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <fstream>
#include <functional>
#include <utility>

#include "bench/BenchFiles.h"
#include "bench/Benchmarks.h"
#include "bench/Spawn.h"
#include "cli/XlsxWriter.h"

extern char** environ;

namespace bench {

namespace {

struct Outcome {
    bool ok = false;           // started, and exited with 0
    bool foundFaults = false;  // exited with 1, as `check` does for a file with an error
    std::string out;
    double seconds = 0;
    long peakKiB = 0;  // the child's largest resident set
};

// Runs the program with stdout into a pipe read to its end, stderr to
// /dev/null, and waits for it.
Outcome Run(const std::filesystem::path& program, const std::vector<std::string>& args, bool keepOutput = false) {
    std::vector<char*> argv;
    std::string name = program.string();
    argv.push_back(name.data());
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    Outcome outcome;
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return outcome;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const bool started = posix_spawn(&pid, name.c_str(), &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    std::array<char, 65536> chunk;
    for (ssize_t got; (got = ::read(pipeEnds[0], chunk.data(), chunk.size())) != 0;) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        if (keepOutput) outcome.out.append(chunk.data(), static_cast<std::size_t>(got));
    }
    ::close(pipeEnds[0]);
    if (!started) return outcome;
    const Spawned finished = WaitFor(pid, start);
    outcome.seconds = finished.seconds;
    outcome.ok = finished.ok;
    outcome.foundFaults = finished.exitStatus == 1;
    outcome.peakKiB = finished.peakKiB;
    return outcome;
}

std::function<std::vector<std::string>(std::size_t)> Fixed(std::vector<std::string> args) {
    return [args = std::move(args)](std::size_t) { return args; };
}

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& files) {
    args.insert(args.end(), files.begin(), files.end());
    return args;
}

// Why the programs cannot be measured, or "" when both are built and the
// CLI prints JSON for a good file.
std::string Problem(const std::filesystem::path& cli, const std::filesystem::path& peer, const std::string& sample) {
    for (const auto& program : {cli, peer}) {
        if (::access(program.c_str(), X_OK) != 0) return program.string() + " is not built yet";
    }
    const Outcome probe = Run(cli, {"show", "--json", sample}, true);
    if (!probe.ok || probe.out.rfind("{\"file\":", 0) != 0) return "reelmarker-cli show --json printed no JSON";
    return "";
}

using ArgsFor = std::function<std::vector<std::string>(std::size_t)>;

// Times `first` and `second` over the 1000 files, alternately in every
// iteration, reports the first's time and the ratio first / second. Each
// one's whole argument list for each iteration comes from its function,
// given the iteration's number. With `firstMayFindFaults`, the first may
// exit with 1 as well.
void CompareRuns(benchmark::State& state, const std::filesystem::path& firstProgram, const ArgsFor& firstArgsFor,
                 const std::filesystem::path& secondProgram, const ArgsFor& secondArgsFor,
                 bool firstMayFindFaults = false) {
    const std::filesystem::path cli = ExecutableDir() / "reelmarker-cli";
    const std::vector<std::string>& files = SmallFiles();
    if (const std::string problem = Problem(cli, ExecutableDir() / "reelmarker-sndfile-show", files.front());
        !problem.empty()) {
        state.SkipWithError(problem.c_str());
        for (auto _ : state) {
        }
        return;
    }
    double first = 0;
    double second = 0;
    std::size_t iteration = 0;
    for (auto _ : state) {
        const Outcome b = Run(secondProgram, secondArgsFor(iteration));
        const Outcome a = Run(firstProgram, firstArgsFor(iteration));
        ++iteration;
        if (!(a.ok || (firstMayFindFaults && a.foundFaults)) || !b.ok) {
            state.SkipWithError("a program did not exit with 0");
            return;
        }
        state.SetIterationTime(a.seconds);
        first += a.seconds;
        second += b.seconds;
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(files.size()));
    state.counters["other_ms"] = 1000 * second / static_cast<double>(state.iterations());
    state.counters["ratio"] = first / second;
}

// CompareRuns where the file names follow the first's arguments unless
// `firstNamesFiles`, and always follow the second's.
void Compare(benchmark::State& state, const std::filesystem::path& firstProgram, const ArgsFor& firstArgsFor,
             bool firstNamesFiles, const std::filesystem::path& secondProgram, std::vector<std::string> secondArgs,
             bool firstMayFindFaults = false) {
    const std::vector<std::string>& files = SmallFiles();
    secondArgs = With(std::move(secondArgs), files);
    CompareRuns(
        state, firstProgram,
        [&](std::size_t i) { return firstNamesFiles ? firstArgsFor(i) : With(firstArgsFor(i), files); }, secondProgram,
        [&](std::size_t) { return secondArgs; }, firstMayFindFaults);
}

void JsonAgainstLibsndfile(benchmark::State& state) {
    const auto dir = ExecutableDir();
    Compare(state, dir / "reelmarker-cli", Fixed({"show", "--json"}), false, dir / "reelmarker-sndfile-show", {});
}

void TextAgainstJson(benchmark::State& state) {
    const auto cli = ExecutableDir() / "reelmarker-cli";
    Compare(state, cli, Fixed({"show"}), false, cli, {"show", "--json"});
}

// An edits file giving every one of the 1000 files a new title and cut ID.
std::filesystem::path EditsCsv(const std::string& name, const std::string& title) {
    const std::filesystem::path path = std::filesystem::path(SmallFiles().front()).parent_path() / name;
    std::ofstream out(path, std::ios::binary);
    out << "file,title,cutId\r\n";
    for (std::size_t i = 0; i < SmallFiles().size(); ++i) {
        out << SmallFiles()[i] << ',' << title << ' ' << i << ",CUT-" << title << "\r\n";
    }
    return path;
}

// `apply` of one CSV over the 1000 files against `show --json` of them. The
// iterations alternate between two edits files, so every run rewrites every
// file (an edit equal to the file's value would write nothing).
void ApplyAgainstShowJson(benchmark::State& state) {
    const auto cli = ExecutableDir() / "reelmarker-cli";
    const std::array<std::string, 2> edits = {EditsCsv("edits-a.csv", "Morning").string(),
                                              EditsCsv("edits-b.csv", "Evening").string()};
    Compare(state, cli,
            [&](std::size_t i) {
                return std::vector<std::string>{"apply", edits[i % 2]};
            },
            true, cli, {"show", "--json"});
}

// `show --xlsx` over the 1000 files against `show --csv` of them: the
// workbook is the same rows, zipped.
void XlsxAgainstCsv(benchmark::State& state) {
    const auto cli = ExecutableDir() / "reelmarker-cli";
    const std::string workbook = (std::filesystem::path(SmallFiles().front()).parent_path() / "show.xlsx").string();
    Compare(state, cli, Fixed({"show", "--xlsx", workbook}), false, cli, {"show", "--csv"});
}

// The rows EditsCsv writes, as a workbook.
std::filesystem::path EditsXlsx(const std::string& name, const std::string& title) {
    const std::filesystem::path path = std::filesystem::path(SmallFiles().front()).parent_path() / name;
    std::vector<std::vector<std::string>> rows = {{"file", "title", "cutId"}};
    for (std::size_t i = 0; i < SmallFiles().size(); ++i) {
        rows.push_back({SmallFiles()[i], title + " " + std::to_string(i), "CUT-" + title});
    }
    cli::WriteTextSheet(path.string(), rows, 1);
    return path;
}

// `apply` of a 1000-row workbook against `apply` of the same rows as CSV.
// Four edits files taken in turn give every run new values to write.
void ApplyXlsxAgainstCsv(benchmark::State& state) {
    const auto cli = ExecutableDir() / "reelmarker-cli";
    const std::array<std::string, 2> workbooks = {EditsXlsx("edits-a.xlsx", "Noon").string(),
                                                  EditsXlsx("edits-b.xlsx", "Night").string()};
    const std::array<std::string, 2> csvs = {EditsCsv("edits-c.csv", "Dawn").string(),
                                             EditsCsv("edits-d.csv", "Dusk").string()};
    CompareRuns(
        state, cli,
        [&](std::size_t i) {
            return std::vector<std::string>{"apply", workbooks[i % 2]};
        },
        cli,
        [&](std::size_t i) {
            return std::vector<std::string>{"apply", csvs[i % 2]};
        });
}

// `check --json` reads the same chunks as `show --json`, and the data
// chunk's size, never the audio.
void CheckAgainstShowJson(benchmark::State& state) {
    const auto cli = ExecutableDir() / "reelmarker-cli";
    Compare(state, cli, Fixed({"check", "--json"}), false, cli, {"show", "--json"}, true);
}

// The CLI on a file whose bext chunk declares a 1 GiB coding history: its
// peak resident memory stays below 15 MiB.
void HugeBextPeakMemory(benchmark::State& state) {
    constexpr long kLimitKiB = 15 * 1024;
    const auto cli = ExecutableDir() / "reelmarker-cli";
    const std::string path = HugeBextWave(kGiB).string();
    long peak = 0;
    for (auto _ : state) {
        const Outcome run = Run(cli, {"show", "--json", path});
        if (!run.ok) {
            state.SkipWithError("reelmarker-cli show --json failed on the 1 GiB-bext file");
            return;
        }
        peak = std::max(peak, run.peakKiB);
    }
    state.counters["peak_KiB"] = static_cast<double>(peak);
    state.SetLabel("peak " + std::to_string(peak) + " KiB");
    if (peak >= kLimitKiB) state.SkipWithError("the CLI's peak memory reached 15 MiB");
}

}  // namespace

void RegisterCliShow() {
    // Each times one run against another in the same iterations.
    const std::pair<const char*, void (*)(benchmark::State&)> paired[] = {
        {"CliShowJson1000/vs_libsndfile", JsonAgainstLibsndfile},
        {"CliShowText1000/vs_json", TextAgainstJson},
        {"CliApplyCsv1000/vs_show_json", ApplyAgainstShowJson},
        {"CliShowXlsx1000/vs_csv", XlsxAgainstCsv},
        {"CliApplyXlsx1000/vs_csv", ApplyXlsxAgainstCsv},
        {"CliCheckJson1000/vs_show_json", CheckAgainstShowJson},
    };
    for (const auto& [name, run] : paired)
        benchmark::RegisterBenchmark(name, run)->Unit(benchmark::kMillisecond)->UseManualTime();
    benchmark::RegisterBenchmark("CliShowHugeBext/1GiB", HugeBextPeakMemory)->Unit(benchmark::kMillisecond);
}

}  // namespace bench
