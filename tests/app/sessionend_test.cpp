// The end of a session that does not pass through the window: SIGTERM and
// SIGINT turned into an ordinary end through the event loop, in this process
// and in real runs of the program, where the favourites must then be in
// Config.ini. A favourite that is a named pipe must not hold up start-up.
#include "app/sessionend.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <csignal>
#include <string>
#include <vector>

#include "app/realrun.h"

namespace quillon::app {
namespace {

TEST(SessionEnd, EachSignalSavesThenEndsOnTheEventLoopNotInTheHandler) {
  for (const int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signal);
    std::vector<std::string> calls;
    const SessionEnd end([&] { calls.push_back("save"); }, [&] { calls.push_back("end"); });
    ASSERT_TRUE(end.watching());
    ASSERT_EQ(std::raise(signal), 0);
    EXPECT_TRUE(calls.empty());  // nothing ran inside the handler
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, (std::vector<std::string>{"save", "end"}));
    QCoreApplication::processEvents();
    EXPECT_EQ(calls.size(), 2u);  // one signal, one end
  }
}

// Config.ini with these favourites after the first run.
QByteArray favouritesConfig(const QStringList& paths) {
  QByteArray text = "[FirstExec]\nValue=1\n[FavorisLink]\n";
  for (int k = 0; k < paths.size(); ++k) {
    text += QByteArray::number(k + 1) + "=" + paths[k].toUtf8() + "\n";
  }
  return text + "[Favoris]\nNb=" + QByteArray::number(paths.size()) + "\n";
}

class SessionEndRun : public RealRun {
 protected:
  // Starts the copy in `name` and waits until its start-up has read
  // Config.ini (the first run, just before the favourites, rewrites
  // "FirstExec" from "0" to "1"); then sends `signal`.
  RunningProgram startThenSignal(const QString& name, int signal) {
    const QString ini = folder(name + "/Config.ini");
    QByteArray config = readFile(ini);
    config.replace("Value=1", "Value=0");
    writeFile(ini, config);
    RunningProgram program = start(folder(name + "/quillon"));
    EXPECT_TRUE(pollUntil([&] { return readFile(ini).contains("Value=1"); }));
    ::kill(static_cast<pid_t>(program->processId()), signal);
    return program;
  }
  void expectNormalEnd(QProcess& program) {
    ASSERT_TRUE(program.waitForFinished(kQuickEndMs)) << "the program did not end";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
  }
};

TEST_F(SessionEndRun, ASignalEndsTheProgramNormallyWithTheFavouritesWritten) {
  for (const int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signal);
    const QString name = QString("studio%1").arg(signal);
    ASSERT_TRUE(QDir().mkpath(folder(name)));
    const QString show = folder(name + "/show.pal");
    ASSERT_TRUE(writeFile(show, "[0]\nTITLE=/j/a.mp3\n"));
    const QString pipe = folder(name + "/pipe.pal");
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    // The missing favourite and the pipe are left out from start-up on (the
    // pipe without holding it up): what the program writes at its end shows
    // that it wrote. The signal is answered only once the event loop runs.
    const QString program =
        installCopy(name, favouritesConfig({folder(name + "/gone.pal"), pipe, show}));
    ASSERT_FALSE(program.isEmpty());
    auto run = startThenSignal(name, signal);
    expectNormalEnd(*run);
    const QByteArray stored = readFile(folder(name + "/Config.ini"));
    EXPECT_TRUE(stored.contains("Nb=1\n") && stored.contains("1=" + show.toUtf8() + "\n"))
        << stored.toStdString();
  }
}

}  // namespace
}  // namespace quillon::app
