#include "run_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

ProgramRun RunProgram(const std::string& path, const std::vector<std::string>& args,
                      const std::vector<std::string>& environment, const std::string& input)
{
    // A folder of the run's own in the test's temporary folder, gone with the run.
    std::string folder = ::testing::TempDir() + "kvorn-run-XXXXXX";
    if (!mkdtemp(folder.data()))
        return {};
    const std::string inPath = folder + "/in", outPath = folder + "/out", errPath = folder + "/err";
    std::ofstream(inPath, std::ios::binary) << input;

    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : environment)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);

    ProgramRun run;
    pid_t pid;
    if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = ReadFile(outPath);
    run.err = ReadFile(errPath);
    for (const std::string& file : {inPath, outPath, errPath})
        std::remove(file.c_str());
    rmdir(folder.c_str());
    return run;
}
