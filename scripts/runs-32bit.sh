#!/usr/bin/env bash
# Succeeds when this machine's kernel itself runs 32-bit x86 programs, by running one: a few bytes
# that only exit, assembled here. It fails where the kernel lacks 32-bit support, and where a
# user-mode emulator is registered for such programs, which would run them instead, a hundred
# times slower.
set -euo pipefail
emulator=/proc/sys/fs/binfmt_misc/qemu-i386
[[ -r $emulator ]] && grep -qx enabled "$emulator" && exit 1
tiny=$(mktemp -d)
trap 'rm -rf "$tiny"' EXIT
printf '.globl _start\n_start:\n  movl $1, %%eax\n  movl $0, %%ebx\n  int $0x80\n' >"$tiny/exit.s"
as --32 -o "$tiny/exit.o" "$tiny/exit.s" 2>/dev/null && ld -m elf_i386 -o "$tiny/exit" "$tiny/exit.o" 2>/dev/null || exit 1
"$tiny/exit" 2>/dev/null
