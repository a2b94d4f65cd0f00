// The Windows program files as Windows' loader and Explorer see them: the executable's kind, the
// DLLs it needs, its key icon, its version record and the window definition it carries, read
// with binutils' objdump and icoutils' wrestool.
#include "Form1/DefinitionReader.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>

namespace zanthera {
namespace {

std::vector<std::uint8_t> bytesOf(const QByteArray& data) {
    return {data.begin(), data.end()};
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

// The 32-bit program, and the x86_64 one that the tests under Wine run.
class WindowsProgramFile : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QFile::exists(exe)) << exe.toStdString() << ": run make windows first";
    }
    // A resource's bytes by type and number, in its first language; empty when absent.
    QByteArray resource(int type, int id) const {
        return output("wrestool",
                      {"-x", "--raw", "-t", QString::number(type), "-n", QString::number(id), exe});
    }
    const QString exe = ZANTHERA_WINDOWS_DIR "/" + QString::fromStdString(GetParam());
};

TEST_P(WindowsProgramFile, IsAWindowsGuiProgramForItsProcessorNeedingOnlyTheSystemsDlls) {
    const QString headers = output("objdump", {"-p", exe});
    const bool x64 = GetParam().starts_with("x64/");
    EXPECT_TRUE(headers.contains(x64 ? "file format pei-x86-64\n" : "file format pei-i386\n"));
    EXPECT_TRUE(headers.contains(x64 ? "(PE32+)" : "(PE32)"));
    // The Windows GUI subsystem: no console window.
    EXPECT_TRUE(headers.contains(QRegularExpression("\nSubsystem\\s+00000002\\s")));
    const std::set<QString> system{"kernel32.dll", "user32.dll",   "gdi32.dll",   "comctl32.dll",
                                   "shell32.dll",  "advapi32.dll", "msvcrt.dll",  "ole32.dll",
                                   "oleaut32.dll", "shlwapi.dll",  "uxtheme.dll", "comdlg32.dll",
                                   "version.dll",  "ntdll.dll",    "imm32.dll",   "winmm.dll",
                                   "shcore.dll",   "dwmapi.dll",   "oleacc.dll",  "ws2_32.dll"};
    std::set<QString> imports;
    for (const auto& match : QRegularExpression("DLL Name: (\\S+)").globalMatch(headers))
        imports.insert(match.captured(1).toLower());
    EXPECT_TRUE(imports.contains("kernel32.dll"));
    for (const auto& name : imports)
        EXPECT_TRUE(system.contains(name)) << name.toStdString() << " is not part of Windows";
}

TEST_P(WindowsProgramFile, CarriesTheWindowsKeyIconByteForByte) {
    auto model = readDefinition(bytesOf(contentsOf(ZANTHERA_DEFINITION_BLOCK)));
    ASSERT_TRUE(model) << model.error().message;
    const QByteArray ico(reinterpret_cast<const char*>(model->form.icon.data()),
                         qsizetype(model->form.icon.size()));
    ASSERT_GE(ico.size(), 6 + 2 * 16);
    // wrestool rebuilds the icon file from the icon group and its images, padded with zeros.
    const QByteArray rebuilt = output("wrestool", {"-x", "-t", "14", "-n", "1", exe});
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
    const QByteArray block = contentsOf(ZANTHERA_DEFINITION_BLOCK), file = contentsOf(exe);
    ASSERT_GT(block.size(), 1'000'000);
    EXPECT_NE(std::search(file.begin(), file.end(),
                          std::boyer_moore_horspool_searcher(block.begin(), block.end())),
              file.end());
}

INSTANTIATE_TEST_SUITE_P(Builds, WindowsProgramFile,
                         ::testing::Values("zanthera.exe", "x64/zanthera.exe"),
                         [](const auto& param) { return param.index == 0 ? "i386" : "x86_64"; });

} // namespace
} // namespace zanthera
