// A signal stops a render cleanly: checked in a forked child, since the
// handler and its flag last for the whole process.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <sstream>

#include "CommandRun.h"
#include "TestAudio.h"
#include "render/Interruption.h"
#include "support/TemporaryDirectory.h"

namespace {

// The child's exit status after the signal came before its render.
int renderAfterSignal(int signalNumber, const std::filesystem::path& directory) {
  const pid_t child = fork();
  if (child == 0) {
    installInterruptionHandler();
    std::raise(signalNumber);
    std::ostringstream out;
    std::ostringstream err;
    RenderConsole console{out, err, false};
    const int status = runRenderCommand(
        {"--module", ECHO_MODULE_PATH, (directory / "in.wav").string(), (directory / "out.wav").string()},
        console);
    _exit(status == 1 && err.str() == "torvix-render: interrupted\n" ? 0 : 3);
  }
  int status = -1;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Interruption, HangUpTerminateAndInterruptStopARenderWithoutLeavingAFile) {
  TemporaryDirectory directory;
  writeTestAudio(directory / "in.wav", {1, 44100, pluckLikeSignal(5000, 110.0)});
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
    EXPECT_EQ(renderAfterSignal(signalNumber, directory.path()), 0) << signalNumber;
    EXPECT_EQ(fileNamesIn(directory.path()), std::set<std::string>{"in.wav"}) << signalNumber;
  }
}

}  // namespace
