// The program the recovery kill test kills: the real main window on the offscreen platform,
// painted through its view with the mouse, gesture after gesture, until it is killed. After each
// finished gesture it says which map it has ("F <n> <hash>"), and once the store has written it
// ("D <n>"), so that the test knows what a restore may give back.
//
// Arguments: a seed for the gestures, then optionally the map file to start with. The settings
// folder comes in ZK_TEST_SETTINGS; the data folder (where the store lives) in XDG_DATA_HOME.
#include <QApplication>
#include <QSettings>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "res/resource.h"
#include "support/frame_harness.h"
#include "support/map_hash.h"
#include "tools/tool_settings.h"

namespace {

using namespace zk::res;

// A gesture ends as the frame ends one: the paint pass lands it, then the flush the frame's
// timer makes hands it to the store. The map is said before the flush: once the store has the
// step, a kill may come at any moment, and the test must know the map by then.
void Finish(zk_test::FrameHarness& f, int n) {
    f.Paint();
    f.view()->CommitToolWork();
    std::printf("F %d %" PRIu64 "\n", n, zk_test::MapHash(f.doc().m_bitmap));
    std::fflush(stdout);
    f.frame()->FlushRecovery();
    f.frame()->Recovery()->WaitIdle();
    std::printf("D %d\n", n);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const char* settings = std::getenv("ZK_TEST_SETTINGS");
    if (argc < 2 || !settings || !std::getenv("XDG_DATA_HOME")) {
        std::fprintf(stderr, "usage: ZK_TEST_SETTINGS=DIR XDG_DATA_HOME=DIR %s SEED [MAP]\n",
                     argv[0]);
        return 2;
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings);
    const unsigned seed = static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10));
    QStringList args;
    if (argc > 2)
        args << QString::fromLocal8Bit(argv[2]);
    // Qt takes its own options from argv; only the program's name goes to it.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    zk_test::FrameHarness f(args);
    if (!f.ok || !f.frame()->Recovery()) {
        std::fprintf(stderr, "the main window or its recovery store did not start\n");
        return 1;
    }
    f.view()->m_gridOn = 0;
    f.Paint();
    Finish(f, 0);

    std::mt19937 rng(seed);
    const auto pick = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    // Inside the view's window whatever size the offscreen screen gives it.
    const auto x = [&] { return pick(8, 220); };
    const auto y = [&] { return pick(8, 160); };
    const int sizes[] = {ID_SIZE_NONE, ID_SIZE_SMALL, ID_SIZE_MEDIUM, ID_SIZE_LARGE};
    // Capped, so that a run nobody kills ends by itself.
    for (int n = 1; n <= 400; ++n) {
        const Qt::MouseButton button = pick(0, 3) == 0 ? Qt::RightButton : Qt::LeftButton;
        zk::ToolSettings::fill = pick(0, 15);
        zk::ToolSettings::secfill = pick(0, 15);
        const int kind = pick(0, 9);
        if (kind == 0 && f.doc().CanUndo()) {
            f.frame()->OnCommand(ID_EDIT_UNDO);
        } else if (kind == 1 && f.doc().CanRedo()) {
            f.frame()->OnCommand(ID_EDIT_REDO);
        } else if (kind <= 4) {
            f.frame()->OnCommand(ID_TOOL_FREEHAND);
            f.frame()->OnCommand(sizes[pick(0, 3)]);
            int px = x(), py = y();
            f.Move(px, py);
            f.Press(px, py, button);
            for (int i = pick(2, 8); i > 0; --i) {
                px = x();
                py = y();
                f.Move(px, py, button);
            }
            f.Release(px, py, button);
        } else if (kind <= 7) {
            f.frame()->OnCommand(ID_TOOL_TILES);
            f.frame()->OnCommand(sizes[pick(0, 3)]);
            int px = x(), py = y();
            f.Move(px, py);
            f.Press(px, py, button);
            f.Paint();
            // Sometimes dragged on, stamping more tiles with the button held.
            for (int i = pick(0, 3); i > 0; --i) {
                px = x();
                py = y();
                f.Move(px, py, button);
            }
            f.Release(px, py, button);
        } else {
            f.frame()->OnCommand(ID_TOOL_RECTANGLE);
            f.Drag(x(), y(), x(), y(), button);
        }
        Finish(f, n);
    }
    return 0;
}
