// The Windows program under Wine on a virtual display, met as a person meets it: the window and
// its pixels, every launcher button with a recording rundll32.exe beside the program, the
// information buttons' answers read back through the clipboard, the about box read from the
// Windows side, the two ways to end it, and the window at higher DPI settings. And the program
// files as Windows' loader and Explorer see them (objdump, wrestool): the executable's kind, the
// DLLs it needs, its key icon, its version record and the window definition it carries.
#include "ArtworkChecks.h"
#include "Desktop.h"
#include "Form1/DefinitionReader.h"
#include "actions/AppletCommands.h"
#include "actions/Handlers.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>

namespace zanthera::e2e {
namespace {

// `make test-win32` points these at the 32-bit program, its prefix and 32-bit helpers.
QString setting(const char* name, const QString& fallback) {
    return qEnvironmentVariable(name, fallback);
}
const QString prefix = setting("ZANTHERA_WINE_PREFIX", ZANTHERA_WINE_PREFIX_DEFAULT);
const QString exe = setting("ZANTHERA_WINE_EXE", ZANTHERA_WINDOWS_DIR "/x64/zanthera.exe");
const QString helpers = setting("ZANTHERA_WINE_HELPERS", ZANTHERA_WINE_HELPERS_DIR);
const QString wine = setting("ZANTHERA_WINE_LOADER", ZANTHERA_WINE_LOADER_DEFAULT);
// How many times longer than native every wait may be: emulated 32-bit Wine is that much slower.
const int patience = std::max(1, setting("ZANTHERA_WINE_PATIENCE", "1").toInt());
// Its highest bit is set, so the program must show it as a negative number.
constexpr auto volumeSerial = "c0ffee11";

QProcessEnvironment wineEnvironment(const QString& display) {
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("WINEPREFIX", prefix);
    environment.insert("WINEDEBUG", "-all");
    // Nor the menu builder, which every start of the server runs and emulation makes slow, nor
    // the debugger Wine attaches to a process that crashes: under emulation its desktop process
    // crashes as it starts, and the debugger would then keep the server up past the test's end.
    // And the stand-in put in the system folder runs rather than Wine's own rundll32.
    environment.insert("WINEDLLOVERRIDES",
                       "mscoree,mshtml=;winemenubuilder.exe,winedbg.exe=d;rundll32.exe=n");
    environment.insert("DISPLAY", display);
    return environment;
}

// Runs a Wine tool or Windows helper to its end and returns what it printed, or nothing if it
// failed or did not end within `limit`.
std::optional<QString> run(const QString& display, const QString& tool, const QStringList& args,
                           std::chrono::milliseconds limit = 90s) {
    QProcess process;
    process.setProcessEnvironment(wineEnvironment(display));
    process.start(tool, args);
    if (!process.waitForFinished(int(limit.count()) * patience)) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput());
}

QByteArray output(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(60000);
    return process.readAllStandardOutput();
}

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The system folder a program's rundll32.exe comes from, as WOW64 redirects a 32-bit program.
QString systemFolder() {
    const bool x86 = output("objdump", {"-f", exe}).contains("file format pei-i386");
    const QString windows = prefix + "/drive_c/windows/";
    return x86 && QDir(windows + "syswow64").exists() ? windows + "syswow64" : windows + "system32";
}

// The program with a recording rundll32.exe in the prefix's system folder, in place of Wine's,
// and another planted beside the program, where a download folder might hold one: only the
// system's may ever run. On a screen large enough for the window at 192 DPI.
class ProgramUnderWine : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(display.ok());
        ASSERT_TRUE(QFile::exists(exe)) << exe.toStdString() << ": run make windows first";
        ASSERT_TRUE(QFile::copy(exe, folder.filePath("zanthera.exe")));
        ASSERT_TRUE(
            QFile::copy(helpers + "/RecordingRundll32.exe", folder.filePath("rundll32.exe")));
        // Wine's own is put back at the end; one a broken run left aside is kept.
        if (!QFile::exists(wineRundll32())) {
            ASSERT_TRUE(QFile::rename(systemRundll32(), wineRundll32()));
        }
        QFile::remove(systemRundll32());
        ASSERT_TRUE(QFile::copy(helpers + "/RecordingRundll32.exe", systemRundll32()));
        removeLaunches();
        QFile serial(prefix + "/drive_c/.windows-serial");
        ASSERT_TRUE(serial.open(QIODevice::WriteOnly) && serial.write(volumeSerial) > 0);
        serial.close();
        // One server for the test, on its display: a server that is started boots the prefix
        // (minutes under emulation), and one that outlives its last program only a moment would
        // end between the registry step and the program's start, and the program boot it again.
        // It still ends once its programs have, so that nothing left behind goes unnoticed.
        run(display.name(), "wineserver", {"-k"});
        run(display.name(), "wineserver", {"-p" + QString::number(2 * patience)});
        start(96);
    }
    // The prefix is shared: whatever runs in it next expects the usual 96 DPI.
    void TearDown() override {
        if (registryDpi != 96)
            setDpi(96);
        program.reset();
        run(display.name(), "wineserver", {"-k"});
        removeLaunches();
        if (QFile::exists(wineRundll32()) && QFile::remove(systemRundll32()))
            QFile::rename(wineRundll32(), systemRundll32());
    }

    static QString systemRundll32() { return systemFolder() + "/rundll32.exe"; }
    static QString wineRundll32() { return systemFolder() + "/rundll32.exe.wine"; }
    static void removeLaunches() {
        QDir system(systemFolder());
        for (const QString& name : system.entryList({"launch-*"}, QDir::Files))
            system.remove(name);
    }

    bool setDpi(int setting) {
        const bool done = run(display.name(), wine,
                              {"reg", "add", R"(HKCU\Control Panel\Desktop)", "/v", "LogPixels",
                               "/t", "REG_DWORD", "/d", QString::number(setting), "/f"})
                              .has_value();
        registryDpi = done ? setting : registryDpi;
        return done;
    }

    // Starts the program afresh at a DPI setting and waits for its window.
    void start(int setting) {
        program.reset();
        ASSERT_TRUE(setDpi(setting));
        program = std::make_unique<RunningProgram>(display, wineEnvironment(display.name()), wine,
                                                   QStringList{folder.filePath("zanthera.exe")});
        const auto found = program->waitForWindow(windowTitle, 60s * patience);
        ASSERT_TRUE(found) << program->errors().toStdString();
        window = *found;
    }

    // The window once it has finished painting: two grabs a moment apart agree.
    QImage settledShot() {
        QImage last, shot = program->grab(window);
        for (int i = 0; i < 40 * patience && shot != last; ++i) {
            last = shot;
            QThread::msleep(250);
            shot = program->grab(window);
        }
        return shot;
    }

    // The command lines the system's recording rundll32.exe saw, in the order they were started,
    // once `count` are written.
    QStringList launches(int count) {
        QStringList lines;
        const QDir system(systemFolder());
        for (QDeadlineTimer deadline(60s * patience); !deadline.hasExpired(); QThread::msleep(50)) {
            lines.clear();
            for (const QString& name : system.entryList({"launch-*"}, QDir::Files, QDir::Name))
                lines << QString::fromUtf8(contentsOf(system.filePath(name)));
            if (lines.size() >= count &&
                lines.filter(QRegularExpression("\n$")).size() == lines.size())
                break;
        }
        return lines.replaceInStrings("\n", "");
    }

    // The program ends with status 0, and every Wine process of the prefix with it.
    void expectEndsCleanly() {
        EXPECT_EQ(program->waitForExit(20s * patience), 0);
        EXPECT_TRUE(run(display.name(), "wineserver", {"-w"}, 20s).has_value())
            << "a Wine process was left behind";
    }

    VirtualDisplay display{"2048x1536x24"};
    int registryDpi = 96;
    QTemporaryDir folder;
    std::unique_ptr<RunningProgram> program;
    unsigned long window = 0;
};

// The height of the lettering inside `place`, over the background picture that shows through.
int letteringHeight(const QImage& shot, const QRect& place) {
    const QImage background = artwork("Form1.bmp");
    QList<int> rows;
    for (int y = place.top(); y <= place.bottom(); ++y)
        for (int x = place.left(); x <= place.right(); ++x)
            if (QColor(shot.pixel(x, y)).lightness() + 60 <
                QColor(background.pixel(x, y)).lightness())
                rows << y;
    return rows.isEmpty() ? 0 : rows.last() - rows.first() + 1;
}

// One start for all of it: the pixels, the information buttons, every launcher button, the about
// box and the exit button.
TEST_F(ProgramUnderWine, ShowsTheDesignedWindowAndEveryButtonDoesItsWork) {
    const QImage shot = settledShot();
    ASSERT_EQ(shot.size(), QSize(425, 508));
    expectTheArtwork(shot);
    EXPECT_EQ(QColor(shot.pixel(51, 227)), QColor(128, 128, 128)); // Wine's inactive caption
    // Every caption at its designed size, the long one too: lettering 10 to 12 pixels high, as
    // the Linux program draws it, where a face that is too wide gets shrunk to fit (6 pixels).
    for (const auto& row : design::controls) {
        if (row.role == design::Role::CaptionLabel) {
            EXPECT_GE(letteringHeight(shot, pixelRect(row)), 9) << row.name;
        }
    }

    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const passwd* user = getpwuid(getuid());
    ASSERT_NE(user, nullptr);
    const std::pair<std::string_view, QString> answers[] = {
        {"Command1", "2048 * 1536"},
        {"Command13", QString::fromUtf8(host).section('.', 0, 0)}, // whole, as the user wrote it
        {"Command4", QString::fromUtf8(user->pw_name)},
        {"Command2", QString::number(qint32(QString(volumeSerial).toUInt(nullptr, 16)))},
    };
    for (const auto& [button, answer] : answers) {
        program->click(window, button);
        // Under emulation Wine's desktop process, which hands the clipboard over to X, dies as it
        // starts: what the program copied is then read from the Windows side.
        QString text = program->resultBoxText(window);
        if (text.isEmpty())
            text = run(display.name(), wine, {helpers + "/MessageBoxTexts.exe"}).value_or("");
        EXPECT_EQ(text, answer) << button;
    }

    // One click after another, each rundll32.exe started while the others may still run.
    QStringList expected;
    for (const auto& row : appletCommands) {
        program->click(window, row.button);
        expected << QString::fromUtf8(row.commandLine.data(), qsizetype(row.commandLine.size()));
    }
    EXPECT_EQ(launches(int(expected.size())), expected);
    EXPECT_TRUE(QDir(folder.path()).entryList({"launch-*"}, QDir::Files).isEmpty())
        << "a rundll32.exe beside the program ran";

    // Wine's message box does not copy itself on Ctrl+C: its texts are read from the Windows side.
    const QString title = QString::fromUtf8(aboutTitle.data(), qsizetype(aboutTitle.size()));
    program->click(window, "Command9");
    const auto box = program->waitForWindow(title, 20s * patience);
    ASSERT_TRUE(box);
    const auto texts = run(display.name(), wine, {helpers + "/MessageBoxTexts.exe", title});
    ASSERT_TRUE(texts);
    QStringList lines = texts->split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.takeFirst(), title);
    lines.sort();
    EXPECT_EQ(lines, QStringList({"Button|OK",
                                  "Static|" + QString::fromUtf8(aboutPrompt.data(),
                                                                qsizetype(aboutPrompt.size()))}));
    program->key(*box, "Return");
    EXPECT_TRUE(program->windowGone(title, 10s * patience));
    EXPECT_FALSE(program->waitForExit(200ms)) << "the window stays open";

    program->click(window, "Command8");
    expectEndsCleanly();
}

// Pixels of the window at `scale` whose colour lies outside the colours round the same place of
// the window at 96 DPI, with room for smoothing and rounding. Left out: the labels and the result
// box (their lettering does not scale uniformly), the focus mark on Cmm1, and the bands where
// the buttons' edges lie (the system draws them as thick at every DPI).
int scaledMismatches(const QImage& design, const QImage& scaled, double scale) {
    const auto leftOut = [](QPoint at) {
        return std::any_of(design::controls.begin(), design::controls.end(), [&](const auto& r) {
            const QRect edge = pixelRect(r).adjusted(-2, -2, 2, 2);
            const bool face = r.role == design::Role::Button && r.name != "Cmm1";
            return edge.contains(at) && !(face && edge.adjusted(5, 5, -5, -5).contains(at));
        });
    };
    int mismatches = 0;
    for (int y = 0; y < scaled.height(); ++y)
        for (int x = 0; x < scaled.width(); ++x) {
            const QPoint at(int(x / scale), int(y / scale));
            if (leftOut(at))
                continue;
            QColor low(255, 255, 255), high(0, 0, 0), c(scaled.pixel(x, y));
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx) {
                    const QColor d(design.pixel(std::clamp(at.x() + dx, 0, design.width() - 1),
                                                std::clamp(at.y() + dy, 0, design.height() - 1)));
                    low.setRgb(std::min(low.red(), d.red()), std::min(low.green(), d.green()),
                               std::min(low.blue(), d.blue()));
                    high.setRgb(std::max(high.red(), d.red()), std::max(high.green(), d.green()),
                                std::max(high.blue(), d.blue()));
                }
            const auto outside = [](int v, int lowest, int highest) {
                return v < lowest - 8 || v > highest + 8;
            };
            mismatches += outside(c.red(), low.red(), high.red()) ||
                          outside(c.green(), low.green(), high.green()) ||
                          outside(c.blue(), low.blue(), high.blue());
        }
    return mismatches;
}

// The design scaled uniformly at 120 and 192 DPI, and the close box ends it.
TEST_F(ProgramUnderWine, IsTheDesignScaledUniformlyAt120And192DpiAndTheCloseBoxEndsIt) {
    const QImage design = settledShot();
    ASSERT_EQ(design.size(), QSize(425, 508));
    for (int dpi : {120, 192}) {
        SCOPED_TRACE(dpi);
        start(dpi);
        if (HasFatalFailure())
            return;
        const double scale = dpi / 96.0;
        const QImage shot = settledShot();
        EXPECT_LE(std::abs(shot.width() - 425 * scale), 1.0);
        EXPECT_LE(std::abs(shot.height() - 508 * scale), 1.0);
        EXPECT_EQ(scaledMismatches(design, shot, scale), 0);
    }
    EXPECT_TRUE(setDpi(96)); // while the program keeps the server up
    program->requestClose(window);
    expectEndsCleanly();
}

// The 32-bit program, and the x86_64 one that the tests under Wine run.
class WindowsProgramFile : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QFile::exists(program)) << program.toStdString() << ": run make windows first";
    }
    // A resource's bytes by type and number, in its first language; empty when absent.
    QByteArray resource(int type, int id) const {
        return output("wrestool", {"-x", "--raw", "-t", QString::number(type), "-n",
                                   QString::number(id), program});
    }
    const QString program = ZANTHERA_WINDOWS_DIR "/" + QString::fromStdString(GetParam());
};

TEST_P(WindowsProgramFile, IsAWindowsGuiProgramForItsProcessorNeedingOnlyTheSystemsDlls) {
    const QString headers = output("objdump", {"-p", program});
    const bool x64 = GetParam().starts_with("x64/");
    EXPECT_TRUE(headers.contains(x64 ? "file format pei-x86-64\n" : "file format pei-i386\n"));
    EXPECT_TRUE(headers.contains(x64 ? "(PE32+)" : "(PE32)"));
    // The Windows GUI subsystem: no console window.
    EXPECT_TRUE(headers.contains(QRegularExpression("\nSubsystem\\s+00000002\\s")));
    // Only Windows' known DLLs, which Windows takes from the system folder whatever lies beside
    // the program: any other would be looked for in a download folder first.
    const std::set<QString> system{"kernel32.dll", "user32.dll",   "gdi32.dll", "advapi32.dll",
                                   "msvcrt.dll",   "shell32.dll",  "ole32.dll", "oleaut32.dll",
                                   "shlwapi.dll",  "comdlg32.dll", "imm32.dll", "ws2_32.dll"};
    std::set<QString> imports;
    for (const auto& match : QRegularExpression("DLL Name: (\\S+)").globalMatch(headers))
        imports.insert(match.captured(1).toLower());
    EXPECT_TRUE(imports.contains("kernel32.dll"));
    for (const auto& name : imports)
        EXPECT_TRUE(system.contains(name)) << name.toStdString() << " is not part of Windows";
}

TEST_P(WindowsProgramFile, CarriesTheWindowsKeyIconByteForByte) {
    const QByteArray block = contentsOf(ZANTHERA_DEFINITION_BLOCK);
    auto model = readDefinition(std::vector<std::uint8_t>(block.begin(), block.end()));
    ASSERT_TRUE(model) << model.error().message;
    const QByteArray ico(reinterpret_cast<const char*>(model->form.icon.data()),
                         qsizetype(model->form.icon.size()));
    ASSERT_GE(ico.size(), 6 + 2 * 16);
    // wrestool rebuilds the icon file from the icon group and its images, padded with zeros.
    const QByteArray rebuilt = output("wrestool", {"-x", "-t", "14", "-n", "1", program});
    EXPECT_EQ(rebuilt.left(ico.size()), ico);
    EXPECT_EQ(rebuilt.mid(ico.size()).count('\0'), rebuilt.size() - ico.size());
    // Its images are resources 30001 (32 x 32) and 30002 (16 x 16), in the file's order.
    EXPECT_EQ(ico.at(6), 32);
    EXPECT_EQ(resource(3, 30001) + resource(3, 30002), ico.mid(6 + 2 * 16));
}

TEST_P(WindowsProgramFile, HasTheVersionRecord) {
    const QByteArray record = resource(16, 1);
    const qsizetype fixed = record.indexOf(QByteArray::fromHex("bd04effe"));
    ASSERT_GE(fixed, 0);
    // File and product version 1.0.0.0: the high word of each first pair is the major number.
    EXPECT_EQ(record.mid(fixed + 8, 16).toHex(), "00000100000000000000010000000000");
    // The string table in UTF-16: each key, its NUL, padding to four bytes, the value, its NUL.
    const QString strings =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(record.constData()), record.size() / 2)
            .replace(QRegularExpression("\\x{0}+"), "|");
    for (const char* pair : {"FileVersion|1.00|", "ProductVersion|1.00|", "ProductName|Project1|"})
        EXPECT_TRUE(strings.contains(pair)) << pair;
}

TEST_P(WindowsProgramFile, CarriesTheLinuxBuildsDefinitionBlock) {
    const QByteArray block = contentsOf(ZANTHERA_DEFINITION_BLOCK), file = contentsOf(program);
    ASSERT_GT(block.size(), 1'000'000);
    EXPECT_NE(std::search(file.begin(), file.end(),
                          std::boyer_moore_horspool_searcher(block.begin(), block.end())),
              file.end());
}

INSTANTIATE_TEST_SUITE_P(Builds, WindowsProgramFile,
                         ::testing::Values("zanthera.exe", "x64/zanthera.exe"),
                         [](const auto& param) { return param.index == 0 ? "i386" : "x86_64"; });

} // namespace
} // namespace zanthera::e2e
