#!/usr/bin/env python3
"""Plants plausible faults in the program and its build tools, one at a time, and reports which
ones the tests catch. A cut or a reshaped test must not let through a fault that was caught
before, so run this before and after changing the tests and compare the two reports.

    tools/mutation/mutate.py SOURCE BUILD [--only NAME ...] [--report FILE]

SOURCE is a checkout that may be changed (each fault is reverted before the next); BUILD is an
already configured and built tree of it. Each fault is rebuilt incrementally and the normal
test suite run with `ctest -j2 --stop-on-failure`, the end-to-end tests last; the sanitizer build,
the fuzzer and the tests of the Windows program and the package (built apart from this tree) are
left out. A fault whose build fails counts as caught by the compiler.
"""
import argparse
import pathlib
import re
import subprocess
import sys
import time

# (name, file, text as it stands, text with the fault). The text must occur exactly once.
MUTANTS = [
# Cheapest to rebuild first: the handlers, the Qt services and the POSIX platform relink a few
# programs; the window's data and the picture encoders redraw the artwork; the artwork itself
# rewrites the stored definition too.
    ("month-from-day-field", "Project1/panel/Panel.cpp",
     "services.monthNameOf(now.date)", "services.monthNameOf({now.date.year, now.date.day, 1})"),
    ("minutes-rounding", "Project1/panel/Panel.cpp",
     "/ 10000.0 / 6.0;", "/ 10000.0 / 6.0 - 0.5;"),
    ("resolution-refusal-weakened", "Project1/actions/Queries.cpp",
     "if (screen.width <= 0 || screen.height <= 0)", "if (screen.width < 0 || screen.height <= 0)"),
    ("resolution-sides-swapped", "Project1/actions/Queries.cpp",
     'std::to_string(screen.width) + " * " + std::to_string(screen.height)',
     'std::to_string(screen.height) + " * " + std::to_string(screen.width)'),
    ("handlers-swapped", "Project1/app/EventTable.cpp",
     '{"Command4", Click, &Command4_Click},\n    {"Command13", Click, &Command13_Click},',
     '{"Command4", Click, &Command13_Click},\n    {"Command13", Click, &Command4_Click},'),
    ("weekday-from-monday", "Project1/platform/qt/DesktopServices.cpp",
     "isoDay <= 0 ? 0 : isoDay % 7 + 1", "isoDay <= 0 ? 0 : isoDay"),
    ("starter-keeps-descriptors", "Project1/platform/posix/ChildProcess.cpp",
     "        ::posix_spawn_file_actions_addclosefrom_np(&actions_, 3);\n", "\n"),
    ("starter-no-reaping", "Project1/platform/posix/ChildProcess.cpp",
     "        ::waitpid(child, nullptr, WNOHANG);\n", "\n"),
    ("starter-no-session", "Project1/platform/posix/ChildProcess.cpp",
     "options.newSession ? POSIX_SPAWN_SETSID : POSIX_SPAWN_SETPGROUP;", "POSIX_SPAWN_SETPGROUP;"),
    ("starter-keeps-signal-mask", "Project1/platform/posix/ChildProcess.cpp",
     "POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | group;", "POSIX_SPAWN_SETSIGDEF | group;"),
    ("timeout-kills-only-the-child", "Project1/platform/posix/ProgramOutput.cpp",
     "        ::kill(-running.pid, SIGKILL);\n", "\n"),
    ("applet-number-refusal-removed", "Project1/platform/posix/LaunchTarget.cpp",
     "    if (fields[1].front() != '@') {\n        return std::nullopt;\n    }\n",
     "    if (fields[1].front() != '@') {\n        return 0;\n    }\n"),
    ("gnome-two-words-from-47", "Project1/platform/posix/SettingsPages.cpp",
     "*desktop.gnomeVersion >= 46", "*desktop.gnomeVersion > 46"),
    ("ntfs-serial-wrong-half", "Project1/platform/posix/VolumeSerial.cpp",
     "return asSigned(hexValue(uuid.substr(8)));", "return asSigned(hexValue(uuid.substr(0, 8)));"),
    ("user-name-from-the-computer-name", "Project1/actions/Queries.cpp",
     "writeName(services.userName(), userNameUnread", "writeName(services.computerName(), userNameUnread"),
    ("applet-rows-swapped", "Project1/actions/AppletCommands.h",
     'main.cpl @1"},\n    {"Command7",  "rundll32.exe shell32.dll,Control_RunDLL main.cpl @0"',
     'main.cpl @0"},\n    {"Command7",  "rundll32.exe shell32.dll,Control_RunDLL main.cpl @1"'),
    ("applet-line-character", "Project1/actions/AppletCommands.h",
     "Control_RunDLL desk.cpl,,0", "Control_RunDLL desk.cpl,,1"),
    ("listing-colour-order", "tools/formdef/Listing.cpp",
     'unsigned(c.red()), unsigned(c.green()), unsigned(c.blue())',
     'unsigned(c.blue()), unsigned(c.green()), unsigned(c.red())'),
    ("reader-bound-off-by-one", "Project1/Form1/DefinitionBytes.h",
     "if (!failed() && count <= remaining())", "if (!failed() && count <= remaining() + 1)"),
    ("writer-u16-byte-order", "Project1/Form1/LittleEndian.h",
     "    b[at] = static_cast<std::uint8_t>(v);\n    b[at + 1] = static_cast<std::uint8_t>(v >> 8);",
     "    b[at] = static_cast<std::uint8_t>(v >> 8);\n    b[at + 1] = static_cast<std::uint8_t>(v);"),
    ("writer-always-stored-ignored", "Project1/Form1/DefinitionWriter.cpp",
     "(!rule.alwaysStored && atDefault(model, rule.setting))", "atDefault(model, rule.setting)"),
    ("writer-empty-window-opens-list", "Project1/Form1/DefinitionWriter.cpp",
     "    if (!model.controls.empty())\n        out.u8(markerOpen);", "    out.u8(markerOpen);"),
    ("writer-control-limit-off-by-one", "Project1/Form1/DefinitionWriter.cpp",
     "if (model.controls.size() > maxControls)", "if (model.controls.size() >= maxControls)"),
    ("reader-control-limit-off-by-one", "Project1/Form1/DefinitionReader.cpp",
     "if (out.records.size() > maxControls)", "if (out.records.size() >= maxControls)"),
    ("reader-name-limit-off-by-one", "Project1/Form1/DefinitionReader.cpp",
     "if (nameLength > maxNameBytes)", "if (nameLength >= maxNameBytes)"),
    ("reader-text-limit-off-by-one", "Project1/Form1/DefinitionValues.cpp",
     "if (length > maxTextBytes)", "if (length >= maxTextBytes)"),
    ("name-limit-off-by-one", "Project1/Form1/ValueRules.cpp",
     "name.size() > maxNameBytes", "name.size() >= maxNameBytes"),
    ("text-limit-off-by-one", "Project1/Form1/ValueRules.cpp",
     "if (text.size() > maxTextBytes)", "if (text.size() >= maxTextBytes)"),
    ("font-name-limit-off-by-one", "Project1/Form1/ValueRules.cpp",
     "f.name.size() > maxFontNameBytes", "f.name.size() >= maxFontNameBytes"),
    ("font-weight-limit-off-by-one", "Project1/Form1/ValueRules.cpp",
     "f.weight > heaviestFont", "f.weight >= heaviestFont"),
    ("system-colour-limit-off-by-one", "Project1/Form1/ValueRules.cpp",
     "> lastSystemColour", ">= lastSystemColour"),
    ("choice-limit-off-by-one", "Project1/Form1/ValueRules.cpp",
     "if (v > rule.maxChoice)", "if (v >= rule.maxChoice)"),
    ("picture-side-limit-off-by-one", "Project1/Form1/ImageLayout.cpp",
     "std::abs(s.height) > maxPictureSide", "std::abs(s.height) >= maxPictureSide"),
    ("icon-count-limit-off-by-one", "Project1/Form1/ImageLayout.cpp",
     "count > maxIconImages)", "count >= maxIconImages)"),
    ("code-page-rows-swapped", "Project1/Form1/CodePage1256.cpp",
     "0x0637, 0x0638, 0x0639", "0x0638, 0x0637, 0x0639"),
    ("font-name-refusal-weakened", "Project1/Form1/ValueRules.cpp",
     "return c >= 0x20 && c < 0x7F;", "return c >= 0x20 && c <= 0x7F;"),
    ("opcode-repeat-accepted", "Project1/Form1/DefinitionReader.cpp",
     "if (opcode <= previous)", "if (opcode < previous)"),
    ("icon-count-refusal-removed", "Project1/Form1/ImageLayout.cpp",
     "if (count == 0 || count > maxIconImages)", "if (count == 0)"),
    ("twips-rounding", "Project1/Form1/Units.h",
     "std::lround(twips * logicalDpi / twipsPerInch)", "int(twips * logicalDpi / twipsPerInch)"),
    ("bitmap-red-blue-swapped", "tools/art/ImageEncoders.cpp",
     "            out.u8(std::uint8_t(rgb));\n            out.u8(std::uint8_t(rgb >> 8));\n"
     "            out.u8(std::uint8_t(rgb >> 16));\n            if (depth",
     "            out.u8(std::uint8_t(rgb >> 16));\n            out.u8(std::uint8_t(rgb >> 8));\n"
     "            out.u8(std::uint8_t(rgb));\n            if (depth"),
    ("palette-colours-swapped", "tools/art/ImageEncoders.cpp",
     "0x000000, 0x800000, 0x008000,", "0x000000, 0x008000, 0x800000,"),
    ("highlight-colour", "tools/art/ArtTable.h",
     "buttonHighlight = 0xEFF6FE;", "buttonHighlight = 0xEFF6FF;"),
    ("key-shadow-colour", "tools/art/KeyIcon.cpp",
     "constexpr std::uint32_t darkGrey = 0x808080;", "constexpr std::uint32_t darkGrey = 0x800000;"),
    ("picture-centring", "tools/art/Artwork.cpp",
     "const int sideX = (cutX + 1) / 2;", "const int sideX = cutX / 2;"),
]


def run(command, cwd=None, log=None):
    result = subprocess.run(command, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            text=True, errors="replace")
    if log is not None:
        log.write(f"$ {' '.join(command)}\n{result.stdout}\n")
    return result


def failed_tests(output):
    names = re.findall(r"^\s*\d+ - (\S+) \(", output, re.MULTILINE)
    return names[:3]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("source", type=pathlib.Path)
    parser.add_argument("build", type=pathlib.Path)
    parser.add_argument("--only", nargs="*")
    parser.add_argument("--report", type=pathlib.Path)
    parser.add_argument("--targets", nargs="*", default=[],
                        help="build only these targets (the test programs), not everything")
    args = parser.parse_args()
    chosen = [m for m in MUTANTS if not args.only or m[0] in args.only]
    log = open(args.build / "mutation.log", "w")
    lines = []
    caught = 0
    for name, path, old, new in chosen:
        file = args.source / path
        original = file.read_text()
        if original.count(old) != 1:
            line = f"{name}: STALE (the text occurs {original.count(old)} times in {path})"
        else:
            started = time.monotonic()
            file.write_text(original.replace(old, new))
            try:
                targets = ["--target", *args.targets] if args.targets else []
                build = run(["cmake", "--build", str(args.build), "-j2", *targets], log=log)
                if build.returncode != 0:
                    verdict, detail = "caught", "build fails"
                else:
                    # The quick tests first; the end-to-end ones only for a fault they missed.
                    for selection in (["-LE", "e2e|wine|windows|package"], ["-L", "e2e"]):
                        test = run(["ctest", "--test-dir", str(args.build), "-j2",
                                    "--stop-on-failure", "--timeout", "180"] + selection, log=log)
                        if test.returncode != 0:
                            break
                    verdict = "caught" if test.returncode != 0 else "MISSED"
                    detail = " ".join(failed_tests(test.stdout))
            finally:
                file.write_text(original)
            caught += verdict == "caught"
            line = f"{name}: {verdict} {detail} ({time.monotonic() - started:.0f} s)"
        print(line, flush=True)
        lines.append(line)
    summary = f"{caught} of {len(chosen)} faults caught"
    print(summary)
    # Leaves the build matching the unchanged sources again.
    run(["cmake", "--build", str(args.build), "-j2"], log=log)
    if args.report:
        args.report.write_text("\n".join(lines + [summary]) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
