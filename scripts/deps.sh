#!/usr/bin/env bash
# Installs what building and testing Morix needs on Debian, when it is missing.
set -euo pipefail

SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
root=$(cd "$(dirname "$0")/.." && pwd)
need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# Whether this kernel starts a 32-bit program: a smallest one (an i386 ELF
# whose only work is exit(0)) is tried. Kernels built without 32-bit support
# answer "Exec format error", and there 32-bit Wine is no use.
runs_i386() {
    [ "${MORIX_WINE32:-}" != no ] || return 1  # told to behave as such a machine
    local f
    mkdir -p "$root/build"; f=$(mktemp "$root/build/.i386-probe.XXXXXX")
    printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\273\000\000\000\000\315\200' > "$f"
    chmod +x "$f"
    local rc=0; "$f" 2>/dev/null || rc=1
    rm -f "$f"; return $rc
}
wine32=()
if runs_i386; then
    # 32-bit Wine runs the 32-bit build; its packages come from the i386 architecture.
    wine32=(wine32:i386)
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        echo "deps: adding the i386 architecture for 32-bit Wine"
        $SUDO dpkg --add-architecture i386
    fi
else
    echo "deps: this machine cannot run 32-bit programs: 32-bit Wine is left out; the 32-bit build is built and its files read, not run"
fi
for p in cmake g++ make libgtest-dev libbenchmark-dev googletest \
         g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 "${wine32[@]}" xvfb xdotool imagemagick \
         fonts-ipafont-gothic fonts-noto-cjk fonts-wine locales clang-14 libclang-rt-14-dev zip unzip faketime wixl msitools; do
    have_pkg "$p" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
    echo "deps: installing ${need[*]}"
    # A mirror caught mid-sync fails one index or two; the install below
    # still finds what the other lists hold, and says so if it cannot.
    $SUDO apt-get update -qq || echo "deps: apt-get update failed; installing from the package lists there are"
    if ! DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${need[@]}" >/dev/null; then
        # When the security suite's i386 list is the one that failed, its
        # amd64 libraries are newer than any i386 twin there is, and a
        # 32-bit library must match its 64-bit twin's version exactly. Taking
        # the release's own versions for this install makes the pairs match.
        echo "deps: retrying with the release's versions preferred to the security suite's"
        codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
        pin=$(mktemp)
        printf 'Package: *\nPin: release n=%s-security\nPin-Priority: 100\n' "$codename" >"$pin"
        DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq -o Dir::Etc::Preferences="$pin" "${need[@]}" >/dev/null
        rm -f "$pin"
    fi
fi

# Wine takes the ANSI code page from the locale: ja_JP.UTF-8 gives 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    echo "deps: generating the ja_JP.UTF-8 locale"
    $SUDO sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
fi

# The loader that starts Windows programs here (scripts/wine-env.sh decides).
( . "$root/scripts/wine-env.sh"
  echo "deps: Wine starts Windows programs with $MORIX_WINE_LOADER ($([ "$MORIX_WINE32" = yes ] && echo "32-bit programs run too" || echo "64-bit only: the 32-bit tests are skipped"))" )
