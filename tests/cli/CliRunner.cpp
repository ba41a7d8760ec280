#include "tests/cli/CliRunner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/WaveBuilder.h"

namespace {

std::string Slurp(const std::filesystem::path& path) {
    const fixture::ByteVector bytes = fixture::ReadFile(path);
    return {bytes.begin(), bytes.end()};
}

}  // namespace

// Output goes to files rather than pipes, so a large report cannot block
// the child while the parent waits for it.
CliRun RunCli(const std::vector<std::string>& args) {
    fixture::TempDir dir;
    const auto outPath = dir.file("out");
    const auto errPath = dir.file("err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);

    std::vector<std::string> argv = {REELMARKER_CLI};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv) pointers.push_back(arg.data());
    pointers.push_back(nullptr);

    CliRun run;
    pid_t pid = 0;
    if (posix_spawn(&pid, REELMARKER_CLI, &actions, nullptr, pointers.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = Slurp(outPath);
    run.err = Slurp(errPath);
    return run;
}
