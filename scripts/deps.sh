#!/usr/bin/env bash
# Installs what building and testing Morix needs on Debian, when it is missing.
set -euo pipefail

SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
# 32-bit Wine runs the 32-bit build; its packages come from the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "deps: adding the i386 architecture for 32-bit Wine"
    $SUDO dpkg --add-architecture i386
fi
for p in cmake g++ make libgtest-dev libbenchmark-dev googletest \
         g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 wine32:i386 xvfb xdotool imagemagick \
         fonts-ipafont-gothic fonts-wine locales clang-14 libclang-rt-14-dev zip unzip faketime wixl msitools; do
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
