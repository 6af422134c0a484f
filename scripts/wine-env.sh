# Sourced: the private Wine environment of this build tree. Nothing is written
# under the real home; the prefix lives in build/wine.
MORIX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export MORIX_WINE_DIR="${MORIX_WINE_DIR:-$MORIX_ROOT/build/wine}"
# The Japanese font the system's faces fall to: IPA P Gothic (ipa, the
# default), or Noto Sans CJK JP (noto), the font most Linux desktops give and
# whose kana are wider; each in a prefix of its own.
export MORIX_WINE_FONTS="${MORIX_WINE_FONTS:-ipa}"
case $MORIX_WINE_FONTS in
    ipa) export WINEPREFIX="$MORIX_WINE_DIR/prefix" ;;
    noto) export WINEPREFIX="$MORIX_WINE_DIR/prefix-noto" ;;
    *) echo "wine-env: MORIX_WINE_FONTS is ipa or noto, not \"$MORIX_WINE_FONTS\"" >&2; return 1 ;;
esac
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export HOME="$MORIX_WINE_DIR/home"
export XDG_DATA_HOME="$MORIX_WINE_DIR/home/.local/share"
export XDG_CONFIG_HOME="$MORIX_WINE_DIR/home/.config"
export XDG_CACHE_HOME="$MORIX_WINE_DIR/home/.cache"
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"

# Which loader starts Windows programs, decided once and inherited by every
# script, test and benchmark started from here. Debian's `wine` prefers the
# 32-bit loader whenever wine32:i386 is installed, and a kernel built
# without 32-bit support cannot start it ("Exec format error"): there the
# 64-bit loader runs everything 64-bit, and the 32-bit programs cannot run
# at all. The 32-bit loader is tried, not guessed from the architectures.
# MORIX_WINE32=no set beforehand makes a machine that can behave as one
# that cannot (to see that path run).
morix_wine_choose_loader() {
    local loader32="" loader64=""
    if [ -x /usr/lib/wine/wine ] || [ -x /usr/lib/wine/wine64 ]; then
        [ -x /usr/lib/wine/wine ] && loader32=/usr/lib/wine/wine
        [ -x /usr/lib/wine/wine64 ] && loader64=/usr/lib/wine/wine64
    else  # another distribution's Wine: its own commands
        loader32=$(command -v wine 2>/dev/null || true)
        loader64=$(command -v wine64 2>/dev/null || true)
    fi
    if [ "${MORIX_WINE32:-}" != no ] && [ -n "$loader32" ] && "$loader32" --version >/dev/null 2>&1; then
        MORIX_WINE32=yes MORIX_WINE_LOADER=$loader32
    else
        MORIX_WINE32=no MORIX_WINE_LOADER=${loader64:-$loader32}
    fi
}
if [ -z "${MORIX_WINE_LOADER:-}" ] || [ -z "${MORIX_WINE32:-}" ]; then
    morix_wine_choose_loader
fi
export MORIX_WINE32 MORIX_WINE_LOADER
# A 64-bit loader names itself to the processes it starts, as Debian's
# script does when it falls back to it.
[ "$MORIX_WINE32" = yes ] || export WINELOADER="$MORIX_WINE_LOADER"

# `wine` on the PATH is the chosen loader, for the scripts and for Debian's
# tool commands (wineboot, winepath, msiexec, winecfg), which start
# `wine-stable` by its name.
morix_wine_bin="$MORIX_WINE_DIR/bin"
mkdir -p "$morix_wine_bin"
for morix_shim in wine wine-stable; do
    if [ "$(cat "$morix_wine_bin/$morix_shim" 2>/dev/null)" != "$(printf '#!/bin/sh\nexec "%s" "$@"' "$MORIX_WINE_LOADER")" ]; then
        printf '#!/bin/sh\nexec "%s" "$@"\n' "$MORIX_WINE_LOADER" > "$morix_wine_bin/$morix_shim.$$"
        chmod +x "$morix_wine_bin/$morix_shim.$$"
        mv -f "$morix_wine_bin/$morix_shim.$$" "$morix_wine_bin/$morix_shim"
    fi
done
unset morix_shim
case ":$PATH:" in *":$morix_wine_bin:"*) ;; *) export PATH="$morix_wine_bin:$PATH" ;; esac

# The machine a Windows program is built for: i386, x86_64 or unknown.
morix_pe_machine() {
    local at
    at=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
    [ -n "$at" ] || { echo unknown; return; }
    case $(od -An -t x2 -j $((at + 4)) -N 2 "$1" 2>/dev/null | tr -d ' ') in
        014c) echo i386 ;;
        8664) echo x86_64 ;;
        *) echo unknown ;;
    esac
}
# Whether the chosen loader can start this program; when it cannot, says why.
MORIX_NO32_REASON="this machine cannot run 32-bit programs"
morix_wine_can_run() {
    [ "$MORIX_WINE32" = yes ] && return 0
    [ "$(morix_pe_machine "$1")" = i386 ] || return 0
    echo "skipped: $MORIX_NO32_REASON ($(basename "$1") is a 32-bit program)"
    return 1
}

# Creates the prefix once: Wine draws its own frames and moves the keyboard
# to the window it activates (there is no window manager on Xvfb to do
# either), and the prefix is ready before the first test starts.
morix_wine_prefix() {
    # A prefix made before 32-bit Wine was installed cannot run 32-bit (nor,
    # once it is installed, 64-bit) programs: it is made anew. The mark
    # records which Wine made it.
    local wine32=no
    dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' && wine32=yes
    # The loader that made it too: one made by the 32-bit loader is made
    # anew when only the 64-bit one can run, and the other way round.
    local mark="wine32=$wine32 loader=$(basename "$MORIX_WINE_LOADER") fonts=$MORIX_WINE_FONTS,marlett x11=unmanaged"
    if [ -f "$WINEPREFIX/.morix-ready" ] && ! grep -qx "$mark" "$WINEPREFIX/.morix-ready"; then
        wineserver -k 2>/dev/null || true
        rm -rf "$WINEPREFIX"
    fi
    if [ ! -f "$WINEPREFIX/.morix-ready" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 || true
        # Managed windows leave the X keyboard focus to a window manager;
        # with none on Xvfb it follows the pointer, and keys typed into a
        # window just activated (a dialog opened from the clock's menu) reach
        # whatever lies under the pointer. Unmanaged, Wine's windows take the
        # X focus when activated, as on a desktop.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
        # The Japanese system fonts as a Japanese Windows has them: the
        # dialogs' font and ＭＳ Ｐゴシック proportional, ＭＳ ゴシック fixed.
        local face proportional=IPAPGothic fixed=IPAGothic
        [ "$MORIX_WINE_FONTS" = noto ] && proportional="Noto Sans CJK JP" fixed="Noto Sans Mono CJK JP"
        for face in "MS Shell Dlg" "MS Shell Dlg 2" "MS UI Gothic" "ＭＳ Ｐゴシック" "MS PGothic"; do
            wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d "$proportional" /f >/dev/null 2>&1 || true
        done
        for face in "ＭＳ ゴシック" "MS Gothic"; do
            wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d "$fixed" /f >/dev/null 2>&1 || true
        done
        # The caption buttons (the close box's cross) are glyphs of Wine's own
        # Marlett font. Debian's Wine looks for its fonts in
        # "<data dir>\../fonts", a path it cannot open, so without a copy in
        # the prefix's font folder, which it always reads, a text font stands
        # in and the close box shows the letter "r". Only Marlett is copied:
        # the rest of that folder (Tahoma, MS Sans Serif, the bitmap system
        # fonts) would answer for faces that now fall to IPA Gothic.
        local marlett
        for marlett in "$(dirname "$(command -v wine)")/../share/wine/fonts/marlett.ttf" /usr/share/wine/fonts/marlett.ttf; do
            if [ -f "$marlett" ]; then
                mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
                cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
                break
            fi
        done
        wineserver -w 2>/dev/null || true
        echo "$mark" > "$WINEPREFIX/.morix-ready"
    fi
}
