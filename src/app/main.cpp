#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>

#include "app/main_frame.h"
#include "app/zk_app.h"
#include "res/icons.h"

namespace {

int g_signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char c = 1;
    // Only async-signal-safe work here: the event loop does the rest.
    [[maybe_unused]] const ssize_t n = write(g_signalPipe[1], &c, 1);
}

// SIGTERM, SIGINT and SIGHUP close the program as a desktop session's log-out does: the main
// window goes away (writing the pattern library) and the settings are written, without
// questions.
void InstallSignalHandlers(zk::CMainFrame* frame) {
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [frame, notifier] {
        char c;
        [[maybe_unused]] const ssize_t n = read(g_signalPipe[0], &c, 1);
        notifier->setEnabled(false);
        frame->CloseWithoutAsking();
        QApplication::quit();
    });
    struct sigaction sa = {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    {
        // Answered before any window system is needed, so they work on a bare terminal too.
        QStringList args;
        for (int i = 1; i < argc; ++i)
            args << QString::fromLocal8Bit(argv[i]);
        QString text;
        if (zk::CZKApp::InfoOption(args, &text)) {
            std::fputs(text.toLocal8Bit().constData(), stdout);
            return 0;
        }
        // An export is a script's work: done before any window system exists, so that it needs
        // no display; it prints nothing but the reason it fails.
        const zk::CZKApp::CommandLine line = zk::CZKApp::ParseCommandLine(args);
        if (line.exporting) {
            QString error;
            const int status = zk::CZKApp::RunExport(line, &error);
            if (status != 0)
                std::fprintf(stderr, "zk: %s\n", error.toLocal8Bit().constData());
            return status;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZK"));
    QApplication::setOrganizationName(QStringLiteral("ZK"));
    QApplication::setWindowIcon(zk::res::AppIcon());
    zk::CZKApp::StartLanguage(*zk::CZKApp::OpenSettings());

    zk::CZKApp theApp;
    // Without the options Qt took for itself (-style, -platform, ...).
    const QStringList args = QApplication::arguments().mid(1);
    if (!theApp.InitInstance(args)) {
        if (!theApp.ErrorText().isEmpty()) {
            std::fprintf(stderr, "zk: %s\n", theApp.ErrorText().toLocal8Bit().constData());
            if (theApp.ExitCode() == zk::CZKApp::kMisuseStatus)
                std::fputs(zk::CZKApp::UsageText().toLocal8Bit().constData(), stderr);
            zk::CZKApp::ShowStartError(theApp.ErrorBoxText(), args);
        }
        theApp.ExitInstance();
        return theApp.ExitCode();
    }
    InstallSignalHandlers(theApp.MainFrame());
    const int code = QApplication::exec();
    theApp.ExitInstance();
    return code;
}
