// The command-line tool timed as whole processes, as a user meets it: its start-up (--help) and 1 MB of
// WordPad-style RTF converted to text and to HTML, each side by side with unrtf on the same file where unrtf
// is installed (Debian unrtf), runs taken in turn. Prints the median processor time (user + system) of each,
// the ratio to unrtf and the largest peak memory. Build with -DDATORIA_BUILD_BENCH=ON; run:
// build-bench/bin/bench_cli [RUNS]
#include "bench/RtfSample.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Usage
{
    double cpuSeconds = 0;
    long peakKilobytes = 0;
};

/** Runs a program to its end with its standard output and error thrown away; its processor time and peak. */
Usage RunOnce(const QStringList& command)
{
    std::vector<QByteArray> bytes;
    for (const QString& part : command)
        bytes.push_back(part.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& part : bytes)
        argv.push_back(part.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    Usage usage;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage r{};
        if (wait4(pid, &status, 0, &r) == pid) {
            usage.cpuSeconds = double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
                               double(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
            usage.peakKilobytes = r.ru_maxrss;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    return usage;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

/** Times ours and, where there is one, the peer in turn after a warm-up run of each. */
void Compare(const char* what, const QStringList& ours, const QStringList& peer, int runs)
{
    RunOnce(ours);
    if (!peer.isEmpty())
        RunOnce(peer);
    std::vector<double> ourTimes, peerTimes;
    long ourPeak = 0;
    for (int i = 0; i < runs; ++i) {
        const Usage a = RunOnce(ours);
        ourTimes.push_back(a.cpuSeconds);
        ourPeak = std::max(ourPeak, a.peakKilobytes);
        if (!peer.isEmpty())
            peerTimes.push_back(RunOnce(peer).cpuSeconds);
    }
    std::printf("%-14s datoria-cli %7.1f ms, peak %5.1f MB", what, Median(ourTimes) * 1e3, ourPeak / 1024.0);
    if (!peer.isEmpty())
        std::printf("; %s %7.1f ms; ratio %.2f", qPrintable(QFileInfo(peer[0]).fileName()),
                    Median(peerTimes) * 1e3, Median(ourTimes) / std::max(1e-9, Median(peerTimes)));
    std::printf("\n");
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::clamp(atoi(argv[1]), 1, 100) : 11;
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/datoria-cli");
    if (!QFile::exists(tool)) {
        std::fprintf(stderr, "bench_cli: no %s; build the datoria-cli target too\n", qPrintable(tool));
        return 1;
    }
    QTemporaryDir dir;
    const QString rtf = dir.filePath(QStringLiteral("one-megabyte.rtf"));
    QFile file(rtf);
    if (!file.open(QIODevice::WriteOnly) || file.write(bench::OneMegabyteOfRtf()) <= 0)
        return 1;
    file.close();
    const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
    if (unrtf.isEmpty())
        std::printf("(unrtf is not installed: no side-by-side figures)\n");
    const auto peer = [&](const char* option) {
        QStringList command;
        if (!unrtf.isEmpty())
            command << unrtf << QString::fromLatin1(option) << rtf;
        return command;
    };
    Compare("start-up", {tool, QStringLiteral("--help")}, {}, runs);
    Compare("RTF to text",
            {tool, QStringLiteral("rtf"), rtf, QStringLiteral("--to"), QStringLiteral("text"),
             QStringLiteral("-o"), dir.filePath(QStringLiteral("out.txt"))},
            peer("--text"), runs);
    Compare("RTF to HTML",
            {tool, QStringLiteral("rtf"), rtf, QStringLiteral("--to"), QStringLiteral("html"),
             QStringLiteral("-o"), dir.filePath(QStringLiteral("out.html"))},
            peer("--html"), runs);
    return 0;
}
