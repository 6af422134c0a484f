# Sourced: the private Wine environment of this build tree. Nothing is written
# under the real home; the prefix lives in build/wine.
MORIX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export MORIX_WINE_DIR="${MORIX_WINE_DIR:-$MORIX_ROOT/build/wine}"
export WINEPREFIX="$MORIX_WINE_DIR/prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export HOME="$MORIX_WINE_DIR/home"
export XDG_DATA_HOME="$MORIX_WINE_DIR/home/.local/share"
export XDG_CONFIG_HOME="$MORIX_WINE_DIR/home/.config"
export XDG_CACHE_HOME="$MORIX_WINE_DIR/home/.cache"
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"

# Creates the prefix once: Wine draws its own frames and moves the keyboard
# to the window it activates (there is no window manager on Xvfb to do
# either), and the prefix is ready before the first test starts.
morix_wine_prefix() {
    # A prefix made before 32-bit Wine was installed cannot run 32-bit (nor,
    # once it is installed, 64-bit) programs: it is made anew. The mark
    # records which Wine made it.
    local wine32=no
    dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' && wine32=yes
    local mark="wine32=$wine32 fonts=ipa,marlett x11=unmanaged"
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
        local face
        for face in "MS Shell Dlg" "MS Shell Dlg 2" "MS UI Gothic" "ＭＳ Ｐゴシック" "MS PGothic"; do
            wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1 || true
        done
        for face in "ＭＳ ゴシック" "MS Gothic"; do
            wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d IPAGothic /f >/dev/null 2>&1 || true
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
