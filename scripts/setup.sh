#!/usr/bin/env bash
# Installs the Debian 12 packages Haruvi needs to build, test and run, when missing.
# apt-get runs through sudo when not root. Usage: scripts/setup.sh [build|test|bench]
set -euo pipefail

want=(cmake ninja-build g++ pkg-config
      qt6-base-dev qt6-base-dev-tools libgl-dev
      libicu-dev libarchive-dev libgcab-dev
      fonts-noto-cjk adwaita-icon-theme libqt6svg6 shared-mime-info fontconfig qt6-translations-l10n
      librsvg2-bin)
case "${1:-build}" in
  test)  want+=(libgtest-dev libgmock-dev clang libclang-rt-14-dev)
         # Every program a test runs, from the list the tests themselves are checked against.
         while read -r program package _; do
           case "$program" in ''|'#'*) ;; *) want+=("$package") ;; esac
         done < "$(dirname "$0")/../tests/programs.txt" ;;
  bench) want+=(libgtest-dev libgmock-dev libbenchmark-dev hyperfine nkf uchardet ripgrep libarchive-tools
                xxd sharutils bsdextrautils locales python3 time libglib2.0-bin paps poppler-utils) ;;
esac

missing=()
for p in "${want[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "setup: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
