// Runs a program with a given standard input and collects its standard output and standard
// error apart, waiting with poll() and a deadline; a program still alive at the deadline is
// killed and reported as such.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <vector>

extern char** environ;

namespace dovrel_test {

struct ProcessResult {
  std::string out;
  std::string err;
  int exitCode = -1;   // -1 when the program did not exit normally
  bool timedOut = false;
};

inline ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                                const std::string& input, const std::string& workingDir,
                                std::chrono::seconds limit = std::chrono::seconds(30)) {
  ProcessResult result;
  int inPipe[2], outPipe[2], errPipe[2];
  if (pipe2(inPipe, O_CLOEXEC) != 0 || pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) {
    return result;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
  if (!workingDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingDir.c_str());
  std::vector<std::string> argvText{program};
  argvText.insert(argvText.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argvText) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(inPipe[0]);
  close(outPipe[1]);
  close(errPipe[1]);
  if (spawned != 0) {
    close(inPipe[1]);
    close(outPipe[0]);
    close(errPipe[0]);
    return result;
  }
  signal(SIGPIPE, SIG_IGN);
  fcntl(inPipe[1], F_SETFL, O_NONBLOCK);

  int inFd = inPipe[1];
  std::size_t sent = 0;
  if (input.empty()) {
    close(inFd);
    inFd = -1;
  }
  int outFd = outPipe[0], errFd = errPipe[0];
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (outFd >= 0 || errFd >= 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      result.timedOut = true;
      kill(pid, SIGKILL);
      break;
    }
    pollfd fds[3] = {{inFd, POLLOUT, 0}, {outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    if (poll(fds, 3, static_cast<int>(left.count())) < 0 && errno != EINTR) break;
    if (inFd >= 0 && (fds[0].revents & (POLLOUT | POLLERR | POLLHUP))) {
      const ssize_t n = write(inFd, input.data() + sent, input.size() - sent);
      if (n > 0) sent += static_cast<std::size_t>(n);
      if (n < 0 && errno != EAGAIN && errno != EINTR) sent = input.size();
      if (sent == input.size()) {
        close(inFd);
        inFd = -1;
      }
    }
    for (int i = 1; i <= 2; ++i) {
      int& fd = i == 1 ? outFd : errFd;
      if (fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char block[4096];
      const ssize_t n = read(fd, block, sizeof block);
      if (n > 0) {
        (i == 1 ? result.out : result.err).append(block, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        close(fd);
        fd = -1;
      }
    }
  }
  if (inFd >= 0) close(inFd);
  if (outFd >= 0) close(outFd);
  if (errFd >= 0) close(errFd);
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  return result;
}

}  // namespace dovrel_test
