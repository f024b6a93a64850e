#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks the tree as a desktop would use
# it: the entry and the metainfo validate, the man pages render, the icon sizes are
# there, and the installed programs run and find their help pages relative to themselves.
# usage: check_install.sh BUILD_DIR
set -u
build=${1:?usage: check_install.sh BUILD_DIR}
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
fail=0
check() { if ! "$@"; then echo "FAILED: $*"; fail=1; fi; }

DESTDIR="$dest" cmake --install "$build" --prefix /usr > /dev/null || { echo "FAILED: cmake --install"; exit 1; }
root="$dest/usr"
for f in bin/haruvi bin/haruvi-tool share/haruvi/help/index.html share/haruvi/screenshot.png \
         share/applications/app.haruvi.Haruvi.desktop share/metainfo/app.haruvi.Haruvi.metainfo.xml \
         share/man/man1/haruvi.1 share/man/man1/haruvi-tool.1 share/bash-completion/completions/haruvi-tool \
         share/icons/hicolor/scalable/apps/haruvi.svg; do
  check test -e "$root/$f"
done
# The stand-in archiver libraries, each exporting its prefix's functions.
for lib in unlha32:Unlha unzip32:UnZip zip32j:Zip cab32:Cab tar32:Tar unrar32:Unrar unarj32j:Unarj; do
  so="$root/lib/haruvi/archivers/${lib%%:*}.so"
  check test -e "$so"
  check grep -q "${lib#*:}FindFirst" "$so"
done
for size in 16 22 24 32 48 64 128 256; do check test -s "$root/share/icons/hicolor/${size}x${size}/apps/haruvi.png"; done
check desktop-file-validate "$root/share/applications/app.haruvi.Haruvi.desktop"
check appstreamcli validate --no-net "$root/share/metainfo/app.haruvi.Haruvi.metainfo.xml"
for page in haruvi haruvi-tool; do
  out=$(MANWIDTH=80 man -l "$root/share/man/man1/$page.1" 2>&1)
  check grep -q "^NAME" <<< "$out"
  check grep -q "$page" <<< "$out"
done
check grep -q "dirstat" <<< "$(MANWIDTH=80 man -l "$root/share/man/man1/haruvi-tool.1" 2>&1)"
# Every subcommand of the tool has its place in the page and an example.
for cmd in $("$root/bin/haruvi-tool" --help | awk '/^commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }'); do
  check grep -q "haruvi-tool $cmd" "$root/share/man/man1/haruvi-tool.1"
done
check grep -q "^haruvi-tool " <<< "$("$root/bin/haruvi-tool" --version)"
# The commands of the tool's module (text, archive) run from the installed tree too.
check test -e "$root/lib/haruvi/haruvi-tool-text.so"
check test -e "$root/lib/haruvi/haruvi-tool-archive.so"
check grep -q "sort-asc" <<< "$("$root/bin/haruvi-tool" text list)"
check grep -qx "archive" <<< "$("$root/bin/haruvi-tool" --help | awk '/^commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }')"
check grep -q "help pages: $root/share/haruvi/help/index.html" <<< "$(ASAN_OPTIONS=detect_leaks=0 "$root/bin/haruvi" --help)"
# Every page the usage names is installed, the pages made from the menus among them.
for page in $(ASAN_OPTIONS=detect_leaks=0 "$root/bin/haruvi" --help | awk '/^  \// { print $1 }'); do
  check test -s "$page"
done
check test -s "$root/share/haruvi/help/commands.html"
shot=$(mktemp -d)
check env QT_QPA_PLATFORM=offscreen HARUVI_INI="$shot/h.ini" ASAN_OPTIONS=detect_leaks=0 \
  "$root/bin/haruvi" --screenshot "$shot/s.png" "$root/share/haruvi/help/index.html"
check test -s "$shot/s.png"
rm -rf "$shot"
bash -n "$root/share/bash-completion/completions/haruvi-tool" || { echo "FAILED: completion syntax"; fail=1; }
[ $fail -eq 0 ] && echo "installed tree: all checks passed"
exit $fail
