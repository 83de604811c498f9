// Every test executable runs in the environment its tests are written for, however it is started
// (by CTest, or directly as `LANG=de_DE.UTF-8 ./tst_report`): the C locale, whose dates the program
// shows as M/d/yyyy and whose system error texts are English; UTC, so that "today" does not depend
// on the machine's zone; and, unless another platform was chosen, offscreen windows. Behaviour that
// depends on the locale is tested row by row with QLocale::setDefault.
//
// It runs before main(), so QCoreApplication's setlocale() and Qt's system locale read these values.
// Linked into each test as an object file: from a static library the linker would drop it, since
// nothing refers to it.
#include <cstdlib>
#include <ctime>

#ifdef _WIN32
#include <QCoreApplication>
#include <QFont>
#endif

namespace {

struct PinnedEnvironment {
    PinnedEnvironment()
    {
#ifdef _WIN32
        // Windows (under Wine, scripts/try-windows.sh) takes its locale and zone from the
        // environment the process started in, which CTest sets; these serve the C library.
        ::_putenv_s("LC_ALL", "C.UTF-8");
        ::_putenv_s("LANGUAGE", "");
        ::_putenv_s("TZ", "UTC");
        ::_tzset();
        if (!std::getenv("QT_QPA_PLATFORM"))
            ::_putenv_s("QT_QPA_PLATFORM", "offscreen");
        // Qt's offscreen platform on Windows reads its fonts from one folder only: the DejaVu faces
        // of the machine Wine runs on (drive Z:), the faces the tests see on Linux.
        if (!std::getenv("QT_QPA_FONTDIR"))
            ::_putenv_s("QT_QPA_FONTDIR", "Z:\\usr\\share\\fonts\\truetype\\dejavu");
#else
        ::setenv("LC_ALL", "C.UTF-8", 1); // glibc has C.UTF-8 built in: nothing to generate
        ::unsetenv("LANGUAGE");
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
#endif
    }
};

const PinnedEnvironment pinned;

#ifdef _WIN32
// That font database matches families by their exact names, with no fallback: the design's
// Windows faces are sent to DejaVu Sans, as fontconfig does on Linux.
void windowsFacesToDejaVu()
{
    for (const char *face : {"MS Sans Serif", "Microsoft Sans Serif", "Arial", "Helvetica", "Segoe UI"})
        QFont::insertSubstitution(QString::fromLatin1(face), QStringLiteral("DejaVu Sans"));
}
Q_COREAPP_STARTUP_FUNCTION(windowsFacesToDejaVu)
#endif

} // namespace
